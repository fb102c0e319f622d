#pragma once

#include "platform/MidiDevices.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <map>
#include <memory>

// The one way out to the MIDI outputs. Every output present when the server is
// first asked for is opened once and kept under its device name; callers send a
// single message now, or a buffer of timed messages, by naming the device. A
// name that is not there (unplugged, misspelt, empty) is dropped in silence.
class MidiServer
{
public:
    // Safe from any thread; the first call opens the outputs.
    static MidiServer* getInstance();
    virtual ~MidiServer();

    // Buffer positions are samples at this rate, whatever the audio device runs at.
    static constexpr double bufferSampleRate = 44100.0;

    // Sends at once, on the calling thread.
    void sendMessage(const juce::String& deviceName, const juce::MidiMessage& message);

    // Queues every event of the buffer to leave at startMs + position * 1000 /
    // bufferSampleRate; startMs is on the juce::Time::getMillisecondCounter
    // clock. Returns at once; the output's own thread does the sending. Queued
    // buffers never cancel each other; events due at the same moment leave in
    // the order they were queued.
    void sendBuffer(const juce::String& deviceName, const juce::MidiBuffer& buffer, double startMs);

    // Tests only, with no other thread using the server: drops the instance
    // (pending messages are discarded), so that the next getInstance opens the
    // outputs of the provider installed then.
    static void deleteInstanceForTesting();

private:
    MidiServer();
    class Sender;
    Sender* find(const juce::String& deviceName) const;

    // Filled once by the constructor and never changed, so lookups need no lock.
    // An entry without a sender is a device that did not open.
    std::map<juce::String, std::unique_ptr<Sender>> outputs;

    static std::atomic<MidiServer*> _singletonInstance;
    static juce::CriticalSection _singletonLock;
    static bool alreadyInside;
};
