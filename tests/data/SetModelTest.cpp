#include "data/SetModel.h"
#include "TestSupport.h"
#include "data/VmDatabase.h"

#include <gtest/gtest.h>

namespace
{
class SetModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db->newMemoryDb();
        db->execDML("INSERT INTO AudioFiles(Name,Path) VALUES('Song','A/Song.wav');");
        for (int i = 1; i <= 5; ++i)
            db->execQuery("INSERT INTO LightShows(Name,AudioFileID) VALUES('LS" + juce::String(i) +
                          "',1)");
        show.createSet("Friday", "Club");
        db->clearUndoStack();
    }
    void TearDown() override { db->closeDb(); }

    // "lightshow:PlayOrder:AutoStart" for each song, in order.
    juce::StringArray songs(const SetModel& s)
    {
        juce::StringArray r;
        for (auto& e : s.getSetElements())
            r.add(juce::String(e.getIntField("LightShowID")) + ":" +
                  juce::String(e.getIntField("PlayOrder")) + ":" +
                  juce::String(e.getIntField("AutoStart")));
        return r;
    }

    VmDatabase* db = VmDatabase::getInstance();
    SetModel show;
};
} // namespace

TEST_F(SetModelTest, SongsAreInsertedAtTheirPlaceAndRenumbered)
{
    show.addSetElement(1, 0, false); // empty show, first place
    EXPECT_EQ(songs(show), juce::StringArray({"1:0:0"}));
    show.addSetElement(2, 1, false);
    show.addSetElement(3, 99, true); // beyond the end appends
    show.addSetElement(4, 1, false);
    EXPECT_EQ(songs(show), juce::StringArray({"1:0:0", "4:1:0", "2:2:0", "3:3:1"}));

    ASSERT_TRUE(db->undo()); // the last insert, with its renumbering
    EXPECT_EQ(songs(show), juce::StringArray({"1:0:0", "2:1:0", "3:99:1"}));
    show.addSetElement(5, 0, false);
    EXPECT_EQ(songs(show), juce::StringArray({"5:0:0", "1:1:0", "2:2:0", "3:3:1"}));
}

TEST_F(SetModelTest, CopyingAShowKeepsItsSongsInOrderNumberedFromZero)
{
    db->execDML("INSERT INTO SetElements(SetID,LightShowID,PlayOrder,AutoStart,Note) "
                "VALUES(1,3,10,1,'encore');"
                "INSERT INTO SetElements(SetID,LightShowID,PlayOrder,AutoStart) VALUES(1,1,4,0);"
                "INSERT INTO SetElements(SetID,LightShowID,PlayOrder,AutoStart) VALUES(1,2,4,1);");
    SetModel copy;
    copy.cloneSet(1, "Friday's copy", "Tour");
    EXPECT_EQ(copy.getStringField("Name"), "Friday's copy");
    EXPECT_EQ(copy.getStringField("Folder"), "Tour");
    EXPECT_EQ(songs(copy), juce::StringArray({"1:0:0", "2:1:1", "3:2:1"}));
    EXPECT_EQ(db->execQuery("SELECT COUNT(*) FROM SetElements WHERE SetID=2 AND Note IS NOT NULL")
                  .getIntField(0),
              0);

    copy.pasteSet(copy); // onto itself: nothing lost
    EXPECT_EQ(songs(copy).size(), 3);
}

TEST_F(SetModelTest, DeletingAShowIsOneUndoStep)
{
    show.addSetElement(1, 0, false);
    show.addSetElement(2, 1, true);
    db->clearUndoStack();
    auto before = dumpDatabase(tracedTables);
    show.deleteSet();
    EXPECT_EQ(db->execQuery("SELECT COUNT(*) FROM SetElements").getIntField(0), 0);
    ASSERT_TRUE(db->undo());
    EXPECT_EQ(dumpDatabase(tracedTables), before);
    EXPECT_FALSE(db->undo());

    auto song = show.getSetElements()[0];
    song.deleteSetElement();
    EXPECT_EQ(songs(show), juce::StringArray({"2:1:1"}));
}
