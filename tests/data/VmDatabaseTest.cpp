#include "data/VmDatabase.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace
{
class VmDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override { db->newMemoryDb(); }
    void TearDown() override { db->closeDb(); }

    int scalar(const juce::String& sql) { return db->execQuery(sql).getIntField(0); }
    juce::StringArray column(const juce::String& sql)
    {
        juce::StringArray values;
        for (auto q = db->execQuery(sql); !q.eof(); q.nextRow())
            values.add(q.fieldIsNull(0) ? "NULL" : q.getStringField(0));
        return values;
    }

    // A track with a lightshow holding a cue and a memo that sends chunk 1 at
    // both ends; the lightshow plays in show 1. Chunk 1 has two messages.
    void addLibrary()
    {
        db->execDML("INSERT INTO AudioFiles(AudioFileID,Name,Path) VALUES(1,'Song','A/Song.wav');"
                    "INSERT INTO LightShows(LightShowID,Name,AudioFileID) VALUES(1,'LS',1);"
                    "INSERT INTO GlimraCues(LightShowID,CueTime,BankName,PresetName) "
                    "VALUES(1,2.0,'Wash','Red');"
                    "INSERT INTO MidiEvents(MidiEventID,Name,Category) VALUES(1,'Intro','Keys');"
                    "INSERT INTO MidiMessages(MidiEventID,Channel,Data1) VALUES(1,1,5);"
                    "INSERT INTO MidiMessages(MidiEventID,Channel,Data1) VALUES(1,2,6);"
                    "INSERT INTO ShowMemos(LightShowID,ShortName,MemoTime,StartMidiEventID,"
                    "EndMidiEventID) VALUES(1,'Verse',1.0,1,1);"
                    "INSERT INTO Sets(SetID,Name) VALUES(1,'Friday');"
                    "INSERT INTO SetElements(SetID,LightShowID,PlayOrder) VALUES(1,1,1);");
    }

    VmDatabase* db = VmDatabase::getInstance();
};

} // namespace

