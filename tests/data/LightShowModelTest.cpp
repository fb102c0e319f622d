#include "data/LightShowModel.h"
#include "TestSupport.h"
#include "data/SetModel.h"
#include "data/VmDatabase.h"

#include <gtest/gtest.h>

namespace
{
class LightShowModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db->newMemoryDb();
        db->execDML("INSERT INTO AudioFiles(Name,Path) VALUES('Song','A/Song.wav');"
                    "INSERT INTO MidiEvents(Name,Category) VALUES('Patch','Keys');"
                    "INSERT INTO MidiEvents(Name,Category) VALUES('Stop','FX');");
        show.createLightShow(1, "Main", "Club Show", "note", 96.5);
        db->clearUndoStack();
    }
    void TearDown() override { db->closeDb(); }

    juce::StringArray rows(const juce::String& sql)
    {
        juce::StringArray r;
        for (auto q = db->execQuery(sql); !q.eof(); q.nextRow())
        {
            juce::StringArray fields;
            for (int i = 0; i < q.numFields(); ++i)
                fields.add(q.fieldIsNull(i) ? "NULL" : q.getStringField(i));
            r.add(fields.joinIntoString("|"));
        }
        return r;
    }
    juce::StringArray ids(const std::vector<GlimraCueModel>& cues)
    {
        juce::StringArray r;
        for (auto& c : cues)
            r.add(juce::String(c.getRecordId()));
        return r;
    }

    VmDatabase* db = VmDatabase::getInstance();
    LightShowModel show;
};
} // namespace

TEST_F(LightShowModelTest, CopyingALightshowTakesEverythingAndOneUndoRemovesIt)
{
    db->execQuery("UPDATE LightShows SET TrimStart=3, TrimEnd=2 WHERE LightShowID=1");
    show.addCue("Wash", "Amber", 1.5, 4, 0.5, 1);
    show.addCue("Spots", "Off", 8, 0, 0, 0);
    show.addMemo("V1", "Verse one", 12, 4, 1, 2, 6);
    show.addMemo("Solo", "", 30, 0, -1, -1, 4);
    db->clearUndoStack();
    auto before = dumpDatabase(tracedTables);

    LightShowModel copy;
    copy.cloneLightShow(1, "Main (copy)", "for the tour");
    ASSERT_EQ(copy.getRecordId(), 2);
    EXPECT_EQ(rows("SELECT AudioFileID,Name,GlimraShowName,Note,Tempo,TrimStart,TrimEnd FROM "
                   "LightShows WHERE LightShowID=2"),
              juce::StringArray({"1|Main (copy)|Club Show|for the tour|96.5|0.0|0.0"}));
    auto cueFields = "SELECT CueTime,CueDuration,FadeInTime,FadeOutTime,BankName,PresetName "
                     "FROM GlimraCues WHERE LightShowID=";
    EXPECT_EQ(rows(juce::String(cueFields) + "2 ORDER BY CueTime"),
              rows(juce::String(cueFields) + "1 ORDER BY CueTime"));
    auto memoFields = "SELECT ShortName,Memo,MemoTime,MemoLength,CountIn,quote(StartMidiEventID),"
                      "quote(EndMidiEventID) FROM ShowMemos WHERE LightShowID=";
    EXPECT_EQ(rows(juce::String(memoFields) + "2 ORDER BY MemoTime"),
              rows(juce::String(memoFields) + "1 ORDER BY MemoTime"));
    EXPECT_EQ(rows(juce::String(memoFields) + "2 ORDER BY MemoTime").size(), 2);

    ASSERT_TRUE(db->undo());
    EXPECT_EQ(dumpDatabase(tracedTables), before);
    EXPECT_FALSE(db->undo());
}

TEST_F(LightShowModelTest, PastingOntoItselfKeepsItsCuesAndMemos)
{
    show.addCue("Wash", "Red", 1, 2, 0, 0);
    show.addMemo("V1", "text", 2, 0, -1, -1, 4);
    show.pasteLightShow(show);
    EXPECT_EQ(show.getCues().size(), 1u);
    EXPECT_EQ(show.getMemos().size(), 1u);
}

TEST_F(LightShowModelTest, CuesAreOrderedByTimeThenDuration)
{
    show.addCue("B", "x", 5, 3, 0, 0);
    show.addCue("B", "y", 5, 1, 0, 0);
    show.addCue("B", "z", 2, 9, 0, 0);
    EXPECT_EQ(ids(show.getCues()), juce::StringArray({"3", "2", "1"}));
}

