// How late timed MIDI leaves: a chunk of 100 messages spread over 2 s, sent 20
// times through MidiEventModel::transmit to an in-process output, each message
// measured against the moment it was due. Goal: worst lateness under 2 ms.
#include "data/MidiEventModel.h"
#include "data/VmDatabase.h"
#include "engine/MidiServer.h"
#include "platform/Dialogs.h"
#include "platform/MidiDevices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

namespace
{
constexpr int messagesPerChunk = 100, rounds = 20;
constexpr double spreadSeconds = 2.0, goalMs = 2.0;

double now()
{
    return juce::Time::getMillisecondCounterHiRes();
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[size_t(std::lround(p * double(v.size() - 1)))];
}
} // namespace

int main()
{
    RecordingResponder dialogs;
    Dialogs::setResponder(&dialogs);

    InProcessMidiDevices devices;
    auto& out = devices.addOutput("Bench Out");
    MidiDevices::setProvider(&devices);

    auto& db = *VmDatabase::getInstance();
    db.newMemoryDb();
    MidiEventModel chunk;
    chunk.createMidiEvent("Bench", "Spread");
    std::vector<double> offsetsMs; // where each message lies in the chunk, as sent
    for (int i = 0; i < messagesPerChunk; ++i)
    {
        const double time = spreadSeconds * i / messagesPerChunk;
        if (i % 3 == 0)
            chunk.addMidiMessage(time, "Bench Out", i % 16, 192, i % 128, 0);
        else
            chunk.addMidiMessage(time, "Bench Out", i % 16, i % 3 == 1 ? 144 : 176, i % 128, 64);
        offsetsMs.push_back(std::trunc(time * MidiServer::bufferSampleRate) * 1000.0 /
                            MidiServer::bufferSampleRate);
    }

    std::vector<double> lateness, startAfterCall;
    double earliest = 0, scheduleError = 0;
    // The worst message, and how far past its due time transmit returned: a
    // message thread held up between reading the clock and queueing makes its
    // first messages late before the sending thread sees them.
    double worstLateness = -1, worstQueuedLate = 0;
    int worstIndex = -1;
    bool complete = true;
    for (int r = 0; r < rounds; ++r)
    {
        out.clear();
        const double called = now();
        chunk.transmit();
        const double queued = now();
        if (!out.waitFor(messagesPerChunk, int(spreadSeconds * 1000) + 3000))
            complete = false;
        const auto sent = out.sent();
        if (sent.size() != size_t(messagesPerChunk))
        {
            complete = false;
            continue;
        }
        // Each message carries the moment the server scheduled it for; check that
        // schedule against the rule (start + position * 1000 / 44100), then time it.
        const double start = sent[0].message.getTimeStamp();
        startAfterCall.push_back(start - called);
        for (size_t i = 0; i < sent.size(); ++i)
        {
            const double due = sent[i].message.getTimeStamp();
            scheduleError = std::max(scheduleError, std::abs(due - start - offsetsMs[i]));
            lateness.push_back(sent[i].sentAt - due);
            if (lateness.back() > worstLateness)
            {
                worstLateness = lateness.back();
                worstIndex = int(i);
                worstQueuedLate = queued - due;
            }
            earliest = std::min(earliest, sent[i].sentAt - due);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    MidiServer::deleteInstanceForTesting();
    MidiDevices::setProvider(nullptr);
    db.closeDb();

    if (!complete || lateness.empty() || !dialogs.requests.empty())
    {
        std::printf("FAILED: messages were lost, or an error was shown\n");
        return 1;
    }
    const double median = percentile(lateness, 0.5), p99 = percentile(lateness, 0.99),
                 worst = percentile(lateness, 1.0);
    std::printf("Timed MIDI: %d messages over %.0f s, %d rounds, in-process output\n",
                messagesPerChunk, spreadSeconds, rounds);
    std::printf("  chunk start after the call  %7.3f ms (median; due: 1 ms)\n",
                percentile(startAfterCall, 0.5));
    std::printf("  schedule error              %7.4f ms (worst, against the 44100 rule)\n",
                scheduleError);
    std::printf("  lateness median             %7.3f ms\n", median);
    std::printf("  lateness 99th percentile    %7.3f ms\n", p99);
    std::printf("  lateness worst              %7.3f ms\n", worst);
    std::printf("  earliest (negative = early) %7.3f ms\n", earliest);
    std::printf("  worst was message %d of the chunk; transmit returned %.3f ms %s its due time\n",
                worstIndex + 1, std::abs(worstQueuedLate),
                worstQueuedLate > 0 ? "after" : "before");
    std::printf("  goal: worst lateness under %.0f ms, nothing early: %s\n", goalMs,
                worst < goalMs && earliest >= 0 && scheduleError < 0.001 ? "met" : "NOT met");
    return 0;
}
