#pragma once

#include "engine/GlimraPluginAbi.h"

#include <juce_audio_processors/juce_audio_processors.h>

// Loads plug-ins of our own plain-C interface (engine/GlimraPluginAbi.h): a shared
// library exporting the entry point, such as the Glimra lighting controller. One
// library holds one plug-in; it is named by the library's full path.
class GlimraPluginFormat : public juce::AudioPluginFormat
{
public:
    static const char* const formatName;

    juce::String getName() const override { return formatName; }

    // Loads the library and asks it for its record; a file that is no such
    // plug-in adds nothing.
    void findAllTypesForFile(juce::OwnedArray<juce::PluginDescription>& results,
                             const juce::String& fileOrIdentifier) override;

    bool fileMightContainThisPluginType(const juce::String& fileOrIdentifier) override;
    juce::String getNameOfPluginFromIdentifier(const juce::String& fileOrIdentifier) override;
    bool pluginNeedsRescanning(const juce::PluginDescription&) override;
    bool doesPluginStillExist(const juce::PluginDescription&) override;
    bool canScanForPlugins() const override { return false; }
    bool isTrivialToScan() const override { return false; }
    juce::StringArray searchPathsForPlugins(const juce::FileSearchPath& directoriesToSearch,
                                            bool recursive,
                                            bool allowAsynchronousInstantiation = false) override;
    juce::FileSearchPath getDefaultLocationsToSearch() override { return {}; }
    bool requiresUnblockedMessageThreadDuringCreation(const juce::PluginDescription&) const override
    {
        return false;
    }

protected:
    void createPluginInstance(const juce::PluginDescription&, double initialSampleRate,
                              int initialBufferSize, PluginCreationCallback) override;
};
