#include "data/MidiEventModel.h"
#include "MidiTestSupport.h"
#include "TestSupport.h"
#include "data/VmDatabase.h"

#include <gtest/gtest.h>

namespace
{
class MidiEventModelTest : public ::testing::Test
{
protected:
    void SetUp() override { db->newMemoryDb(); }
    void TearDown() override { db->closeDb(); }

    int count(const juce::String& sql) { return db->execQuery(sql).getIntField(0); }
    juce::String value(const juce::String& sql) { return db->execQuery(sql).getStringField(0); }

    MidiEventModel chunk(const juce::String& category, const juce::String& name)
    {
        MidiEventModel c;
        c.createMidiEvent(category, name);
        return c;
    }

    // A chunk's messages in list order, one "time|device|channel|message|data1|data2" each.
    juce::StringArray listed(const MidiEventModel& c)
    {
        juce::StringArray rows;
        for (auto& m : c.getMidiMessages())
            rows.add(juce::StringArray{m.getStringField("Time"), m.getStringField("OutDevice"),
                                       m.getStringField("Channel"), m.getStringField("Message"),
                                       m.getStringField("Data1"), m.getStringField("Data2")}
                         .joinIntoString("|"));
        return rows;
    }

    VmDatabase* db = VmDatabase::getInstance();
};

} // namespace

TEST_F(MidiEventModelTest, ANewChunkIsAnnouncedAndFoundByIdOrExactCategoryAndName)
{
    RecordingObserver recorder;
    db->addObs(&recorder);
    auto intro = chunk("Keys", "Bob's \"Intro\"");
    db->deleteObs(&recorder);
    ASSERT_GT(intro.getRecordId(), 0);
    EXPECT_EQ(recorder.calls, juce::StringArray{"MidiEvents:" + juce::String(intro.getRecordId())});
    EXPECT_EQ(intro.getFullName(), "Keys: Bob's \"Intro\"");

    MidiEventModel probe;
    EXPECT_TRUE(probe.doesEventExist("Keys", "Bob's \"Intro\""));
    EXPECT_FALSE(probe.doesEventExist("keys", "Bob's \"Intro\""));
    EXPECT_FALSE(probe.doesEventExist("Bob's \"Intro\"", "Keys"));
    EXPECT_FALSE(probe.getMidiEvent(intro.getRecordId() + 1));
    EXPECT_EQ(probe.getRecordId(), 0);
    EXPECT_TRUE(probe.getMidiEvent(intro.getRecordId()));
    EXPECT_EQ(probe.getRecordId(), intro.getRecordId());

    ASSERT_TRUE(db->undo());
    EXPECT_FALSE(probe.doesEventExist("Keys", "Bob's \"Intro\""));
}

