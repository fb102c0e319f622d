#include "TestSupport.h"
#include "data/AudioFileModel.h"
#include "data/DbModel.h"
#include "data/VmDatabase.h"

#include <gtest/gtest.h>

namespace
{
class UndoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db->newMemoryDb();
        // A track, its lightshow with a cue and a memo, played in a show; a chunk
        // with two messages that the memo sends at both ends.
        db->execDML("INSERT INTO AudioFiles(Name,Path) VALUES('Song','A/Song.wav');"
                    "INSERT INTO LightShows(Name,AudioFileID) VALUES('LS',1);"
                    "INSERT INTO GlimraCues(LightShowID,CueTime,BankName,PresetName) "
                    "VALUES(1,2.0,'Wash','Red');"
                    "INSERT INTO MidiEvents(Name,Category) VALUES('Intro','Keys');"
                    "INSERT INTO MidiMessages(MidiEventID,Data1) VALUES(1,5);"
                    "INSERT INTO MidiMessages(MidiEventID,Data1) VALUES(1,6);"
                    "INSERT INTO ShowMemos(LightShowID,ShortName,MemoTime,StartMidiEventID,"
                    "EndMidiEventID) VALUES(1,'Verse',1.0,1,1);"
                    "INSERT INTO Sets(Name) VALUES('Friday');"
                    "INSERT INTO SetElements(SetID,LightShowID,PlayOrder) VALUES(1,1,1);");
        db->clearUndoStack();
    }
    void TearDown() override { db->closeDb(); }

    int count(const juce::String& table)
    {
        return db->execQuery("SELECT COUNT(*) FROM " + table).getIntField(0);
    }
    juce::String value(const juce::String& sql) { return db->execQuery(sql).getStringField(0); }
    juce::String data() { return dumpDatabase(tracedTables); }
    juce::String stacks() { return dumpDatabase({"UndoStack", "RedoStack"}); }

    void group(const juce::String& description, std::initializer_list<const char*> statements)
    {
        db->startTransaction(description);
        for (auto* sql : statements)
            db->execQuery(sql);
        db->endTransaction();
    }

    VmDatabase* db = VmDatabase::getInstance();
};

} // namespace

TEST_F(UndoTest, SettersWriteOnlyChangesAndOneUndoTakesAChangeBack)
{
    ScopedObserver recorder;
    AudioFileModel track(1);

    track.setStringField("Name", "Song");
    track.setFloatField("LengthSecs", 0.0);
    track.setIntField("AudioFileID", 1);
    EXPECT_EQ(count("UndoStack"), 0);
    EXPECT_TRUE(recorder.calls.isEmpty());

    track.setFloatField("LengthSecs", 183.1234567);
    EXPECT_EQ(track.getFloatField("LengthSecs"), 183.123457); // six decimals
    EXPECT_EQ(count("UndoStack"), 1);
    EXPECT_EQ(recorder.calls, juce::StringArray({"AudioFiles:1"}));
    track.setFloatField("LengthSecs", 183.1234571); // the same once stored
    EXPECT_EQ(count("UndoStack"), 1);

    track.setStringField("Note", "Capo 2");
    track.setFieldNull("Note");
    EXPECT_EQ(track.getStringField("Note"), "");
    EXPECT_EQ(count("UndoStack"), 3);

    EXPECT_TRUE(db->undo());
    EXPECT_EQ(track.getStringField("Note"), "Capo 2");
    EXPECT_TRUE(db->undo());
    EXPECT_TRUE(db->undo());
    EXPECT_EQ(track.getFloatField("LengthSecs"), 0.0);
    EXPECT_EQ(value("SELECT quote(Note) FROM AudioFiles"), "NULL");
}

TEST_F(UndoTest, AReadOnlyModelIgnoresEverySetter)
{
    AudioFileModel track(1);
    track.enableReadOnlyMode();
    track.setStringField("Name", "Other");
    track.setFloatField("LengthSecs", 5.0);
    track.setIntField("LengthSecs", 5);
    track.setFieldNull("Note");
    EXPECT_EQ(track.getStringField("Name"), "Song");
    EXPECT_EQ(count("UndoStack"), 0);
}

TEST_F(UndoTest, AGroupIsUndoneAndRedoneByOneCallEachAndRebuiltExactly)
{
    auto before = data();
    group("Edit Memo", {"UPDATE ShowMemos SET ShortName='Chorus' WHERE ShowMemoID=1",
                        "INSERT INTO GlimraCues(LightShowID,CueTime,BankName,PresetName) "
                        "VALUES(1,9.5,'Spots','Blue')",
                        "DELETE FROM GlimraCues WHERE GlimraCueID=1"});
    auto after = data();
    auto stacksAfter = stacks();
    EXPECT_EQ(value("SELECT Desc FROM UndoStack WHERE rowid=1"), "Edit Memo");
    EXPECT_EQ(value("SELECT Desc FROM UndoStack WHERE rowid=4"), "Edit Memo");

    EXPECT_TRUE(db->undo());
    EXPECT_EQ(data(), before);
    EXPECT_EQ(count("UndoStack"), 0);
    EXPECT_EQ(count("RedoStack"), 4);

    EXPECT_TRUE(db->redo());
    EXPECT_EQ(data(), after);
    EXPECT_EQ(stacks(), stacksAfter);
    EXPECT_FALSE(db->redo());
}

