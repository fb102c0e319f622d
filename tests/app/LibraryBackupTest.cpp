// Backing up the library and restoring it from a backup.
#include "app/LibraryBackup.h"
#include "TestSupport.h"
#include "app/MainHostWindow.h"
#include "data/CppSQLite3DB.h"
#include "data/DbSchema.h"
#include "data/VmDatabase.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
// The library's own tables; the undo stacks are emptied whenever a file opens.
const juce::StringArray libraryTables = {"AudioFiles", "GlimraCues",   "LightShows",
                                         "MidiEvents", "MidiMessages", "SetElements",
                                         "Sets",       "ShowMemos",    "Things"};

juce::String libraryDump()
{
    return dumpDatabase(libraryTables);
}

void makeDbFile(const juce::File& file, const juce::String& sql)
{
    CppSQLite3DB raw;
    raw.open(file.getFullPathName().toRawUTF8());
    raw.execDML(sql.toRawUTF8());
}

void writeBytes(const juce::File& file, const juce::MemoryBlock& bytes)
{
    file.deleteFile();
    file.create();
    file.appendData(bytes.getData(), bytes.getSize());
}

juce::StringArray namesIn(const juce::File& folder)
{
    juce::StringArray names;
    for (auto& f : folder.findChildFiles(juce::File::findFilesAndDirectories, false))
        names.add(f.getFileName());
    names.sort(false);
    return names;
}

class LibraryBackupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MainHostWindow::doDbOpen(library));
        for (auto* sql : {
                 "INSERT INTO AudioFiles(Name,Path,Note,LengthSecs) VALUES('Intro',"
                 "'Album/Intro.wav','O''Brien''s cue, Ünïcode',183.25)",
                 "INSERT INTO LightShows(Name,AudioFileID,Tempo,TrimStart) "
                 "VALUES('Main',1,96.5,1.5)",
                 "INSERT INTO GlimraCues(LightShowID,CueTime,CueDuration,BankName,PresetName) "
                 "VALUES(1,12.5,3,'Bank A','Blue wash')",
                 "INSERT INTO MidiEvents(Name,Category) VALUES('Patch 5','Keys')",
                 "INSERT INTO MidiMessages(MidiEventID,OutDevice,Channel,Data1) "
                 "VALUES(1,'Synth',2,5)",
                 "INSERT INTO ShowMemos(LightShowID,ShortName,Memo,MemoTime,StartMidiEventID) "
                 "VALUES(1,'Verse','First line',10.0,1)",
                 "INSERT INTO Sets(Name,Folder) VALUES('Summer tour','2026')",
                 "INSERT INTO SetElements(SetID,LightShowID,PlayOrder,AutoStart) VALUES(1,1,1,1)",
             })
            db->execQuery(sql);
    }
    void TearDown() override { db->closeDb(); }

    // Edits that touch every kind of change: a new track, a moved cue, a chunk gone.
    void editLibrary()
    {
        db->execQuery("INSERT INTO AudioFiles(Name,Path) VALUES('Encore','Album/Encore.wav')");
        db->execQuery("UPDATE GlimraCues SET CueTime=20.75");
        db->execQuery("DELETE FROM MidiEvents");
    }

    // The library tables of a database file, read from a copy so that the file
    // itself is not touched. Leaves the store closed.
    juce::String dumpOf(const juce::File& file)
    {
        auto peek = tmp.get().getSiblingFile(tmp.get().getFileName() + "-peek.db");
        db->closeDb();
        file.copyFileTo(peek);
        juce::String dump = MainHostWindow::doDbOpen(peek) ? libraryDump() : "(cannot open)";
        db->closeDb();
        peek.deleteFile();
        return dump;
    }

    // A version-2 library as an older release left it.
    void makeOldBackup(const juce::File& file)
    {
        makeDbFile(file, juce::String(dbSchemaScript) +
                             "ALTER TABLE LightShows DROP COLUMN TrimStart;"
                             "ALTER TABLE LightShows DROP COLUMN TrimEnd;"
                             "UPDATE Things SET Value='2';"
                             "INSERT INTO AudioFiles(Name,Path) VALUES('Old song','Old/Song.wav');"
                             "INSERT INTO LightShows(Name,AudioFileID) VALUES('Old show',1);");
    }

    VmDatabase* db = VmDatabase::getInstance();
    TempFolder tmp;
    juce::File library = tmp.file("Velmora.db");
    juce::File kept = tmp.file("Velmora.db.before-restore");
};
} // namespace

