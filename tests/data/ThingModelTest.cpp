#include "data/ThingModel.h"
#include "TestSupport.h"
#include "data/VmDatabase.h"

#include <gtest/gtest.h>

namespace
{
class ThingModelTest : public ::testing::Test
{
protected:
    void SetUp() override { db->newMemoryDb(); }
    void TearDown() override { db->closeDb(); }
    VmDatabase* db = VmDatabase::getInstance();
};

} // namespace

TEST_F(ThingModelTest, NamedValuesAreKeptAsTypedWithoutUndoOrNotification)
{
    ScopedObserver recorder;
    ThingModel things;
    things.addThing("Recent", "Bob's set");
    things.addThing("Recent", "C:\\Gigs");
    EXPECT_EQ(things.getThings("Recent"), (std::vector<juce::String>{"2|Bob's set", "3|C:\\Gigs"}));

    things.saveThings("Recent", {"a'", "b"});
    EXPECT_EQ(things.getThings("Recent"), (std::vector<juce::String>{"4|a'", "5|b"}));

    ThingModel(4).overwriteThing("it's 'quoted'");
    EXPECT_EQ(things.getThings("Recent")[0], "4|it's 'quoted'");
    ThingModel five(5);
    five.deleteThing();
    EXPECT_EQ(five.getRecordId(), 0);
    EXPECT_EQ(things.getThings("Recent").size(), 1u);

    things.saveThingWithId("Col'Width", 3, "120");
    things.saveThingWithId("Col'Width", 3, "140");
    things.saveThingWithId("Col'Width", 4, "90");
    EXPECT_EQ(things.getThingWithId("Col'Width", 3), "140");
    EXPECT_EQ(things.getThingWithId("Col'Width", 4), "90");
    EXPECT_EQ(things.getThingWithId("Col'Width", 5), "");
    EXPECT_EQ(things.getThings("Col'Width").size(), 2u);

    EXPECT_EQ(db->execQuery("SELECT COUNT(*) FROM UndoStack").getIntField(0), 0);
    EXPECT_TRUE(recorder.calls.isEmpty());

    db->closeDb();
    EXPECT_TRUE(things.getThings("SchemaVersion").empty());
}