TEST_F(UndoTest, GroupsNestAndHoldBackAllButTheLastNotification)
{
    ScopedObserver recorder;
    db->startTransaction("Set Edited");
    db->startTransaction("Set Edited");
    AudioFileModel(1).setStringField("Name", "Renamed");
    DbModel(1, "Sets", "SetID").setStringField("Name", "Saturday");
    EXPECT_EQ(db->endTransaction(), 1);
    EXPECT_TRUE(recorder.calls.isEmpty());
    EXPECT_EQ(db->endTransaction(), 0);
    EXPECT_EQ(recorder.calls, juce::StringArray({"Sets:1"}));
    EXPECT_EQ(db->endTransaction(), 0);

    EXPECT_TRUE(db->undo());
    EXPECT_EQ(value("SELECT Name FROM AudioFiles"), "Song");
    EXPECT_EQ(value("SELECT Name FROM Sets"), "Friday");
}

TEST_F(UndoTest, TextComesBackExactlyThroughUndoAndRedo)
{
    const juce::String tricky = "O'Brien's \"live\" C:\\Set\\01 ünïcödé ''";
    db->execQuery("UPDATE Sets SET Note=" + juce::String("'") + tricky.replace("'", "''") + "'");
    db->clearUndoStack();
    group("Edit Show Name", {"UPDATE Sets SET Note='plain', Name='x''y'"});

    ASSERT_TRUE(db->undo());
    EXPECT_EQ(value("SELECT Note FROM Sets"), tricky);
    EXPECT_EQ(value("SELECT Name FROM Sets"), "Friday");
    ASSERT_TRUE(db->redo());
    EXPECT_EQ(value("SELECT Note FROM Sets"), "plain");
    EXPECT_EQ(value("SELECT Name FROM Sets"), "x'y");
    ASSERT_TRUE(db->undo());
    EXPECT_EQ(value("SELECT Note FROM Sets"), tricky);
}

TEST_F(UndoTest, UndoingATrackDeletionBringsBackEverythingThatCascaded)
{
    auto before = data();
    group("Delete Track", {"DELETE FROM AudioFiles WHERE AudioFileID=1"});
    auto after = data();
    ASSERT_EQ(count("LightShows") + count("GlimraCues") + count("ShowMemos") + count("SetElements"),
              0);

    ScopedDialogs dialogs; // any SQL error would show here
    EXPECT_TRUE(db->undo());
    EXPECT_EQ(data(), before);
    EXPECT_TRUE(db->redo());
    EXPECT_EQ(data(), after);
    EXPECT_TRUE(db->undo());
    EXPECT_EQ(data(), before);
    EXPECT_TRUE(dialogs.requests().empty());
}

TEST_F(UndoTest, UndoingAChunkDeletionRestoresTheMemoReferencesButNotTheMessages)
{
    group("Delete MIDI Chunk", {"DELETE FROM MidiEvents WHERE MidiEventID=1"});
    EXPECT_EQ(value("SELECT quote(StartMidiEventID) FROM ShowMemos"), "NULL");
    ASSERT_TRUE(db->undo());
    EXPECT_EQ(value("SELECT Name FROM MidiEvents"), "Intro");
    EXPECT_EQ(value("SELECT StartMidiEventID||'/'||EndMidiEventID FROM ShowMemos"), "1/1");
    EXPECT_EQ(count("MidiMessages"), 0); // messages are not traced
    ASSERT_TRUE(db->redo());
    EXPECT_EQ(count("MidiEvents"), 0);
    EXPECT_EQ(value("SELECT quote(EndMidiEventID) FROM ShowMemos"), "NULL");
}

TEST_F(UndoTest, RowsDeletedBeforeTheirParentComeBackAfterIt)
{
    auto before = data();
    group("Delete Lightshow", {"DELETE FROM GlimraCues WHERE LightShowID=1",
                               "DELETE FROM ShowMemos WHERE LightShowID=1",
                               "DELETE FROM LightShows WHERE LightShowID=1"});
    EXPECT_EQ(count("SetElements"), 0);
    ASSERT_TRUE(db->undo());
    EXPECT_EQ(data(), before);
}

TEST_F(UndoTest, NothingToUndoOrRedoTouchesNothing)
{
    auto before = dumpDatabase();
    EXPECT_FALSE(db->undo());
    EXPECT_FALSE(db->redo());
    EXPECT_FALSE(db->undoRedoFailed());
    EXPECT_EQ(dumpDatabase(), before);
}