TEST_F(VmDatabaseTest, NewDatabaseHasTheSchemaTheUndoTablesAndOneVersionRow)
{
    EXPECT_EQ(column("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE "
                     "'sqlite_%' ORDER BY name"),
              juce::StringArray({"AudioFiles", "GlimraCues", "LightShows", "MidiEvents",
                                 "MidiMessages", "RedoStack", "SetElements", "Sets", "ShowMemos",
                                 "Things", "UndoStack"}));
    EXPECT_EQ(column("SELECT ThingID||'|'||Name||'|'||Identifier||'|'||Value FROM Things"),
              juce::StringArray({"1|SchemaVersion|-1|3"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM sqlite_temp_master WHERE type='trigger'"), 21);
    EXPECT_EQ(scalar("PRAGMA foreign_keys"), 1);
    EXPECT_FALSE(db->isClosed());
}

TEST_F(VmDatabaseTest, DeletingARowCascadesAsTheLibraryExpects)
{
    addLibrary();
    db->execQuery("DELETE FROM Sets WHERE SetID=1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM SetElements"), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM LightShows"), 1);

    db->newMemoryDb();
    addLibrary();
    db->execQuery("DELETE FROM MidiEvents WHERE MidiEventID=1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM MidiMessages"), 0);
    EXPECT_EQ(column("SELECT quote(StartMidiEventID)||quote(EndMidiEventID) FROM ShowMemos"),
              juce::StringArray({"NULLNULL"}));

    db->execQuery("DELETE FROM AudioFiles WHERE AudioFileID=1");
    for (auto* table : {"LightShows", "GlimraCues", "ShowMemos", "SetElements"})
        EXPECT_EQ(scalar(juce::String("SELECT COUNT(*) FROM ") + table), 0) << table;
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Sets"), 1);
}

TEST_F(VmDatabaseTest, MidiMessagesReuseAFreedHighestKey)
{
    addLibrary();
    EXPECT_EQ(scalar("SELECT MAX(MidiMessageID) FROM MidiMessages"), 2);
    db->execQuery("DELETE FROM MidiMessages WHERE MidiMessageID=2");
    db->execQuery("INSERT INTO MidiMessages(MidiEventID) VALUES(1)");
    EXPECT_EQ(scalar("SELECT last_insert_rowid()"), 2);

    // The AUTOINCREMENT tables never hand out a key twice.
    db->execQuery("DELETE FROM Sets WHERE SetID=1");
    db->execQuery("INSERT INTO Sets(Name) VALUES('Saturday')");
    EXPECT_EQ(scalar("SELECT last_insert_rowid()"), 2);
}

TEST_F(VmDatabaseTest, ForeignKeyViolationShowsTheErrorBoxAndInsertsNothing)
{
    ScopedDialogs dialogs;
    int changed = db->execDML("INSERT INTO GlimraCues(LightShowID,CueTime,BankName,PresetName) "
                              "VALUES(99,1.0,'Wash','Red')");
    EXPECT_EQ(changed, 0);
    ASSERT_EQ(dialogs.requests().size(), 1u);
    auto& box = dialogs.requests()[0];
    EXPECT_EQ(box.kind, DialogKind::message);
    EXPECT_EQ(box.icon, DialogIcon::none);
    EXPECT_EQ(box.title, "SQLITE_CONSTRAINT");
    EXPECT_TRUE(box.text.startsWith("SQLITE_CONSTRAINT[19]: ")) << box.text;
    EXPECT_EQ(box.buttons, juce::StringArray({"OK"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM GlimraCues"), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM UndoStack"), 0);
}

TEST_F(VmDatabaseTest, ACursorFromAFailedQueryReadsAsEmptyAfterItsOneBox)
{
    ScopedDialogs dialogs;
    auto q = db->execQuery("SELECT Missing FROM Nowhere");
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(q.getIntField(0), 0);
    EXPECT_EQ(q.getFloatField("Missing"), 0.0);
    EXPECT_EQ(q.getStringField(0), "");
    q.nextRow();
    EXPECT_EQ(dialogs.titles(), juce::StringArray({"SQLITE_ERROR"}));
    EXPECT_EQ(dialogs.requests()[0].text, "SQLITE_ERROR[1]: no such table: Nowhere");
}

TEST_F(VmDatabaseTest, ClosingTwiceIsHarmlessAndAClosedStoreListsNothing)
{
    addLibrary();
    EXPECT_TRUE(db->closeDb());
    EXPECT_TRUE(db->closeDb());
    EXPECT_TRUE(db->isClosed());
    EXPECT_TRUE(db->getAudioFiles().empty());
    EXPECT_TRUE(db->getSets().empty());
    EXPECT_TRUE(db->getMidiEvents().empty());
    EXPECT_EQ(db->countAudioFiles(), 0);

    ScopedDialogs dialogs;
    db->execQuery("SELECT 1");
    ASSERT_EQ(dialogs.titles(), juce::StringArray({"CPPSQLITE_ERROR"}));
    EXPECT_EQ(dialogs.requests()[0].text, "CPPSQLITE_ERROR[1000]: Database not open");
}

TEST_F(VmDatabaseTest, ListsAreSortedByNameAndChunksByCategoryFirst)
{
    db->execDML("INSERT INTO AudioFiles(Name,Path) VALUES('Zebra','z.wav');"
                "INSERT INTO AudioFiles(Name,Path) VALUES('Alpha','a.wav');"
                "INSERT INTO Sets(Name) VALUES('Tour');INSERT INTO Sets(Name) VALUES('Club');"
                "INSERT INTO MidiEvents(Name,Category) VALUES('A','Synth');"
                "INSERT INTO MidiEvents(Name,Category) VALUES('B','Keys');"
                "INSERT INTO MidiEvents(Name,Category) VALUES('A','Keys');");
    auto ids = [](const auto& models)
    {
        juce::StringArray s;
        for (auto& m : models)
            s.add(juce::String(m.getRecordId()));
        return s;
    };
    EXPECT_EQ(ids(db->getAudioFiles()), juce::StringArray({"2", "1"}));
    EXPECT_EQ(ids(db->getSets()), juce::StringArray({"2", "1"}));
    EXPECT_EQ(ids(db->getMidiEvents()), juce::StringArray({"3", "2", "1"}));
    EXPECT_EQ(db->countAudioFiles(), 2);
}

TEST(CleanStringForDb, QuotesDoubleAndBackslashesTurnToSlashes)
{
    struct Case
    {
        const char* in;
        const char* clean;
        const char* path;
    } cases[] = {
        {"O'Brien", "O''Brien", "O'Brien"},
        {"C:\\Music\\Live\\a.wav", "C:/Music/Live/a.wav", "C:/Music/Live/a.wav"},
        {"''", "''''", "''"},
        {"plain", "plain", "plain"},
    };
    for (auto& c : cases)
    {
        juce::String clean = c.in, path = c.in;
        cleanStringForDb(clean);
        cleanupPathString(path);
        EXPECT_EQ(clean, c.clean) << c.in;
        EXPECT_EQ(path, c.path) << c.in;
    }
}

TEST_F(VmDatabaseTest, ObserversAreToldInOrderAndPausingKeepsOnlyTheLast)
{
    RecordingObserver a, b;
    db->addObs(&a);
    db->addObs(&b);
    db->addObs(&a);
    db->updateObs("AudioFiles", 7, dbRecordChanged);
    EXPECT_EQ(a.calls, juce::StringArray({"AudioFiles:7", "AudioFiles:7"}));
    EXPECT_EQ(b.calls, juce::StringArray({"AudioFiles:7"}));

    db->deleteObs(&a);
    ASSERT_EQ(db->getObs().size(), 2u);
    EXPECT_EQ(db->getObs()[0], &b);
    EXPECT_EQ(db->getObs()[1], &a);

    a.calls.clear();
    db->pause(true);
    db->updateObs("Sets", 1, dbRecordChanged);
    db->updateObs("LightShows", 2, dbRecordChanged);
    db->updateObs("AudioFiles", 3, dbRecordChanged);
    EXPECT_TRUE(a.calls.isEmpty());
    db->pause(false);
    EXPECT_EQ(a.calls, juce::StringArray({"AudioFiles:3"}));
    db->pause(false);
    EXPECT_EQ(a.calls.size(), 1);

    db->deleteObs(&a);
    db->deleteObs(&b);
    db->deleteObs(&b); // absent: nothing happens
    EXPECT_TRUE(db->getObs().empty());
}

TEST(VmDatabaseFile, ClosingEmptiesTheUndoStacksAndCompactsTheFile)
{
    TempFolder tmp;
    auto file = tmp.file("Velmora.db");
    auto* db = VmDatabase::getInstance();
    ASSERT_EQ(db->openDbFile(file), DbFileResult::created);
    db->makeReadyForUse();
    db->execQuery("BEGIN");
    for (int i = 0; i < 2000; ++i)
        db->execQuery("INSERT INTO AudioFiles(Name,Path,Note) VALUES('t','p','" +
                      juce::String::repeatedString("x", 200) + "')");
    db->execQuery("COMMIT");
    db->execQuery("DELETE FROM AudioFiles");
    db->execQuery("INSERT INTO RedoStack VALUES('d','c')");
    auto sizeBefore = file.getSize();
    db->closeDb();

    EXPECT_LT(file.getSize(), sizeBefore / 4);
    ASSERT_EQ(db->openDbFile(file), DbFileResult::opened);
    EXPECT_EQ(db->execQuery("SELECT COUNT(*) FROM UndoStack").getIntField(0), 0);
    EXPECT_EQ(db->execQuery("SELECT COUNT(*) FROM RedoStack").getIntField(0), 0);
    EXPECT_EQ(db->execQuery("PRAGMA freelist_count").getIntField(0), 0);
    db->closeDb();
}

TEST(VmDatabaseInstance, IsCreatedOnceAndSharedAcrossThreads)
{
    std::atomic<VmDatabase*> seen[4] = {};
    std::vector<std::thread> threads;
    for (auto& s : seen)
        threads.emplace_back([&s] { s = VmDatabase::getInstance(); });
    for (auto& t : threads)
        t.join();
    for (auto& s : seen)
        EXPECT_EQ(s.load(), VmDatabase::getInstance());
}