TEST_F(LibraryBackupTest, BackupThenRestoreBringsTheLibraryBackAndKeepsTheReplacedOne)
{
    auto backup = tmp.file("My backup.db");
    ScopedDialogs dialogs;
    dialogs.recorder.pushAnswer({0, {}, backup});
    ASSERT_TRUE(LibraryBackup::doBackup());
    const auto atBackup = libraryDump();

    ASSERT_EQ(dialogs.titles(), juce::StringArray({"Backup database", "Backup saved"}));
    auto& chooser = dialogs.requests()[0];
    EXPECT_EQ(chooser.kind, DialogKind::saveFile);
    EXPECT_EQ(chooser.filePatterns, "*.db");
    EXPECT_EQ(chooser.initialFile.getFileName(),
              "Velmora backup " + juce::Time::getCurrentTime().formatted("%Y-%m-%d") + ".db");
    EXPECT_EQ(chooser.initialFile.getParentDirectory(),
              juce::File::getSpecialLocation(juce::File::userDocumentsDirectory));
    EXPECT_EQ(dialogs.requests()[1].icon, DialogIcon::info);
    EXPECT_TRUE(dialogs.requests()[1].text.contains(backup.getFullPathName()));

    editLibrary();
    const auto edited = libraryDump();
    ASSERT_NE(edited, atBackup);
    const auto backupBytes = fileBytes(backup);

    dialogs.recorder.requests.clear();
    dialogs.recorder.pushAnswer({0, {}, backup});
    dialogs.recorder.pushButton(0); // "Replace Library"
    ASSERT_TRUE(LibraryBackup::doRestore(library));
    ASSERT_EQ(dialogs.titles(), juce::StringArray({"Restore from backup", "Replace your library?",
                                                   "Library restored"}));
    EXPECT_EQ(dialogs.requests()[0].kind, DialogKind::openFile);
    EXPECT_EQ(dialogs.requests()[0].filePatterns, "*.db;*.backup");
    auto& question = dialogs.requests()[1];
    EXPECT_EQ(question.icon, DialogIcon::warning);
    EXPECT_EQ(question.buttons, juce::StringArray({"Replace Library", "Cancel"}));
    for (auto& f : {library, backup, kept})
        EXPECT_TRUE(question.text.contains(f.getFullPathName())) << f.getFullPathName();

    EXPECT_EQ(libraryDump(), atBackup);
    EXPECT_TRUE(fileBytes(backup) == backupBytes);

    // Ready for use: foreign keys cascade, and the edit can be undone.
    EXPECT_EQ(db->execQuery("PRAGMA foreign_keys").getIntField(0), 1);
    db->startTransaction("Delete Track");
    db->execQuery("DELETE FROM AudioFiles");
    db->endTransaction();
    EXPECT_EQ(db->execQuery("SELECT COUNT(*) FROM GlimraCues").getIntField(0), 0);
    EXPECT_TRUE(db->undo());
    EXPECT_EQ(libraryDump(), atBackup);

    EXPECT_EQ(namesIn(tmp.get()),
              juce::StringArray({"My backup.db", "Velmora.db", "Velmora.db.before-restore"}));
    EXPECT_EQ(dumpOf(kept), edited);
}

TEST_F(LibraryBackupTest, ABackupIsTheCommittedLibraryWhileItIsInUse)
{
    db->execQuery("INSERT INTO AudioFiles(Name,Path) VALUES('Just added','b.wav')");
    const auto committed = libraryDump();

    // Another connection halfway through a write, and a read of our own still open.
    CppSQLite3DB other;
    other.open(library.getFullPathName().toRawUTF8());
    other.execDML("BEGIN IMMEDIATE; INSERT INTO Sets(Name) VALUES('Half written');"
                  "UPDATE AudioFiles SET Name='Renamed';");
    auto reading = db->execQuery("SELECT Name FROM AudioFiles");
    ASSERT_FALSE(reading.eof());

    auto backup = tmp.file("backup.db");
    backup.replaceWithText("an older file of that name");
    EXPECT_TRUE(db->backupTo(backup));
    reading.finalize();
    other.execDML("COMMIT");
    other.close();

    EXPECT_EQ(namesIn(tmp.get()), juce::StringArray({"Velmora.db", "backup.db"}));
    EXPECT_EQ(dumpOf(backup), committed);
}