TEST_F(MidiEventModelTest, AFailedInsertLeavesTheModelWithoutARowInsteadOfAnother)
{
    auto first = chunk("Keys", "Intro");
    db->execQuery("CREATE TEMP TRIGGER refuse BEFORE INSERT ON MidiEvents "
                  "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    RecordingObserver recorder;
    db->addObs(&recorder);
    ScopedDialogs dialogs;
    auto second = chunk("Keys", "Outro");
    db->deleteObs(&recorder);

    EXPECT_EQ(second.getRecordId(), 0); // not the row of the last successful insert
    EXPECT_TRUE(recorder.calls.isEmpty());
    EXPECT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(first.getFullName(), "Keys: Intro");
}

TEST_F(MidiEventModelTest, MessagesAreStoredAsGivenAndThoseWithoutADeviceAreListedLast)
{
    auto intro = chunk("Keys", "Intro");
    auto other = chunk("Keys", "Other");
    intro.addMidiMessage(1.5, "Synth", 0, 144, 60, 100);
    intro.addMidiMessage(0.25, "", 0, 192, 0, 0);
    intro.addMidiMessage(0.5, "Bob's Synth", 1, 176, 7, 90);
    intro.addMidiMessage(0.5, "Bass", 3, 192, 5, 0);
    intro.addMidiMessage(0.5, "Bass", 0, 192, 6, 0);
    intro.addMidiMessage(0.0, "Synth", 2, 128, 60, 0);
    other.addMidiMessage(0.0, "Synth", 0, 192, 1, 0);

    EXPECT_EQ(listed(intro), juce::StringArray({"0.0|Synth|2|128|60|0", "0.5|Bass|0|192|6|0",
                                                "0.5|Bass|3|192|5|0", "0.5|Bob's Synth|1|176|7|90",
                                                "1.5|Synth|0|144|60|100", "0.25||0|192|0|0"}));

    intro.getMidiMessages()[1].deleteMidiMessage();
    EXPECT_EQ(listed(intro).size(), 5);
    EXPECT_FALSE(listed(intro).contains("0.5|Bass|0|192|6|0"));

    intro.deleteAllMidiMessages();
    EXPECT_TRUE(listed(intro).isEmpty());
    EXPECT_EQ(listed(other), juce::StringArray{"0.0|Synth|0|192|1|0"});
    EXPECT_EQ(count("SELECT COUNT(*) FROM UndoStack"),
              2); // the two chunks; messages are not traced
}

TEST_F(MidiEventModelTest, CopiesTakeEveryMessageAndPastingAChunkOntoItselfKeepsThem)
{
    auto intro = chunk("Keys", "Intro");
    intro.addMidiMessage(0.0, "Bob's Synth", 1, 176, 7, 90);
    intro.addMidiMessage(2.125, "Bass", 0, 144, 40, 127);
    intro.addMidiMessage(0.0, "", 0, 192, 0, 0);
    const auto original = listed(intro);

    MidiEventModel copy;
    copy.cloneMidiEvent(intro.getRecordId(), "Keys", "Intro (copy)");
    ASSERT_NE(copy.getRecordId(), intro.getRecordId());
    EXPECT_EQ(copy.getFullName(), "Keys: Intro (copy)");
    EXPECT_EQ(listed(copy), original);

    auto target = chunk("Pads", "Swell");
    target.addMidiMessage(1.0, "Synth", 0, 192, 3, 0);
    target.pasteMidiEvent(intro);
    EXPECT_EQ(listed(target), original);

    intro.pasteMidiEvent(intro);
    EXPECT_EQ(listed(intro), original);

    target.pasteMidiEvent(chunk("Pads", "Empty"));
    EXPECT_TRUE(listed(target).isEmpty());
    EXPECT_EQ(listed(intro), original);
}

TEST_F(MidiEventModelTest, DeletingAChunkIsOneUndoableStepThatBringsBackTheMemoReferencesOnly)
{
    auto intro = chunk("Keys", "Intro");
    auto outro = chunk("Keys", "Outro");
    intro.addMidiMessage(0.0, "Synth", 0, 192, 5, 0);
    intro.addMidiMessage(1.0, "Synth", 0, 192, 6, 0);
    outro.addMidiMessage(0.0, "Synth", 0, 192, 7, 0);
    db->execDML(
        "INSERT INTO AudioFiles(Name,Path) VALUES('Song','A/Song.wav');"
        "INSERT INTO LightShows(Name,AudioFileID) VALUES('LS',1);"
        "INSERT INTO ShowMemos(LightShowID,ShortName,StartMidiEventID,EndMidiEventID) "
        "VALUES(1,'Both ends',1,1);"
        "INSERT INTO ShowMemos(LightShowID,ShortName,EndMidiEventID) VALUES(1,'End',1);"
        "INSERT INTO ShowMemos(LightShowID,ShortName,StartMidiEventID) VALUES(1,'Other',2);");
    db->clearUndoStack();
    EXPECT_EQ(intro.getUsageCount(), 2); // the memo sending it at both ends counts once
    EXPECT_EQ(outro.getUsageCount(), 1);

    intro.deleteMidiEvent();
    EXPECT_FALSE(intro.doesEventExist("Keys", "Intro"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM MidiMessages WHERE MidiEventID=1"), 0);
    EXPECT_EQ(intro.getUsageCount(), 0);
    EXPECT_EQ(value("SELECT Desc FROM UndoStack WHERE rowid=(SELECT MAX(rowid) FROM UndoStack)"),
              "Delete MIDI Chunk");

    ASSERT_TRUE(db->undo());
    EXPECT_EQ(intro.getFullName(), "Keys: Intro");
    EXPECT_EQ(intro.getUsageCount(), 2);
    EXPECT_EQ(value("SELECT group_concat(quote(StartMidiEventID)||'/'||quote(EndMidiEventID)) "
                    "FROM ShowMemos"),
              "1/1,NULL/1,2/NULL");
    EXPECT_TRUE(listed(intro).isEmpty()); // messages are not traced
    EXPECT_EQ(listed(outro).size(), 1);
    EXPECT_FALSE(db->undo());
}

TEST_F(MidiEventModelTest, TransmitSendsOneTimedBufferPerDeviceFromOneMillisecondAfterTheCall)
{
    ScopedMidiDevices midi;
    auto& synth = midi.devices.addOutput("Synth");
    auto& bass = midi.devices.addOutput("Bass");
    auto& unnamed = midi.devices.addOutput("");

    auto intro = chunk("Keys", "Intro");
    intro.addMidiMessage(0.0, "Synth", 2, 192, 5, 99); // program change: two bytes
    intro.addMidiMessage(0.0, "Synth", 0, 144, 60, 100);
    intro.addMidiMessage(0.5, "Bass", 15, 176, 7, 127);
    intro.addMidiMessage(0.0, "", 0, 192, 1, 0);
    intro.addMidiMessage(0.0, "synth", 0, 192, 2, 0); // names are matched exactly
    intro.addMidiMessage(0.0, "Unplugged", 0, 192, 3, 0);

    const double called = juce::Time::getMillisecondCounterHiRes();
    intro.transmit();
    ASSERT_TRUE(synth.waitFor(2, 2000));
    ASSERT_TRUE(bass.waitFor(1, 2000));
    EXPECT_FALSE(synth.waitFor(3, 30));

    // Equal times leave in list order: channel 0 before channel 2.
    EXPECT_EQ(synth.bytes(), (MidiBytes{{144, 60, 100}, {194, 5}}));
    EXPECT_EQ(bass.bytes(), (MidiBytes{{191, 7, 127}}));
    EXPECT_TRUE(unnamed.sent().empty());
    // Loose bounds: a busy machine may wake the sending threads late.
    EXPECT_NEAR(synth.sent()[0].sentAt - called, 1.0, 50.0);
    EXPECT_NEAR(bass.sent()[0].sentAt - called, 501.0, 50.0);
}

TEST_F(MidiEventModelTest, TransmitLeavesOutWhatCannotGoOnTheWire)
{
    ScopedMidiDevices midi;
    auto& synth = midi.devices.addOutput("Synth");

    chunk("Keys", "Empty").transmit();

    // Rows no editor writes: from a damaged or hand-edited library.
    auto odd = chunk("Keys", "Odd");
    struct Row
    {
        double time;
        int channel, message, data1, data2;
    };
    for (auto r : {Row{0.0, 16, 144, 60, 100}, Row{0.0, -1, 192, 1, 0}, Row{0.0, 0, 240, 1, 2},
                   Row{0.0, 0, 145, 60, 100}, Row{0.0, 0, 64, 1, 2}, Row{0.0, 0, 176, 128, 0},
                   Row{0.0, 0, 176, 7, -1}, Row{1.0e9, 0, 192, 1, 0}})
        odd.addMidiMessage(r.time, "Synth", r.channel, r.message, r.data1, r.data2);
    odd.addMidiMessage(0.01, "Synth", 0, 192, 4, 200); // data 2 of a program change is not sent
    odd.transmit();

    ASSERT_TRUE(synth.waitFor(1, 2000));
    EXPECT_FALSE(synth.waitFor(2, 50));
    EXPECT_EQ(synth.bytes(), (MidiBytes{{192, 4}}));
}
