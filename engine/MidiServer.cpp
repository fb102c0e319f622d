#include "engine/MidiServer.h"

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

namespace
{
double now()
{
    return juce::Time::getMillisecondCounterHiRes();
}

// Sleeping can wake late by a fraction of a millisecond or more; the last
// stretch before a message is due is spent yielding instead.
constexpr double spinMarginMs = 1.0;

// The millisecond counter moved to the high-resolution clock the sending
// threads wait on. The counter is 32 bits wide and wraps, need not share its
// origin with the high-resolution clock, and is truncated to whole
// milliseconds: read naively, the distance between the two clocks wobbles
// within a millisecond from call to call, and two buffers given the same start
// would land a fraction apart, out of the order they were queued in. So the
// distance is measured once, at the moment the counter ticks, and kept until
// the clocks disagree with it by more than the truncation can explain (the
// counter wrapped, or a clock was stepped).
class CounterClock
{
public:
    double toHiRes(double counterMs)
    {
        const auto counterNow = juce::Time::getMillisecondCounter();
        const double hiResNow = now();
        if (!std::isfinite(counterMs))
            return hiResNow;

        double offset = measuredOffset.load(std::memory_order_relaxed);
        const double seen = hiResNow - (double)counterNow;
        if (!(seen > offset - 0.5 && seen < offset + 1.5))
        {
            offset = measure();
            measuredOffset.store(offset, std::memory_order_relaxed);
        }
        const double counterStart =
            (double)counterNow + std::remainder(counterMs - (double)counterNow, 4294967296.0);
        return counterStart + offset;
    }

private:
    static double measure()
    {
        // Waits for the counter's next tick (at most a millisecond), when the
        // truncation is zero.
        const auto before = juce::Time::getMillisecondCounter();
        auto ticked = before;
        double hiRes = now();
        const double giveUp = hiRes + 5.0;
        while (ticked == before && hiRes < giveUp)
        {
            ticked = juce::Time::getMillisecondCounter();
            hiRes = now();
        }
        return hiRes - (double)ticked;
    }

    std::atomic<double> measuredOffset{std::numeric_limits<double>::quiet_NaN()};
};

CounterClock counterClock;
} // namespace

// One open output and the thread that sends its timed messages.
class MidiServer::Sender : private juce::Thread
{
public:
    Sender(const juce::String& name, std::unique_ptr<MidiOutputPort> p)
        : juce::Thread("MIDI out " + name), port(std::move(p))
    {
#if JUCE_LINUX || JUCE_BSD
        // A realtime thread where the system allows one: timing then holds up
        // while the machine is busy. It sleeps almost all the time.
        if (!startRealtimeThread(juce::Thread::RealtimeOptions{8, 0}))
#endif
            startThread(juce::Thread::Priority::highest);
    }

    ~Sender() override
    {
        clearPending();
        {
            std::lock_guard<std::mutex> l(queueLock);
            stopping = true;
        }
        wake.notify_all();
        stopThread(2000);
    }

    void sendNow(juce::MidiMessage message)
    {
        message.setTimeStamp(now());
        send(message);
    }

    void queue(const juce::MidiBuffer& buffer, double startHiRes)
    {
        // Built before taking the lock, so the sending thread is kept waiting
        // for no more than the insertions.
        std::vector<std::pair<double, juce::MidiMessage>> events;
        for (const auto event : buffer)
        {
            const double due = startHiRes + event.samplePosition * 1000.0 / bufferSampleRate;
            auto message = event.getMessage();
            message.setTimeStamp(due);
            events.emplace_back(due, std::move(message));
        }
        if (events.empty())
            return;
        {
            std::lock_guard<std::mutex> l(queueLock);
            // A multimap keeps equal keys in insertion order: messages due at the
            // same moment leave in buffer order, and earlier buffers first.
            for (auto& e : events)
                pending.emplace(e.first, std::move(e.second));
        }
        wake.notify_one();
    }

    void clearPending()
    {
        std::lock_guard<std::mutex> l(queueLock);
        pending.clear();
    }

private:
    void run() override
    {
        std::unique_lock<std::mutex> l(queueLock);
        while (!stopping)
        {
            if (pending.empty())
            {
                wake.wait(l);
                continue;
            }
            const double due = pending.begin()->first;
            const double early = due - now();
            if (early > spinMarginMs)
            {
                // Woken early by a new buffer, the loop looks at the queue again.
                wake.wait_for(l, std::chrono::duration<double, std::milli>(early - spinMarginMs));
                continue;
            }
            if (early > 0)
            {
                l.unlock();
                while (now() < due)
                    std::this_thread::yield();
                l.lock();
                continue; // the queue may have changed meanwhile
            }
            auto next = pending.extract(pending.begin());
            l.unlock();
            send(next.mapped());
            l.lock();
        }
    }

    void send(const juce::MidiMessage& message)
    {
        // The message thread and this one may both send; a port takes one at a time.
        std::lock_guard<std::mutex> l(portLock);
        port->sendMessageNow(message);
    }

    std::unique_ptr<MidiOutputPort> port;
    std::mutex portLock;

    std::mutex queueLock;
    std::condition_variable wake;
    std::multimap<double, juce::MidiMessage> pending; // by due time, high-resolution clock
    bool stopping = false;
};

std::atomic<MidiServer*> MidiServer::_singletonInstance{nullptr};
juce::CriticalSection MidiServer::_singletonLock;
bool MidiServer::alreadyInside = false;

MidiServer* MidiServer::getInstance()
{
    if (auto* existing = _singletonInstance.load(std::memory_order_acquire))
        return existing;

    const juce::ScopedLock sl(_singletonLock);
    if (auto* existing = _singletonInstance.load(std::memory_order_acquire))
        return existing;
    if (alreadyInside)
        return nullptr; // asked for from inside its own construction

    alreadyInside = true;
    auto* created = new MidiServer();
    alreadyInside = false;
    _singletonInstance.store(created, std::memory_order_release);
    return created;
}

void MidiServer::deleteInstanceForTesting()
{
    const juce::ScopedLock sl(_singletonLock);
    delete _singletonInstance.exchange(nullptr);
}

MidiServer::MidiServer()
{
    auto& devices = MidiDevices::getProvider();
    const auto names = devices.getOutputNames();
    for (int i = 0; i < names.size(); ++i)
    {
        // Of two devices with one name, the later in the list is the one kept.
        std::unique_ptr<Sender> sender;
        if (auto port = devices.openOutput(i))
            sender = std::make_unique<Sender>(names[i], std::move(port));
        outputs[names[i]] = std::move(sender);
    }
}

MidiServer::~MidiServer()
{
    // Each sender drops what is still queued, stops its thread and closes its port.
    outputs.clear();
}

MidiServer::Sender* MidiServer::find(const juce::String& deviceName) const
{
    auto it = outputs.find(deviceName);
    return it == outputs.end() ? nullptr : it->second.get();
}

void MidiServer::sendMessage(const juce::String& deviceName, const juce::MidiMessage& message)
{
    if (auto* sender = find(deviceName))
        sender->sendNow(message);
}

void MidiServer::sendBuffer(const juce::String& deviceName, const juce::MidiBuffer& buffer,
                            double startMs)
{
    if (auto* sender = find(deviceName))
        sender->queue(buffer, counterClock.toHiRes(startMs));
}
