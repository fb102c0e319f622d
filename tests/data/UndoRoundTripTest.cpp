// Undo loses nothing: a scripted series of mixed edits across every traced table
// is undone group by group back to the start, then redone to the end, and every
// state on the way is compared with a full dump of the tables.
#include "TestSupport.h"
#include "data/VmDatabase.h"

#include <gtest/gtest.h>

namespace
{
struct Step
{
    const char* description; // nullptr: a lone statement outside any group
    std::vector<const char*> statements;
};

const std::vector<Step> script = {
    {"Import Files",
     {"INSERT INTO AudioFiles(Name,Path,Note) VALUES('Intro','Live/Intro.wav','it''s loud')",
      "INSERT INTO LightShows(Name,AudioFileID,GlimraShowName) VALUES('Default lightshow',1,"
      "'Default Show')",
      "INSERT INTO AudioFiles(Name,Path,LengthSecs) VALUES('Ballad','Live/Ballad.flac',201.5)",
      "INSERT INTO LightShows(Name,AudioFileID,Tempo) VALUES('Default lightshow',2,72)"}},
    {"Object Copy",
     {"INSERT INTO GlimraCues(LightShowID,CueTime,CueDuration,FadeInTime,BankName,PresetName) "
      "VALUES(1,0.5,4,1,'Wash','Amber')",
      "INSERT INTO GlimraCues(LightShowID,CueTime,BankName,PresetName) VALUES(1,8,'Spots','Off')",
      "INSERT INTO GlimraCues(LightShowID,CueTime,BankName,PresetName) VALUES(2,1,'Wash','Blue')"}},
    {"Add MIDI chunk",
     {"INSERT INTO MidiEvents(Name,Category) VALUES('Patch 5','Keys')",
      "INSERT INTO MidiEvents(Name,Category) VALUES('Stop','FX')"}},
    {"Add Memo",
     {"INSERT INTO ShowMemos(LightShowID,ShortName,Memo,MemoTime,CountIn,StartMidiEventID,"
      "EndMidiEventID) VALUES(1,'V1','Verse one\\nwith \"quotes\" and O''Neil',12,4,1,2)",
      "INSERT INTO ShowMemos(LightShowID,ShortName,MemoTime) VALUES(2,'Solo',30)"}},
    {"Add Song To Set",
     {"INSERT INTO Sets(Name,Folder) VALUES('Friday','Club')",
      "INSERT INTO SetElements(SetID,LightShowID,PlayOrder) VALUES(1,1,1)",
      "INSERT INTO SetElements(SetID,LightShowID,PlayOrder,AutoStart) VALUES(1,2,2,1)"}},
    {"Cue Move",
     {"UPDATE GlimraCues SET CueTime=CueTime+1.25 WHERE LightShowID=1",
      "UPDATE ShowMemos SET MemoTime=13.5, MemoLength=6 WHERE ShowMemoID=1"}},
    {nullptr, {"UPDATE LightShows SET TrimStart=2.5, TrimEnd=1, Note=NULL WHERE LightShowID=2"}},
    {"Copy Lightshow",
     {"INSERT INTO LightShows(Name,AudioFileID,Tempo) SELECT Name||' copy',AudioFileID,Tempo "
      "FROM LightShows WHERE LightShowID=1",
      "INSERT INTO GlimraCues(LightShowID,CueTime,CueDuration,FadeInTime,FadeOutTime,BankName,"
      "PresetName) SELECT 3,CueTime,CueDuration,FadeInTime,FadeOutTime,BankName,PresetName FROM "
      "GlimraCues WHERE LightShowID=1"}},
    {"Set Edited",
     {"UPDATE SetElements SET PlayOrder=3-PlayOrder WHERE SetID=1",
      "INSERT INTO SetElements(SetID,LightShowID,PlayOrder) VALUES(1,3,3)",
      "UPDATE Sets SET Name='Friday ''late''', Note='C:\\Shows\\fri' WHERE SetID=1"}},
    {"Delete MIDI Chunk", {"DELETE FROM MidiEvents WHERE MidiEventID=1"}},
    {"Delete Cue/Memo",
     {"DELETE FROM GlimraCues WHERE GlimraCueID=2", "DELETE FROM ShowMemos WHERE ShowMemoID=2"}},
    {"Delete Lightshow",
     {"DELETE FROM GlimraCues WHERE LightShowID=3", "DELETE FROM ShowMemos WHERE LightShowID=3",
      "DELETE FROM LightShows WHERE LightShowID=3"}},
    {"Edit Chunk Name", {"UPDATE MidiEvents SET Name='All stop' WHERE MidiEventID=2"}},
    {"Delete Track", {"DELETE FROM AudioFiles WHERE AudioFileID=1"}},
    {"Delete Set", {"DELETE FROM SetElements WHERE SetID=1", "DELETE FROM Sets WHERE SetID=1"}},
    {"Import Files",
     {"INSERT INTO AudioFiles(Name,Path) VALUES('Encore','Live/Encore.ogg')",
      "INSERT INTO LightShows(Name,AudioFileID) VALUES('Default lightshow',3)",
      "UPDATE AudioFiles SET Name='Ballad (acoustic)' WHERE AudioFileID=2"}},
};
} // namespace

TEST(UndoRoundTrip, EveryStateComesBackThroughUndoAndRedo)
{
    auto* db = VmDatabase::getInstance();
    db->newMemoryDb();
    ScopedDialogs dialogs; // an SQL error anywhere shows up here

    auto state = [] { return dumpDatabase(tracedTables); };
    std::vector<juce::String> states{state()};
    for (auto& step : script)
    {
        if (step.description != nullptr)
            db->startTransaction(step.description);
        for (auto* sql : step.statements)
            db->execQuery(sql);
        if (step.description != nullptr)
            db->endTransaction();
        ASSERT_NE(state(), states.back()) << "a step that changes nothing proves nothing";
        states.push_back(state());
    }
    ASSERT_TRUE(dialogs.requests().empty()) << dialogs.titles().joinIntoString(", ");

    for (size_t i = script.size(); i > 0; --i)
    {
        ASSERT_TRUE(db->undo()) << "undoing step " << i;
        ASSERT_EQ(state(), states[i - 1]) << "after undoing step " << i;
    }
    EXPECT_FALSE(db->undo());
    for (size_t i = 1; i <= script.size(); ++i)
    {
        ASSERT_TRUE(db->redo()) << "redoing step " << i;
        ASSERT_EQ(state(), states[i]) << "after redoing step " << i;
    }
    EXPECT_FALSE(db->redo());

    // And all the way back again, from the stacks the redo rebuilt.
    for (size_t i = script.size(); i > 0; --i)
    {
        ASSERT_TRUE(db->undo());
        ASSERT_EQ(state(), states[i - 1]) << "after undoing step " << i << " again";
    }
    EXPECT_TRUE(dialogs.requests().empty()) << dialogs.titles().joinIntoString(", ");
    db->closeDb();
}
