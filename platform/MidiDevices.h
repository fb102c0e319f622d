#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

// The MIDI outputs the program can reach. The MIDI server asks for them once;
// a test installs outputs of its own that keep what they were sent.

// One open MIDI output.
class MidiOutputPort
{
public:
    virtual ~MidiOutputPort() = default;
    // Puts the message's bytes on the wire now. Its time stamp is the moment it
    // was due, in milliseconds of juce::Time::getMillisecondCounterHiRes. The
    // caller never sends two messages to one port at the same time.
    virtual void sendMessageNow(const juce::MidiMessage& message) = 0;
};

class MidiDeviceProvider
{
public:
    virtual ~MidiDeviceProvider() = default;
    // The names of the outputs present, in the system's order.
    virtual juce::StringArray getOutputNames() = 0;
    // Opens the index-th output of the last getOutputNames list; nullptr when it
    // cannot be opened.
    virtual std::unique_ptr<MidiOutputPort> openOutput(int index) = 0;
};

class MidiDevices
{
public:
    // Installs a provider (not owned); nullptr restores the system's outputs.
    static void setProvider(MidiDeviceProvider* provider);
    static MidiDeviceProvider& getProvider();
};

// A message as it left an in-process output.
struct SentMidiMessage
{
    juce::MidiMessage message; // time stamp: when it was due
    double sentAt = 0;         // juce::Time::getMillisecondCounterHiRes when it left
};

// Everything an in-process output was sent. Safe to read while the sending
// thread writes.
class MidiOutputLog
{
public:
    MidiOutputLog();
    void record(const juce::MidiMessage& message);

    std::vector<SentMidiMessage> sent() const;
    // The bytes of every message, in the order they left.
    std::vector<std::vector<juce::uint8>> bytes() const;
    // Waits until at least count messages have left; false when timeoutMs ran out first.
    bool waitFor(size_t count, int timeoutMs) const;
    void clear();

private:
    mutable std::mutex lock;
    mutable std::condition_variable arrived;
    std::vector<SentMidiMessage> log;
    mutable size_t awaited = 0; // the count a waiter waits for
};

// Outputs that live in this process, for tests and benchmarks.
class InProcessMidiDevices : public MidiDeviceProvider
{
public:
    // Lists an output; one that does not open is listed but never reachable.
    // The log stays valid as long as this provider.
    MidiOutputLog& addOutput(const juce::String& name, bool opens = true);
    int getOpenCount() const { return openCount; }

    juce::StringArray getOutputNames() override;
    std::unique_ptr<MidiOutputPort> openOutput(int index) override;

private:
    struct Output
    {
        juce::String name;
        bool opens;
        MidiOutputLog log;
    };
    std::deque<Output> outputs;
    std::atomic<int> openCount{0};
};