TEST_F(LibraryBackupTest, FilesThatCannotBeRestoredAreRefusedAndNothingChanges)
{
    // A real backup, cut in half as a copy that did not finish would leave it.
    db->execQuery("BEGIN");
    for (int i = 0; i < 300; ++i)
        db->execQuery("INSERT INTO AudioFiles(Name,Path,Note) VALUES('Song " + juce::String(i) +
                      "','x.wav','" + juce::String::repeatedString("n", 300) + "')");
    db->execQuery("COMMIT");
    auto full = tmp.file("full.db");
    ASSERT_TRUE(db->backupTo(full));
    auto fullBytes = fileBytes(full);
    full.deleteFile();

    auto candidate = tmp.file("candidate.db");
    auto velmoraFile = [&](const juce::String& extra)
    {
        return [&, extra]
        {
            candidate.deleteFile();
            makeDbFile(candidate, juce::String(dbSchemaScript) + extra);
        };
    };
    auto bytesFile = [&](juce::MemoryBlock bytes)
    { return [&, bytes] { writeBytes(candidate, bytes); }; };

    const char* notOurs = "This file is not a Velmora database";
    struct Case
    {
        const char* name;
        std::function<void()> make;
        const char* reason;
    } cases[] = {
        {"a text file", bytesFile(juce::MemoryBlock("Setlist for Friday: Intro, Encore\n", 34)),
         notOurs},
        {"an empty file", bytesFile({}), notOurs},
        {"another program's database",
         [&]
         {
             candidate.deleteFile();
             makeDbFile(candidate, "CREATE TABLE Notes (Text varchar(50));");
         },
         notOurs},
        {"a truncated backup",
         bytesFile(juce::MemoryBlock(fullBytes.getData(), fullBytes.getSize() / 2)),
         "This file is damaged or incomplete"},
        {"two version rows",
         velmoraFile("INSERT INTO Things(Name,Value) VALUES('SchemaVersion','3');"), notOurs},
        {"a version that is no number", velmoraFile("UPDATE Things SET Value='three';"), notOurs},
        {"a version row but no tracks", velmoraFile("DROP TABLE AudioFiles;"), notOurs},
        {"made by a newer release", velmoraFile("UPDATE Things SET Value='4';"),
         "This backup was made by a newer release of Velmora"},
    };

    const auto before = libraryDump();
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        c.make();
        const auto candidateBytes = fileBytes(candidate);

        ScopedDialogs dialogs;
        dialogs.recorder.pushAnswer({0, {}, candidate});
        EXPECT_FALSE(LibraryBackup::doRestore(library));
        ASSERT_EQ(dialogs.titles(),
                  juce::StringArray({"Restore from backup", "Cannot restore this file"}));
        auto& box = dialogs.requests()[1];
        EXPECT_EQ(box.icon, DialogIcon::warning);
        EXPECT_TRUE(box.text.startsWith(candidate.getFullPathName() + "\n\n" + c.reason))
            << box.text;
        EXPECT_TRUE(box.text.endsWith("Your library has not been changed."));

        EXPECT_FALSE(db->isClosed());
        EXPECT_EQ(libraryDump(), before);
        EXPECT_TRUE(fileBytes(candidate) == candidateBytes);
        EXPECT_EQ(namesIn(tmp.get()), juce::StringArray({"Velmora.db", "candidate.db"}));
    }
}

TEST_F(LibraryBackupTest, AnOlderBackupIsUpgradedOnACopyAndRestored)
{
    auto old = tmp.file("From 2019.db");
    makeOldBackup(old);
    const auto oldBytes = fileBytes(old);

    ScopedDialogs dialogs;
    dialogs.recorder.pushAnswer({0, {}, old});
    dialogs.recorder.pushButton(0); // "Upgrade and Continue"
    dialogs.recorder.pushButton(0); // "Replace Library"
    ASSERT_TRUE(LibraryBackup::doRestore(library));
    EXPECT_EQ(dialogs.titles(),
              juce::StringArray({"Restore from backup", "Upgrade backup", "Replace your library?",
                                 "Upgrade successful!", "Library restored"}));

    EXPECT_TRUE(fileBytes(old) == oldBytes);
    EXPECT_EQ(namesIn(tmp.get()),
              juce::StringArray({"From 2019.db", "Velmora.db", "Velmora.db.before-restore"}));
    EXPECT_EQ(
        db->execQuery("SELECT Value FROM Things WHERE Name='SchemaVersion'").getStringField(0),
        "3");
    auto show = db->execQuery("SELECT a.Name, l.TrimStart, l.TrimEnd FROM LightShows l JOIN "
                              "AudioFiles a USING (AudioFileID)");
    EXPECT_EQ(show.getStringField(0), "Old song");
    EXPECT_EQ(show.getFloatField(1), 0.0);
    EXPECT_EQ(show.getFloatField(2), 0.0);
}

