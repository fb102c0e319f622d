#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// The graph's device nodes (audio in, audio out, MIDI in) offered as plug-ins, so
// that the graph creates, saves and re-creates them like any other node.
class InternalPluginFormat : public juce::AudioPluginFormat
{
public:
    enum InternalFilterType
    {
        audioInFilter = 0,
        audioOutFilter,
        midiInFilter
    };

    InternalPluginFormat();

    // Null for a type that is not one of the three.
    const juce::PluginDescription* getDescriptionFor(InternalFilterType type);
    // Appends copies of the three descriptions: audio in, audio out, MIDI in.
    void getAllTypes(juce::OwnedArray<juce::PluginDescription>& results);

    juce::String getName() const override { return "Internal"; }
    void findAllTypesForFile(juce::OwnedArray<juce::PluginDescription>&,
                             const juce::String&) override
    {
    }
    // JUCE's format manager asks this before it creates an instance: answer for
    // the three identifiers of ours.
    bool fileMightContainThisPluginType(const juce::String& fileOrIdentifier) override;
    juce::String getNameOfPluginFromIdentifier(const juce::String& fileOrIdentifier) override
    {
        return fileOrIdentifier;
    }
    bool pluginNeedsRescanning(const juce::PluginDescription&) override { return false; }
    bool doesPluginStillExist(const juce::PluginDescription&) override { return true; }
    bool canScanForPlugins() const override { return false; }
    bool isTrivialToScan() const override { return true; }
    juce::StringArray searchPathsForPlugins(const juce::FileSearchPath&, bool, bool) override
    {
        return {};
    }
    juce::FileSearchPath getDefaultLocationsToSearch() override { return {}; }
    bool requiresUnblockedMessageThreadDuringCreation(const juce::PluginDescription&) const override
    {
        return false;
    }

    // The device processor a description names, or null.
    std::unique_ptr<juce::AudioPluginInstance>
    createInstanceFor(const juce::PluginDescription& description) const;

private:
    void createPluginInstance(const juce::PluginDescription& description, double, int,
                              PluginCreationCallback callback) override;

    juce::PluginDescription audioInDesc, audioOutDesc, midiInDesc;
};
