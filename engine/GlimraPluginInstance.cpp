#include "engine/GlimraPluginInstance.h"
#include "engine/GlimraEditor.h"

namespace
{
juce::AudioChannelSet channelSetFor(int channels)
{
    auto set = juce::AudioChannelSet::canonicalChannelSet(channels);
    return set.size() == channels ? set : juce::AudioChannelSet::discreteChannels(channels);
}

// A state larger than this is taken for a broken plug-in rather than allocated.
const int32_t maxStateSize = 64 * 1024 * 1024;
} // namespace

GlimraPluginInstance::BusesProperties GlimraPluginInstance::busesFor(const GlimraEffect& effect)
{
    BusesProperties buses;
    if (effect.numInputs > 0)
        buses = buses.withInput("Input", channelSetFor(effect.numInputs), true);
    if (effect.numOutputs > 0)
        buses = buses.withOutput("Output", channelSetFor(effect.numOutputs), true);
    return buses;
}

juce::String textFromGlimra(const char* text)
{
    if (text == nullptr)
        return {};
    auto length = (int)strnlen(text, 4096);
    if (juce::CharPointer_UTF8::isValidString(text, length))
        return juce::String::fromUTF8(text, length);
    juce::String result;
    for (int i = 0; i < length; ++i)
        result += (juce::juce_wchar)(unsigned char)text[i];
    return result;
}

GlimraPluginInstance::GlimraPluginInstance(std::unique_ptr<juce::DynamicLibrary> lib,
                                           GlimraEffect* e, const juce::PluginDescription& d)
    : AudioPluginInstance(busesFor(*e)), library(std::move(lib)), effect(e), description(d)
{
}

GlimraPluginInstance::~GlimraPluginInstance()
{
    releaseResources();
    effect->destroy(effect);
}

void GlimraPluginInstance::prepareToPlay(double sampleRate, int maximumExpectedSamplesPerBlock)
{
    setRateAndBufferSizeDetails(sampleRate, maximumExpectedSamplesPerBlock);
    auto channels = juce::jmax(effect->numInputs, effect->numOutputs);
    scratch.setSize(channels, juce::jmax(1, maximumExpectedSamplesPerBlock));
    if (effect->prepare != nullptr)
        effect->prepare(effect, sampleRate, maximumExpectedSamplesPerBlock);
    prepared = true;
}

void GlimraPluginInstance::releaseResources()
{
    if (!prepared)
        return;
    prepared = false;
    if (effect->release != nullptr)
        effect->release(effect);
}

bool GlimraPluginInstance::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    // The record's channel counts are fixed.
    return layouts.getMainInputChannels() == juce::jmax(0, effect->numInputs) &&
           layouts.getMainOutputChannels() == juce::jmax(0, effect->numOutputs);
}

void GlimraPluginInstance::processChunk(float* const* channels, int numSamples) noexcept
{
    // In place: the record's inputs and outputs are the same channels.
    effect->process(effect, channels, channels, numSamples);
}

void GlimraPluginInstance::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    auto numSamples = buffer.getNumSamples();
    if (effect->midiIn != nullptr)
        for (const auto event : midi)
            effect->midiIn(effect, event.data, event.numBytes,
                           juce::jlimit(0, juce::jmax(0, numSamples - 1), event.samplePosition));

    auto needed = juce::jmax(effect->numInputs, effect->numOutputs);
    if (buffer.getNumChannels() >= needed)
    {
        processChunk(buffer.getArrayOfWritePointers(), numSamples);
        return;
    }

    // A block with fewer channels than the plug-in uses goes through the
    // scratch buffer, so that the plug-in never touches a channel that is not there.
    if (scratch.getNumChannels() < needed || scratch.getNumSamples() == 0)
    {
        buffer.clear();
        return;
    }
    auto channels = buffer.getNumChannels();
    for (int ch = 0; ch < needed; ++ch)
        channelPointers[(size_t)ch] = scratch.getWritePointer(ch);
    for (int start = 0; start < numSamples; start += scratch.getNumSamples())
    {
        auto length = juce::jmin(numSamples - start, scratch.getNumSamples());
        for (int ch = 0; ch < needed; ++ch)
        {
            if (ch < channels && ch < effect->numInputs)
                scratch.copyFrom(ch, 0, buffer, ch, start, length);
            else
                scratch.clear(ch, 0, length);
        }
        processChunk(channelPointers.data(), length);
        for (int ch = 0; ch < channels; ++ch)
        {
            if (ch < effect->numOutputs)
                buffer.copyFrom(ch, start, scratch, ch, 0, length);
            else
                buffer.clear(ch, start, length);
        }
    }
}

juce::AudioProcessorEditor* GlimraPluginInstance::createEditor()
{
    return hasEditor() ? new GlimraEditor(*this) : nullptr;
}

void GlimraPluginInstance::getStateInformation(juce::MemoryBlock& destData)
{
    destData.reset();
    if (effect->saveState == nullptr)
        return;

    // The state may grow between asking for its size and fetching it (another
    // thread may select a preset), so ask again when it no longer fits.
    auto size = effect->saveState(effect, nullptr, 0);
    for (int attempt = 0; attempt < 4 && size > 0 && size <= maxStateSize; ++attempt)
    {
        destData.setSize((size_t)size, true);
        auto written = effect->saveState(effect, destData.getData(), size);
        if (written <= size)
        {
            destData.setSize((size_t)juce::jmax(0, written));
            return;
        }
        size = written;
    }
    destData.reset();
}

void GlimraPluginInstance::setStateInformation(const void* data, int sizeInBytes)
{
    if (effect->restoreState != nullptr && data != nullptr && sizeInBytes > 0)
        effect->restoreState(effect, data, sizeInBytes);
}