TEST_F(LightShowModelTest, MemoChunksOfNoneAreStoredAsNull)
{
    struct Case
    {
        int start, end;
        const char* stored;
    } cases[] = {{-1, -1, "NULL|NULL"}, {0, 0, "NULL|NULL"}, {1, -1, "1|NULL"}, {2, 1, "2|1"}};
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.stored);
        db->execQuery("DELETE FROM ShowMemos");
        db->clearUndoStack();
        show.addMemo("A", "a", 1, 0, c.start, c.end, 4);
        ShowMemoModel().createMemo(1, 2, "B", "b", 0, c.start, c.end, 4);
        EXPECT_EQ(rows("SELECT quote(StartMidiEventID),quote(EndMidiEventID) FROM ShowMemos"),
                  juce::StringArray({c.stored, c.stored}));
        // addMemo is one undo step of its own.
        db->execQuery("DELETE FROM UndoStack WHERE rowid > (SELECT MIN(rowid) FROM UndoStack "
                      "WHERE Desc='Add Memo' AND Command='') + 3");
    }
    ASSERT_TRUE(db->undo());
    EXPECT_EQ(rows("SELECT ShortName FROM ShowMemos"), juce::StringArray({"B"}));
}

TEST_F(LightShowModelTest, MemoTextsAreStoredAsTyped)
{
    const char* shortName = "Price $5 and $6";
    const char* text = "It's \"$5\" then $6, $1\nsecond line";
    ShowMemoModel memo;
    memo.createMemo(1, 1.123456789, shortName, text, 2, -1, -1, 4.5);
    EXPECT_EQ(memo.getStringField("ShortName"), shortName);
    EXPECT_EQ(memo.getStringField("Memo"), text);
    EXPECT_EQ(memo.getFloatField("MemoTime"), 1.12345679);
    EXPECT_EQ(memo.getIntField("CountIn"), 2);

    show.addMemo("It's $6", "O'Neil's $5", 3, 0, -1, -1, 4);
    EXPECT_EQ(show.getMemos()[1].getStringField("Memo"), "O'Neil's $5");
}

TEST_F(LightShowModelTest, BankAndPresetNamesWithQuotesStayIntact)
{
    GlimraCueModel cue;
    cue.createCue(1, 1, 2, 0.5, 0.25, "Bob's bank", "Red 'hot'");
    EXPECT_EQ(rows("SELECT BankName,PresetName,CueTime,CueDuration,FadeInTime,FadeOutTime FROM "
                   "GlimraCues"),
              juce::StringArray({"Bob's bank|Red 'hot'|1.0|2.0|0.5|0.25"}));
    cue.updateCue(2.123456789, 3, 1, 0.5, "It's", "Off'");
    EXPECT_EQ(rows("SELECT BankName,PresetName,CueTime,CueDuration,FadeInTime,FadeOutTime FROM "
                   "GlimraCues"),
              juce::StringArray({"It's|Off'|2.12345679|3.0|1.0|0.5"}));
    cue.deleteCue();
    EXPECT_TRUE(show.getCues().empty());
}

TEST_F(LightShowModelTest, DeletingALightshowTakesItOutOfEveryShowAndComesBackWithOneUndo)
{
    show.addCue("Wash", "Red", 1, 2, 0, 0);
    show.addMemo("V1", "text", 2, 0, 1, 2, 4);
    SetModel friday, saturday;
    friday.createSet("Friday", "Club");
    saturday.createSet("Saturday", "Club");
    friday.addSetElement(1, 0, false);
    friday.addSetElement(1, 1, true);
    saturday.addSetElement(1, 0, false);
    EXPECT_EQ(show.getNumDependentSets(), 3);
    db->clearUndoStack();
    auto before = dumpDatabase(tracedTables);

    EXPECT_EQ(show.deleteLightShow(), 0);
    EXPECT_TRUE(friday.getSetElements().empty());
    EXPECT_TRUE(saturday.getSetElements().empty());
    EXPECT_EQ(rows("SELECT COUNT(*) FROM GlimraCues"), juce::StringArray({"0"}));
    ASSERT_TRUE(db->undo());
    EXPECT_EQ(dumpDatabase(tracedTables), before);
}

TEST_F(LightShowModelTest, ClearingCuesOrMemosIsOneUndoStepEach)
{
    for (int i = 0; i < 3; ++i)
    {
        show.addCue("Wash", "Red", i, 1, 0, 0);
        show.addMemo("M", "m", i, 0, -1, -1, 4);
    }
    db->clearUndoStack();
    EXPECT_EQ(show.deleteAllCues(), 0);
    show.deleteAllNotes();
    EXPECT_TRUE(show.getCues().empty());
    EXPECT_TRUE(show.getMemos().empty());
    ASSERT_TRUE(db->undo());
    EXPECT_EQ(show.getMemos().size(), 3u);
    EXPECT_TRUE(show.getCues().empty());
    ASSERT_TRUE(db->undo());
    EXPECT_EQ(show.getCues().size(), 3u);
}