TEST_F(UndoTest, AGroupThatChangedNothingLeavesNothingToUndo)
{
    group("Edit Chunk Name", {"UPDATE MidiEvents SET Name='Intro 2'"});
    group("Set Edited",
          {"INSERT INTO Things(Name,Value) VALUES('x','y')", "DELETE FROM Sets WHERE SetID=99"});
    EXPECT_EQ(count("UndoStack"), 2);
    ASSERT_TRUE(db->undo());
    EXPECT_EQ(value("SELECT Name FROM MidiEvents"), "Intro");
    EXPECT_FALSE(db->undo());
}

TEST_F(UndoTest, ANewEditAfterAnUndoEndsRedoEvenWhenStackRowsAreReused)
{
    group("Edit Show Name", {"UPDATE Sets SET Name='A'"});
    ASSERT_TRUE(db->undo());
    group("Edit Show Name", {"UPDATE Sets SET Name='B'"});
    ASSERT_TRUE(db->undo());
    ASSERT_TRUE(db->redo());
    EXPECT_EQ(value("SELECT Name FROM Sets"), "B");
    EXPECT_FALSE(db->redo());
    EXPECT_EQ(value("SELECT Name FROM Sets"), "B");

    ASSERT_TRUE(db->undo());
    AudioFileModel(1).setStringField("Name", "New"); // an edit outside any group
    EXPECT_FALSE(db->redo());
    EXPECT_EQ(count("RedoStack"), 0);
    EXPECT_EQ(value("SELECT Name FROM Sets"), "Friday");
}

TEST_F(UndoTest, AStepThatFailsLeavesDataAndStacksAsTheyWere)
{
    struct Case
    {
        const char* name;
        const char* sabotage; // makes the top group's reversal impossible
        juce::StringArray boxes;
    } cases[] = {
        {"statement fails",
         "INSERT INTO GlimraCues(GlimraCueID,LightShowID,CueTime,BankName,"
         "PresetName) VALUES(1,1,0,'x','y');"
         "DELETE FROM UndoStack WHERE rowid=(SELECT MAX(rowid) FROM UndoStack)",
         {"SQLITE_CONSTRAINT"}},
        {"row is gone",
         "DELETE FROM UndoStack WHERE rowid=(SELECT MAX(rowid) FROM UndoStack);"
         "INSERT INTO UndoStack VALUES('Delete Cue/Memo','DELETE FROM Sets WHERE "
         "rowid=42')",
         {"Undo failed"}},
        {"parent never comes back",
         "UPDATE UndoStack SET Command=replace(Command,'VALUES(1,1,1,','VALUES(1,1,77,') WHERE "
         "rowid=(SELECT MAX(rowid) FROM UndoStack)",
         {"SQLITE_CONSTRAINT"}},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        SetUp();
        group("Edit Show Name", {"UPDATE Sets SET Name='Tour'"});
        group("Delete Cue/Memo", {"DELETE FROM GlimraCues WHERE GlimraCueID=1"});
        db->execDML(c.sabotage);
        auto before = dumpDatabase();
        ScopedDialogs dialogs;
        EXPECT_FALSE(db->undo());
        EXPECT_TRUE(db->undoRedoFailed());
        EXPECT_EQ(dialogs.titles(), c.boxes);
        EXPECT_EQ(dumpDatabase(), before);
    }
}

TEST_F(UndoTest, ARedoThatFailsLeavesDataAndStacksAsTheyWere)
{
    group("Edit Show Name", {"UPDATE Sets SET Name='Tour'"});
    group("Add Song To Set", {"INSERT INTO SetElements(SetID,LightShowID) VALUES(1,1)"});
    ASSERT_TRUE(db->undo());
    ASSERT_TRUE(db->undo());
    // Someone else's row now holds the key the redo wants back.
    db->execDML("PRAGMA foreign_keys = OFF; UPDATE RedoStack SET Command="
                "'INSERT INTO Sets(rowid,Name) VALUES(1,''Clash'')' WHERE Command LIKE "
                "'UPDATE Sets%'; PRAGMA foreign_keys = ON;");
    auto before = dumpDatabase();
    ScopedDialogs dialogs;
    EXPECT_FALSE(db->redo());
    EXPECT_TRUE(db->undoRedoFailed());
    EXPECT_EQ(dialogs.titles(), juce::StringArray({"SQLITE_CONSTRAINT"}));
    EXPECT_EQ(dumpDatabase(), before);
}

TEST_F(UndoTest, UndoWaitsWhileAnotherTransactionIsOpen)
{
    group("Edit Show Name", {"UPDATE Sets SET Name='Tour'"});
    db->startTransaction("Set Edited");
    EXPECT_FALSE(db->undo());
    EXPECT_FALSE(db->redo());
    db->endTransaction();
    db->execQuery("BEGIN");
    EXPECT_FALSE(db->undo());
    db->execQuery("COMMIT");
    EXPECT_TRUE(db->undo());
}
