// The file player's audio callback: CPU time of one 512-sample block at 44.1 kHz
// while a stereo WAV plays under a running fade, against the 11.6 ms that the
// block lasts. Blocks are rendered at twice the speed of real playback, so that
// the read-ahead thread keeps up as it does on a device; a block that came out
// silent (the read-ahead fell behind) is counted and reported.
#include "app/FormatManager.h"
#include "engine/FilePlayerProcessor.h"
#include "platform/Dialogs.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

namespace
{
constexpr double rate = 44100.0;
constexpr int blockSize = 512;
constexpr int warmUpBlocks = 50;
constexpr int measuredBlocks = 3000; // about 35 s of audio
constexpr double songSeconds = 60.0;

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

bool writeSong(const juce::File& file)
{
    file.deleteFile();
    auto stream = file.createOutputStream();
    if (stream == nullptr)
        return false;
    std::unique_ptr<juce::AudioFormatWriter> writer(
        juce::WavAudioFormat().createWriterFor(stream.get(), rate, 2, 16, {}, 0));
    if (writer == nullptr)
        return false;
    stream.release();
    const int total = (int)(songSeconds * rate);
    juce::AudioBuffer<float> buffer(2, 4096);
    for (int done = 0; done < total;)
    {
        const int n = juce::jmin(4096, total - done);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < n; ++i)
                buffer.setSample(ch, i,
                                 0.3f * (float)std::sin(2.0 * juce::MathConstants<double>::pi *
                                                        (440.0 + 110.0 * ch) * (done + i) / rate));
        if (!writer->writeFromAudioSampleBuffer(buffer, 0, n))
            return false;
        done += n;
    }
    return true;
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[(size_t)(p * (double)(v.size() - 1))];
}
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;
    formatManager.registerBasicFormats();
    RecordingResponder dialogs;
    Dialogs::setResponder(&dialogs);

    auto folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                      .getNonexistentChildFile("velmora-player-bench", "", false);
    folder.createDirectory();
    const auto song = folder.getChildFile("song.wav");
    int status = 0;
    {
        FilePlayerProcessor player;
        player.prepareToPlay(rate, blockSize);
        if (!writeSong(song) || !player.loadFile(song.getFullPathName()))
        {
            std::printf("could not write or load the test song\n");
            folder.deleteRecursively();
            return 1;
        }
        player.setCurrentTime(1.0);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        // A fade longer than the run, so that every measured block fades.
        player.play(60.0);

        juce::AudioBuffer<float> buffer(2, blockSize);
        juce::MidiBuffer midi;
        const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(blockSize / rate / 2.0));
        std::vector<double> cpu;
        cpu.reserve(measuredBlocks);
        int silentBlocks = 0;
        auto next = std::chrono::steady_clock::now();
        for (int b = 0; b < warmUpBlocks + measuredBlocks; ++b)
        {
            const double start = threadCpuSeconds();
            player.processBlock(buffer, midi);
            const double used = threadCpuSeconds() - start;
            if (b >= warmUpBlocks)
            {
                cpu.push_back(used);
                if (buffer.getMagnitude(0, blockSize) == 0.0f)
                    ++silentBlocks;
            }
            next += period;
            std::this_thread::sleep_until(next);
        }

        double total = 0;
        for (auto t : cpu)
            total += t;
        const double blockSeconds = blockSize / rate;
        const double mean = total / (double)cpu.size();
        std::printf("FilePlayerProcessor::processBlock, %d-sample stereo blocks at %.1f kHz, "
                    "fading (%d blocks)\n",
                    blockSize, rate / 1000.0, measuredBlocks);
        std::printf("  CPU per block: mean %.2f us, median %.2f us, 99th percentile %.2f us, "
                    "max %.2f us\n",
                    mean * 1e6, percentile(cpu, 0.5) * 1e6, percentile(cpu, 0.99) * 1e6,
                    percentile(cpu, 1.0) * 1e6);
        std::printf("  share of the block's %.2f ms: mean %.3f %%, 99th percentile %.3f %% "
                    "(goal under 1 %%)\n",
                    blockSeconds * 1e3, 100.0 * mean / blockSeconds,
                    100.0 * percentile(cpu, 0.99) / blockSeconds);
        std::printf("  silent blocks (read-ahead behind): %d\n", silentBlocks);
        status = mean < 0.01 * blockSeconds && silentBlocks == 0 ? 0 : 1;
        player.stop(0);
    }
    Dialogs::setResponder(nullptr);
    folder.deleteRecursively();
    return status;
}
