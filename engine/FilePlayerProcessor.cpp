#include "engine/FilePlayerProcessor.h"

#include "app/AppGlobals.h"
#include "app/FormatManager.h"
#include "app/MainHostWindow.h"
#include "platform/Dialogs.h"

namespace
{
constexpr int tickPeriodMs = 66;
constexpr int readAheadSamples = 0xffff;
} // namespace

FilePlayerProcessor::FilePlayerProcessor()
    : juce::AudioProcessor(BusesProperties()
                               .withInput("In", juce::AudioChannelSet::stereo(), false)
                               .withOutput("Out", juce::AudioChannelSet::stereo(), true))
{
    readAheadThread.startThread();
    startTimer(tickPeriodMs);
}

FilePlayerProcessor::~FilePlayerProcessor()
{
    stopTimer();
    transport.stop();
    transport.setSource(nullptr);
    readerSource.reset();
}

template <typename Change>
FilePlayerProcessor::PlayState FilePlayerProcessor::changeState(Change&& change)
{
    auto current = state.load();
    PlayState next;
    do
    {
        next = current;
        change(next);
    } while (!state.compare_exchange_weak(current, next));
    return next;
}

double FilePlayerProcessor::fadeStepFor(double fadeSeconds) const
{
    // A fade of no length (or a negative one) is a jump: a whole step per sample.
    return fadeSeconds > 0.0 ? 1.0 / (fadeSeconds * sampleRate.load()) : 1.0;
}

double FilePlayerProcessor::clampToTrims(double seconds) const
{
    // Trims longer than the file leave no range; the start of the file is then
    // the only place that exists.
    return juce::jmax(
        0.0, juce::jmin(fileLength.load() - trimEnd.load(), juce::jmax(trimStart.load(), seconds)));
}

bool FilePlayerProcessor::isOutputDeviceValid()
{
    if (mainWindow == nullptr || mainWindow->getDeviceManager().getCurrentAudioDevice() != nullptr)
        return true;

    Dialogs::showMessage(DialogIcon::info, "Audio preferences not set up",
                         "Please select an audio output device in the File > Preferences window.");
    return false;
}

void FilePlayerProcessor::measureLatency()
{
    auto* device = mainWindow->getDeviceManager().getCurrentAudioDevice();
    if (device == nullptr)
        return;
    // Until the graph has prepared the node it has no rate of its own.
    const double rate = getSampleRate() > 0.0 ? getSampleRate() : device->getCurrentSampleRate();
    if (rate > 0.0)
        latency = (float)(device->getOutputLatencyInSamples() / rate);
}

bool FilePlayerProcessor::loadFile(const juce::String& path)
{
    // Checked first, so that a refused load leaves the current song playable.
    if (mainWindow != nullptr)
    {
        if (!isOutputDeviceValid())
            return false;
        measureLatency();
    }

    // Stopped before the length goes to 0, or the audio thread would see the
    // old song past its end.
    transport.stop();
    transport.setSource(nullptr);
    readerSource.reset();
    trimStart = 0.0;
    trimEnd = 0.0;
    fileLength = 0.0;
    // An end not yet reported belonged to the old song.
    changeState([](PlayState& s) { s.flags &= ~endPendingFlag; });

    if (path.isEmpty())
        return true;

    std::unique_ptr<juce::AudioFormatReader> reader(
        formatManager.createReaderFor(juce::File::getCurrentWorkingDirectory().getChildFile(path)));
    if (reader == nullptr || reader->sampleRate <= 0.0)
        return false;

    const double fileRate = reader->sampleRate;
    fileLength = (double)(float)((double)reader->lengthInSamples / fileRate);
    readerSource = std::make_unique<juce::AudioFormatReaderSource>(reader.release(), true);
    transport.setSource(readerSource.get(), readAheadSamples, &readAheadThread, fileRate, 2);
    return true;
}

void FilePlayerProcessor::play(double fadeSeconds)
{
    if (!isOutputDeviceValid())
        return;

    // At or before the trim start a song starts at full level.
    const bool fade = fadeSeconds > 0.0 && getCurrentTime() > trimStart.load();
    if (fade)
        fadeStep = fadeStepFor(fadeSeconds);
    // Pressed during a fade-out, the level comes back from where it is
    // instead of dropping to silence first.
    const bool running = transport.isPlaying();
    changeState(
        [fade, running](PlayState& s)
        {
            s.flags &= ~(fadingOutFlag | stopPendingFlag | endReportedFlag);
            if (fade)
            {
                if (!running)
                    s.gain = 0.0f;
                s.flags |= fadingInFlag;
            }
            else
            {
                s.gain = 1.0f;
                s.flags &= ~fadingInFlag;
            }
        });
    transport.start();
    doSendChangeMessage(playerStarted);
}

void FilePlayerProcessor::stop(double fadeSeconds)
{
    if (fadeSeconds > 0.0 && transport.isPlaying())
    {
        fadeOut(fadeSeconds);
        return;
    }
    transport.stop();
    changeState([](PlayState& s) { s.flags &= ~(fadingOutFlag | stopPendingFlag); });
    doSendChangeMessage(playerStopped);
}

void FilePlayerProcessor::fadeIn(double fadeSeconds)
{
    fadeStep = fadeStepFor(fadeSeconds);
    changeState([](PlayState& s) { s.flags |= fadingInFlag; });
}

