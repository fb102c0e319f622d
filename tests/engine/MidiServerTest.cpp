#include "engine/MidiServer.h"
#include "MidiTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <future>
#include <set>
#include <thread>

namespace
{
juce::MidiBuffer bufferOf(std::initializer_list<std::pair<int, int>> positionAndNote)
{
    juce::MidiBuffer buffer;
    for (auto [position, note] : positionAndNote)
        buffer.addEvent(juce::MidiMessage::noteOn(1, note, (juce::uint8)100), position);
    return buffer;
}

std::vector<int> notesOf(const MidiOutputLog& log)
{
    std::vector<int> notes;
    for (auto& s : log.sent())
        notes.push_back(s.message.getNoteNumber());
    return notes;
}

double counterNow()
{
    return juce::Time::getMillisecondCounter();
}
} // namespace

TEST(MidiServerTest, SendsToMissingOrUnopenedDevicesAndEmptyBuffersAreDroppedSilently)
{
    {
        ScopedMidiDevices none;
        auto* server = MidiServer::getInstance();
        ASSERT_NE(server, nullptr);
        server->sendMessage("Synth", juce::MidiMessage::programChange(1, 5));
        server->sendBuffer("Synth", bufferOf({{0, 60}}), counterNow() + 1);
    }

    ScopedMidiDevices midi;
    auto& broken = midi.devices.addOutput("Broken", false);
    auto& synth = midi.devices.addOutput("Synth");
    auto* server = MidiServer::getInstance();
    server->sendMessage("Broken", juce::MidiMessage::programChange(1, 5));
    server->sendBuffer("Broken", bufferOf({{0, 60}}), counterNow() + 1);
    server->sendBuffer("Synth", juce::MidiBuffer(), counterNow() + 1);
    EXPECT_FALSE(synth.waitFor(1, 50));
    EXPECT_TRUE(broken.sent().empty());
}

TEST(MidiServerTest, NamesMatchExactlyAndOfTwoEqualNamesTheLaterIsUsed)
{
    ScopedMidiDevices midi;
    auto& first = midi.devices.addOutput("Synth");
    auto& second = midi.devices.addOutput("Synth");
    auto* server = MidiServer::getInstance();

    for (auto* name : {"synth", "SYNTH", "Synth ", " Synth", "Synth"})
        server->sendMessage(name, juce::MidiMessage::programChange(2, 5));

    // A single message leaves on the calling thread, before the call returns.
    EXPECT_EQ(second.bytes(), (MidiBytes{{193, 5}}));
    EXPECT_TRUE(first.sent().empty());
}

TEST(MidiServerTest, BufferPositionsAreSamplesAt44100FromTheStart)
{
    ScopedMidiDevices midi;
    auto& synth = midi.devices.addOutput("Synth");
    auto* server = MidiServer::getInstance();

    // It only queues: nothing has left when the call returns.
    const double called = juce::Time::getMillisecondCounterHiRes();
    server->sendBuffer("Synth", bufferOf({{0, 60}, {44100, 61}}), counterNow() + 100);
    EXPECT_TRUE(synth.sent().empty());
    ASSERT_TRUE(synth.waitFor(2, 3000));

    // Loose bounds: a busy machine may wake the sending thread late, and the
    // benchmark measures the real precision.
    auto sent = synth.sent();
    EXPECT_EQ(notesOf(synth), (std::vector<int>{60, 61}));
    EXPECT_NEAR(sent[0].sentAt - called, 100.0, 50.0);
    EXPECT_NEAR(sent[1].sentAt - called, 1100.0, 50.0);
}

TEST(MidiServerTest, BuffersQueueBehindEachOtherAndEqualTimesKeepTheOrderQueued)
{
    ScopedMidiDevices midi;
    auto& synth = midi.devices.addOutput("Synth");
    auto* server = MidiServer::getInstance();

    const double start = counterNow() + 50;
    server->sendBuffer("Synth", bufferOf({{0, 10}, {0, 11}, {4410, 12}}), start);
    server->sendBuffer("Synth", bufferOf({{2205, 21}, {0, 20}}), start);
    server->sendBuffer("Synth", bufferOf({{0, 30}}), start - 1000); // already due
    ASSERT_TRUE(synth.waitFor(6, 3000));

    EXPECT_EQ(notesOf(synth), (std::vector<int>{30, 10, 11, 20, 21, 12}));

    // Queued over several ticks of the millisecond counter, buffers with one
    // start still leave in the order they were queued.
    synth.clear();
    const double later = counterNow() + 100;
    std::vector<int> queued;
    for (int note = 40; note < 100; ++note)
    {
        server->sendBuffer("Synth", bufferOf({{0, note}}), later);
        queued.push_back(note);
        const double until = juce::Time::getMillisecondCounterHiRes() + 0.1;
        while (juce::Time::getMillisecondCounterHiRes() < until)
            std::this_thread::yield();
    }
    ASSERT_TRUE(synth.waitFor(queued.size(), 3000));
    EXPECT_EQ(notesOf(synth), queued);
}

TEST(MidiServerTest, DroppingTheServerDiscardsWhatIsPending)
{
    ScopedMidiDevices midi;
    auto& synth = midi.devices.addOutput("Synth");
    MidiServer::getInstance()->sendBuffer("Synth", bufferOf({{0, 60}, {4410, 61}}),
                                          counterNow() + 200);
    MidiServer::deleteInstanceForTesting();
    EXPECT_FALSE(synth.waitFor(1, 400));
}

TEST(MidiServerTest, EveryThreadGetsTheOneInstanceAndEachOutputOpensOnce)
{
    ScopedMidiDevices midi;
    midi.devices.addOutput("Synth");
    midi.devices.addOutput("Bass");

    std::vector<std::future<MidiServer*>> callers;
    for (int i = 0; i < 8; ++i)
        callers.push_back(std::async(std::launch::async, [] { return MidiServer::getInstance(); }));
    std::set<MidiServer*> instances;
    for (auto& c : callers)
        instances.insert(c.get());

    EXPECT_EQ(instances, std::set<MidiServer*>{MidiServer::getInstance()});
    EXPECT_EQ(midi.devices.getOpenCount(), 2);
}
