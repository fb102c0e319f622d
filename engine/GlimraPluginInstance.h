#pragma once

#include "engine/GlimraPluginAbi.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <memory>

// A text that a Glimra plug-in returned, copied at once. Meant to be UTF-8;
// anything else is read byte by byte rather than trusted.
juce::String textFromGlimra(const char* text);

// A loaded Glimra plug-in: keeps its library loaded and owns its effect record
// for as long as it lives. The record is what getPlatformSpecificData gives; a
// lighting controller's function table is in its user field.
class GlimraPluginInstance : public juce::AudioPluginInstance
{
public:
    // The most audio channels a record may ask for, each way.
    static constexpr int maxChannels = 32;

    // Takes the library and the record, which must have passed
    // GlimraPluginFormat's checks.
    GlimraPluginInstance(std::unique_ptr<juce::DynamicLibrary> library, GlimraEffect* effect,
                         const juce::PluginDescription& description);
    ~GlimraPluginInstance() override;

    GlimraEffect* getEffect() const noexcept { return effect; }
    // The lighting controller's function table, or null when the plug-in has none.
    const GlimraApi* getControllerApi() const noexcept
    {
        return static_cast<const GlimraApi*>(effect->user);
    }

    void fillInPluginDescription(juce::PluginDescription& d) const override { d = description; }
    void* getPlatformSpecificData() override { return effect; }

    const juce::String getName() const override { return description.name; }
    void prepareToPlay(double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    bool isBusesLayoutSupported(const BusesLayout& layouts) const override;

    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return false; }

    bool hasEditor() const override { return effect->user != nullptr; }
    juce::AudioProcessorEditor* createEditor() override;

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}

    void getStateInformation(juce::MemoryBlock& destData) override;
    void setStateInformation(const void* data, int sizeInBytes) override;

private:
    static BusesProperties busesFor(const GlimraEffect& effect);
    void processChunk(float* const* channels, int numSamples) noexcept;

    // Declared first so that it is unloaded last, after the record is gone.
    std::unique_ptr<juce::DynamicLibrary> library;
    GlimraEffect* effect;
    juce::PluginDescription description;
    bool prepared = false;

    // For blocks with fewer channels than the plug-in reads or writes; sized in
    // prepareToPlay, so the audio thread never allocates.
    juce::AudioBuffer<float> scratch;
    std::array<float*, maxChannels> channelPointers{};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(GlimraPluginInstance)
};
