#pragma once

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cstdint>
#include <memory>

// Why the player last broadcast a change; read with getChangeReason.
enum FilePlayerEvent
{
    playerStarted = 1,    // play started the transport
    playerStopped = 2,    // the transport was stopped
    playerReachedEnd = 3, // playback ran off the file or past the trimmed end
    playerMoved = 4,      // the position was set or pushed into the trimmed range
    playerTick = 5        // every timer tick while playing
};

// The thread on which the player reads its file ahead of playback.
class GlimraCtrlTimeSlice : public juce::TimeSliceThread
{
public:
    GlimraCtrlTimeSlice() : juce::TimeSliceThread("glimraCtrlTimeSlice") {}
    ~GlimraCtrlTimeSlice() override { stopThread(2000); }
};

// Plays one track into the processing graph, with fades, trims at both ends and
// a position tick for the displays. Everything but processBlock runs on the
// message thread; the audio thread never starts or stops the transport, it
// leaves a stop (and the end-of-track report) for the 66 ms timer to act on.
class FilePlayerProcessor : public juce::AudioProcessor,
                            public juce::ChangeBroadcaster,
                            public juce::Timer
{
public:
    FilePlayerProcessor();
    ~FilePlayerProcessor() override;

    // Loads a file, or empties the player for an empty path. False when there is
    // no output device (the player is then left as it was) or the file cannot
    // be read (the player is then empty). Resets the trims.
    bool loadFile(const juce::String& path);

    // Starts from the current position; fades in when fadeSeconds > 0 and the
    // position is past the trim start. Cancels a fade-out that is still running.
    void play(double fadeSeconds);
    // Stops at once, or fades out and lets the timer stop when the level is 0.
    void stop(double fadeSeconds);
    // Start a fade without touching the transport; a fade-out still ends in a stop.
    void fadeIn(double fadeSeconds);
    void fadeOut(double fadeSeconds);

    // Seconds kept off the start and the end of the file; moves the position
    // into the range that is left.
    void setTrimTimes(double startSeconds, double endSeconds);
    double getCurrentTime() const;
    // Seeks, clamped into the trimmed range.
    void setCurrentTime(double seconds);

    // Output latency of the audio device in seconds, measured by loadFile.
    double getLatency() const { return latency; }
    bool isPlaying() const { return transport.isPlaying(); }

    void setGainLevel(float newGain);
    float getGainLevel() const { return state.load(std::memory_order_relaxed).gain; }

    int getChangeReason() const { return changeReason.load(std::memory_order_relaxed); }
    void doSendChangeMessage(FilePlayerEvent reason);

    // True when the application's device manager has an output device, or when
    // there is no main window (nothing to check); otherwise tells the user.
    bool isOutputDeviceValid();

    // juce::AudioProcessor
    const juce::String getName() const override { return "FilePlayer"; }
    void prepareToPlay(double newSampleRate, int maximumBlockSize) override;
    void releaseResources() override;
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;
    bool silenceInProducesSilenceOut() const override { return false; }
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}
    void getStateInformation(juce::MemoryBlock&) override {}
    void setStateInformation(const void*, int) override {}

    // juce::Timer
    void timerCallback() override;

private:
    // Gain and flags shared with the audio thread live in one word, so that a
    // block computing the next gain can never undo what play or stop just set.
    struct PlayState
    {
        float gain;
        std::uint32_t flags;
    };
    static constexpr std::uint32_t fadingInFlag = 1u << 0;
    static constexpr std::uint32_t fadingOutFlag = 1u << 1;
    static constexpr std::uint32_t stopPendingFlag = 1u << 2;
    // The end was passed: playerReachedEnd waits for the timer. Reported once
    // per play (endReportedFlag), however many blocks run past the end.
    static constexpr std::uint32_t endPendingFlag = 1u << 3;
    static constexpr std::uint32_t endReportedFlag = 1u << 4;

    template <typename Change> PlayState changeState(Change&& change);
    double fadeStepFor(double fadeSeconds) const;
    double clampToTrims(double seconds) const;
    void measureLatency();

    std::atomic<double> sampleRate{44100.0};
    std::atomic<int> changeReason{0};
    juce::AudioTransportSource transport;
    std::unique_ptr<juce::AudioFormatReaderSource> readerSource;
    GlimraCtrlTimeSlice readAheadThread;
    float latency = 0.0f;
    std::atomic<PlayState> state{PlayState{1.0f, 0}};
    std::atomic<double> fadeStep{0.0};
    std::atomic<double> trimStart{0.0};
    std::atomic<double> trimEnd{0.0};
    std::atomic<double> fileLength{0.0};

    static_assert(std::atomic<PlayState>::is_always_lock_free, "the audio thread must not lock");

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(FilePlayerProcessor)
};