void FilePlayerProcessor::fadeOut(double fadeSeconds)
{
    fadeStep = fadeStepFor(fadeSeconds);
    changeState([](PlayState& s) { s.flags |= fadingOutFlag; });
}

void FilePlayerProcessor::setGainLevel(float newGain)
{
    changeState([newGain](PlayState& s) { s.gain = newGain; });
}

void FilePlayerProcessor::setTrimTimes(double startSeconds, double endSeconds)
{
    trimStart = startSeconds;
    trimEnd = endSeconds;
    const double position = getCurrentTime();
    const double end = fileLength.load() - endSeconds;

    if (startSeconds > position)
    {
        transport.setPosition(juce::jmax(0.0, juce::jmin(end, startSeconds)));
        doSendChangeMessage(playerMoved);
    }
    if (position > end)
    {
        transport.setPosition(juce::jmax(0.0, end));
        doSendChangeMessage(playerMoved);
    }
}

double FilePlayerProcessor::getCurrentTime() const
{
    return transport.getCurrentPosition();
}

void FilePlayerProcessor::setCurrentTime(double seconds)
{
    transport.setPosition(clampToTrims(seconds));
    doSendChangeMessage(playerMoved);
}

void FilePlayerProcessor::doSendChangeMessage(FilePlayerEvent reason)
{
    changeReason = reason;
    sendChangeMessage();
}

void FilePlayerProcessor::prepareToPlay(double newSampleRate, int maximumBlockSize)
{
    sampleRate = newSampleRate;
    transport.prepareToPlay(maximumBlockSize, newSampleRate);
    setPlayConfigDetails(0, 2, newSampleRate, maximumBlockSize);
}

void FilePlayerProcessor::releaseResources()
{
    transport.releaseResources();
}

// Audio thread: no allocation, no lock of ours. What needs the message thread
// (stopping, telling the listeners) is left in the state word for the timer.
void FilePlayerProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    const juce::AudioSourceChannelInfo block(buffer);
    if (!transport.isPlaying())
    {
        // Rendered anyway so that the transport completes a stop it was asked for.
        transport.getNextAudioBlock(block);
        buffer.clear();
        return;
    }

    const int numSamples = buffer.getNumSamples();
    auto current = state.load();
    if ((current.flags & (fadingInFlag | fadingOutFlag)) != 0)
    {
        const double change = numSamples * fadeStep.load();
        current = changeState(
            [change](PlayState& s)
            {
                if ((s.flags & fadingOutFlag) != 0)
                {
                    s.gain = (float)juce::jmax(0.0, (double)s.gain - change);
                }
                else if ((s.flags & fadingInFlag) != 0)
                {
                    const double raised = (double)s.gain + change;
                    s.gain = (float)juce::jmin(1.0, raised);
                    if (raised >= 1.0)
                        s.flags &= ~fadingInFlag;
                }
            });
    }

    transport.getNextAudioBlock(block);
    buffer.applyGain(0, numSamples, current.gain);

    // Past the trimmed end, or off the end of the file (which also stops the
    // transport; the position tells it apart from a stop on the message thread).
    const bool pastEnd = transport.getCurrentPosition() > fileLength.load() - trimEnd.load() ||
                         transport.getNextReadPosition() > transport.getTotalLength();

    const auto now = state.load();
    const bool fadedOut =
        (now.flags & fadingOutFlag) != 0 && now.gain == 0.0f && (now.flags & stopPendingFlag) == 0;
    const bool endNotReported = pastEnd && (now.flags & endReportedFlag) == 0;
    if (fadedOut || endNotReported)
        changeState(
            [pastEnd](PlayState& s)
            {
                if ((s.flags & fadingOutFlag) != 0 && s.gain == 0.0f)
                    s.flags |= stopPendingFlag;
                if (pastEnd && (s.flags & endReportedFlag) == 0)
                    s.flags |= endReportedFlag | endPendingFlag | stopPendingFlag;
            });
}

void FilePlayerProcessor::timerCallback()
{
    std::uint32_t taken = 0;
    if ((state.load().flags & (stopPendingFlag | endPendingFlag)) != 0)
        changeState(
            [&taken](PlayState& s)
            {
                taken = s.flags & (stopPendingFlag | endPendingFlag);
                s.flags &= ~(stopPendingFlag | endPendingFlag);
                if ((taken & stopPendingFlag) != 0)
                    s.flags &= ~fadingOutFlag;
            });

    if ((taken & stopPendingFlag) != 0)
        transport.stop();

    if ((taken & endPendingFlag) != 0)
    {
        // Delivered now rather than posted: playerStopped, posted just below,
        // would take its place before the listeners ran, and they must learn
        // that the song ended (the show moves on to the next one).
        changeReason = playerReachedEnd;
        sendSynchronousChangeMessage();
    }

    if (transport.isPlaying())
    {
        // A listener that started the next song from the end report has posted
        // playerStarted; a tick now would take its place.
        if ((taken & endPendingFlag) == 0)
            doSendChangeMessage(playerTick);
    }
    else if ((taken & stopPendingFlag) != 0)
    {
        doSendChangeMessage(playerStopped);
    }
}
