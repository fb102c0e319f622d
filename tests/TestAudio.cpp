#include "TestAudio.h"

bool writeTone(const juce::File& file, double seconds, double sampleRate)
{
    std::unique_ptr<juce::AudioFormat> format;
    auto ext = file.getFileExtension().toLowerCase();
    if (ext == ".wav")
        format = std::make_unique<juce::WavAudioFormat>();
    else if (ext == ".aif" || ext == ".aiff")
        format = std::make_unique<juce::AiffAudioFormat>();
    else if (ext == ".flac")
        format = std::make_unique<juce::FlacAudioFormat>();
    else if (ext == ".ogg")
        format = std::make_unique<juce::OggVorbisAudioFormat>();
    else
        return false;

    file.getParentDirectory().createDirectory();
    file.deleteFile();
    auto stream = file.createOutputStream();
    if (stream == nullptr)
        return false;
    int quality = ext == ".ogg" ? 4 : 0;
    std::unique_ptr<juce::AudioFormatWriter> writer(
        format->createWriterFor(stream.get(), sampleRate, 2, ext == ".ogg" ? 32 : 16, {}, quality));
    if (writer == nullptr)
        return false;
    stream.release(); // the writer owns it now

    const int total = (int)std::lround(seconds * sampleRate);
    juce::AudioBuffer<float> buffer(2, 4096);
    for (int done = 0; done < total;)
    {
        int n = juce::jmin(4096, total - done);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < n; ++i)
                buffer.setSample(ch, i,
                                 0.3f * (float)std::sin(2.0 * juce::MathConstants<double>::pi *
                                                        440.0 * (done + i) / sampleRate));
        if (!writer->writeFromAudioSampleBuffer(buffer, 0, n))
            return false;
        done += n;
    }
    return true;
}

bool encodeMp3(const juce::File& wav, const juce::File& mp3)
{
    mp3.getParentDirectory().createDirectory();
    juce::ChildProcess lame;
    if (!lame.start(juce::StringArray{"lame", "--quiet", "-b", "128", wav.getFullPathName(),
                                      mp3.getFullPathName()}))
        return false;
    return lame.waitForProcessToFinish(60000) && lame.getExitCode() == 0 && mp3.existsAsFile();
}