TEST_F(LibraryBackupTest, DecliningAnyQuestionChangesNothing)
{
    auto current = tmp.file("current.db");
    ASSERT_TRUE(db->backupTo(current));
    auto old = tmp.file("old.db");
    makeOldBackup(old);
    editLibrary();

    struct Case
    {
        const char* name;
        std::vector<DialogAnswer> answers;
        juce::StringArray titles;
    } cases[] = {
        {"chooser cancelled", {{-1, {}, {}}}, {"Restore from backup"}},
        {"replace declined",
         {{0, {}, current}, {1, {}, {}}},
         {"Restore from backup", "Replace your library?"}},
        {"upgrade declined",
         {{0, {}, old}, {1, {}, {}}},
         {"Restore from backup", "Upgrade backup"}},
    };

    const auto before = libraryDump();
    const auto folderBefore = namesIn(tmp.get());
    const auto currentBytes = fileBytes(current), oldBytes = fileBytes(old);
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScopedDialogs dialogs;
        for (auto& a : c.answers)
            dialogs.recorder.pushAnswer(a);
        EXPECT_FALSE(LibraryBackup::doRestore(library));
        EXPECT_EQ(dialogs.titles(), c.titles);
        EXPECT_FALSE(db->isClosed());
        EXPECT_EQ(libraryDump(), before);
        EXPECT_EQ(namesIn(tmp.get()), folderBefore);
        EXPECT_TRUE(fileBytes(current) == currentBytes);
        EXPECT_TRUE(fileBytes(old) == oldBytes);
    }
}

TEST_F(LibraryBackupTest, ARestoreThatFailsAfterClosingPutsThePreviousLibraryBack)
{
    auto backup = tmp.file("backup.db");
    ASSERT_TRUE(db->backupTo(backup));
    editLibrary();
    const auto edited = libraryDump();

    ScopedDialogs dialogs;
    // The copy on its way into place is spoilt while the user reads the question.
    dialogs.recorder.onRequest = [&](const DialogRequest& r)
    {
        if (r.title == "Replace your library?")
            tmp.file("Velmora.db.restoring").replaceWithText("spoilt");
    };
    dialogs.recorder.pushAnswer({0, {}, backup});
    dialogs.recorder.pushButton(0);
    EXPECT_FALSE(LibraryBackup::doRestore(library));

    EXPECT_EQ(dialogs.titles(), juce::StringArray({"Restore from backup", "Replace your library?",
                                                   "Invalid database file", "Restore failed"}));
    EXPECT_TRUE(dialogs.requests().back().text.contains("previous library has been opened again"));
    EXPECT_FALSE(db->isClosed());
    EXPECT_EQ(libraryDump(), edited);
    EXPECT_EQ(namesIn(tmp.get()),
              juce::StringArray({"Velmora.db", "Velmora.db.before-restore", "backup.db"}));
}

TEST_F(LibraryBackupTest, ABackupThatCannotBeSavedReportsItAndLeavesNothingBehind)
{
    tmp.file("notes.txt").replaceWithText("not a folder");
    tmp.file("Backups").createDirectory();
    auto older = tmp.file("older backup.db");
    older.replaceWithText("an older backup");

    struct Case
    {
        const char* name;
        juce::File destination;
        juce::StringArray titles;
        std::function<void()> before, after;
    } cases[] = {
        {"chooser cancelled", {}, {"Backup database"}},
        {"folder missing",
         tmp.file("missing/backup.db"),
         {"Backup database", "SQLITE_CANTOPEN", "Backup failed"}},
        {"inside a file",
         tmp.file("notes.txt/backup.db"),
         {"Backup database", "SQLITE_CANTOPEN", "Backup failed"}},
        {"a folder of that name",
         tmp.file("Backups"),
         {"Backup database", "SQLITE_CANTOPEN", "Backup failed"}},
        {"over the library itself",
         library,
         {"Backup database", "CPPSQLITE_ERROR", "Backup failed"}},
        {"an edit still open",
         older,
         {"Backup database", "SQLITE_BUSY", "Backup failed"},
         [&] { db->startTransaction("Move Cue"); },
         [&] { db->endTransaction(); }},
    };

    const auto before = libraryDump();
    const auto folderBefore = namesIn(tmp.get());
    const auto olderBytes = fileBytes(older);
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScopedDialogs dialogs;
        dialogs.recorder.pushAnswer({c.destination == juce::File() ? -1 : 0, {}, c.destination});
        if (c.before)
            c.before();
        EXPECT_FALSE(LibraryBackup::doBackup());
        if (c.after)
            c.after();
        ASSERT_EQ(dialogs.titles(), c.titles);
        if (c.titles.size() > 1)
        {
            EXPECT_EQ(dialogs.requests().back().icon, DialogIcon::warning);
            EXPECT_TRUE(dialogs.requests().back().text.contains(c.destination.getFullPathName()));
        }
        EXPECT_EQ(namesIn(tmp.get()), folderBefore);
        EXPECT_TRUE(namesIn(tmp.file("Backups")).isEmpty());
        EXPECT_TRUE(fileBytes(older) == olderBytes);
        EXPECT_EQ(libraryDump(), before);
    }
}
