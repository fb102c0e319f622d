#include "platform/MidiDevices.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>

namespace
{
class SystemMidiPort : public MidiOutputPort
{
public:
    explicit SystemMidiPort(std::unique_ptr<juce::MidiOutput> o) : output(std::move(o)) {}
    void sendMessageNow(const juce::MidiMessage& message) override
    {
        output->sendMessageNow(message);
    }

private:
    std::unique_ptr<juce::MidiOutput> output;
};

class SystemMidiDevices : public MidiDeviceProvider
{
public:
    juce::StringArray getOutputNames() override
    {
        // Kept, so that an index refers to the list the caller saw.
        devices = juce::MidiOutput::getAvailableDevices();
        juce::StringArray names;
        for (auto& d : devices)
            names.add(d.name);
        return names;
    }

    std::unique_ptr<MidiOutputPort> openOutput(int index) override
    {
        if (!juce::isPositiveAndBelow(index, devices.size()))
            return nullptr;
        if (auto output = juce::MidiOutput::openDevice(devices.getReference(index).identifier))
            return std::make_unique<SystemMidiPort>(std::move(output));
        return nullptr;
    }

private:
    juce::Array<juce::MidiDeviceInfo> devices;
};

std::atomic<MidiDeviceProvider*> installedProvider{nullptr};

class LogPort : public MidiOutputPort
{
public:
    explicit LogPort(MidiOutputLog& l) : log(l) {}
    void sendMessageNow(const juce::MidiMessage& message) override { log.record(message); }

private:
    MidiOutputLog& log;
};
} // namespace

void MidiDevices::setProvider(MidiDeviceProvider* provider)
{
    installedProvider = provider;
}

MidiDeviceProvider& MidiDevices::getProvider()
{
    if (auto* provider = installedProvider.load())
        return *provider;
    static SystemMidiDevices system;
    return system;
}

MidiOutputLog::MidiOutputLog()
{
    // Growing the log must not delay the sending thread in a timing run.
    log.reserve(8192);
}

void MidiOutputLog::record(const juce::MidiMessage& message)
{
    const auto now = juce::Time::getMillisecondCounterHiRes();
    bool wanted;
    {
        std::lock_guard<std::mutex> l(lock);
        log.push_back({message, now});
        wanted = log.size() == awaited;
    }
    // Only the message a waiter asked for wakes it: a waiter woken by every
    // message would keep taking the lock the sending thread needs next.
    if (wanted)
        arrived.notify_all();
}

std::vector<SentMidiMessage> MidiOutputLog::sent() const
{
    std::lock_guard<std::mutex> l(lock);
    return log;
}

std::vector<std::vector<juce::uint8>> MidiOutputLog::bytes() const
{
    std::vector<std::vector<juce::uint8>> result;
    for (auto& s : sent())
    {
        auto* raw = s.message.getRawData();
        result.emplace_back(raw, raw + s.message.getRawDataSize());
    }
    return result;
}

bool MidiOutputLog::waitFor(size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> l(lock);
    awaited = count;
    return arrived.wait_for(l, std::chrono::milliseconds(timeoutMs),
                            [&] { return log.size() >= count; });
}

void MidiOutputLog::clear()
{
    std::lock_guard<std::mutex> l(lock);
    log.clear();
}

MidiOutputLog& InProcessMidiDevices::addOutput(const juce::String& name, bool opens)
{
    outputs.emplace_back();
    outputs.back().name = name;
    outputs.back().opens = opens;
    return outputs.back().log;
}

juce::StringArray InProcessMidiDevices::getOutputNames()
{
    juce::StringArray names;
    for (auto& o : outputs)
        names.add(o.name);
    return names;
}

std::unique_ptr<MidiOutputPort> InProcessMidiDevices::openOutput(int index)
{
    if (!juce::isPositiveAndBelow(index, (int)outputs.size()) || !outputs[(size_t)index].opens)
        return nullptr;
    ++openCount;
    return std::make_unique<LogPort>(outputs[(size_t)index].log);
}
