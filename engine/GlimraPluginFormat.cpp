#include "engine/GlimraPluginFormat.h"
#include "engine/GlimraPluginInstance.h"

const char* const GlimraPluginFormat::formatName = "GlimraPlugin";

namespace
{
struct LoadedEffect
{
    std::unique_ptr<juce::DynamicLibrary> library;
    GlimraEffect* effect = nullptr;
};

juce::File pluginFile(const juce::String& fileOrIdentifier)
{
    // An empty name would open the program itself, a relative one depends on
    // the current folder: neither names a plug-in.
    if (!juce::File::isAbsolutePath(fileOrIdentifier))
        return {};
    return juce::File(fileOrIdentifier);
}

// Loads the library and calls its entry point. Past the magic number and the
// interface version the record's layout is known; before that nothing else of it
// is touched, not even its destroy function.
LoadedEffect loadEffect(const juce::String& fileOrIdentifier, juce::String& error)
{
    auto file = pluginFile(fileOrIdentifier);
    if (!file.existsAsFile())
    {
        error = "The plug-in file \"" + fileOrIdentifier + "\" does not exist";
        return {};
    }

    auto library = std::make_unique<juce::DynamicLibrary>();
    if (!library->open(file.getFullPathName()))
    {
        error = "\"" + file.getFileName() + "\" is not a loadable library";
        return {};
    }
    auto entry = reinterpret_cast<GlimraPluginEntry>(library->getFunction(GLIMRA_PLUGIN_ENTRY));
    if (entry == nullptr)
    {
        error = "\"" + file.getFileName() + "\" is not a Glimra plug-in";
        return {};
    }

    auto* effect = entry();
    if (effect == nullptr)
    {
        error = "The plug-in \"" + file.getFileName() + "\" could not start";
        return {};
    }
    if (effect->magic != GLIMRA_PLUGIN_MAGIC || effect->abiVersion != GLIMRA_PLUGIN_ABI_VERSION)
    {
        error = "The plug-in \"" + file.getFileName() +
                "\" was made for another version of the plug-in interface";
        return {};
    }
    if (effect->destroy == nullptr)
    {
        error = "The plug-in \"" + file.getFileName() + "\" is incomplete";
        return {};
    }
    if (effect->process == nullptr || effect->numInputs < 0 ||
        effect->numInputs > GlimraPluginInstance::maxChannels || effect->numOutputs < 0 ||
        effect->numOutputs > GlimraPluginInstance::maxChannels)
    {
        effect->destroy(effect);
        error = "The plug-in \"" + file.getFileName() + "\" is incomplete";
        return {};
    }
    return {std::move(library), effect};
}

juce::PluginDescription describe(const GlimraEffect& effect, const juce::File& file)
{
    juce::PluginDescription d;
    d.name = textFromGlimra(effect.name);
    if (d.name.isEmpty())
        d.name = file.getFileNameWithoutExtension();
    d.descriptiveName = d.name;
    d.pluginFormatName = GlimraPluginFormat::formatName;
    d.category = "Effect";
    d.manufacturerName = textFromGlimra(effect.vendor);
    d.version = textFromGlimra(effect.version);
    d.fileOrIdentifier = file.getFullPathName();
    d.lastFileModTime = file.getLastModificationTime();
    d.lastInfoUpdateTime = juce::Time::getCurrentTime();
    d.uniqueId = effect.uniqueId;
    d.deprecatedUid = effect.uniqueId;
    d.isInstrument = false;
    d.numInputChannels = effect.numInputs;
    d.numOutputChannels = effect.numOutputs;
    return d;
}
} // namespace

void GlimraPluginFormat::findAllTypesForFile(juce::OwnedArray<juce::PluginDescription>& results,
                                             const juce::String& fileOrIdentifier)
{
    if (!fileMightContainThisPluginType(fileOrIdentifier))
        return;

    juce::String error;
    auto loaded = loadEffect(fileOrIdentifier, error);
    if (loaded.effect == nullptr)
        return;
    results.add(
        new juce::PluginDescription(describe(*loaded.effect, pluginFile(fileOrIdentifier))));
    loaded.effect->destroy(loaded.effect);
}

void GlimraPluginFormat::createPluginInstance(const juce::PluginDescription& description,
                                              double initialSampleRate, int initialBufferSize,
                                              PluginCreationCallback callback)
{
    if (description.pluginFormatName != getName())
    {
        callback(nullptr, "\"" + description.name + "\" is not a Glimra plug-in");
        return;
    }

    juce::String error;
    auto loaded = loadEffect(description.fileOrIdentifier, error);
    if (loaded.effect == nullptr)
    {
        callback(nullptr, error);
        return;
    }

    auto file = pluginFile(description.fileOrIdentifier);
    auto instance = std::make_unique<GlimraPluginInstance>(std::move(loaded.library), loaded.effect,
                                                           describe(*loaded.effect, file));
    instance->setRateAndBufferSizeDetails(initialSampleRate, initialBufferSize);
    callback(std::move(instance), {});
}

bool GlimraPluginFormat::fileMightContainThisPluginType(const juce::String& fileOrIdentifier)
{
    auto file = pluginFile(fileOrIdentifier);
    return file.existsAsFile() &&
           (file.hasFileExtension(".so") || file.hasFileExtension(".dylib") ||
            file.hasFileExtension(".dll"));
}

juce::String GlimraPluginFormat::getNameOfPluginFromIdentifier(const juce::String& fileOrIdentifier)
{
    return pluginFile(fileOrIdentifier).getFileNameWithoutExtension();
}

bool GlimraPluginFormat::pluginNeedsRescanning(const juce::PluginDescription& description)
{
    return pluginFile(description.fileOrIdentifier).getLastModificationTime() !=
           description.lastFileModTime;
}

bool GlimraPluginFormat::doesPluginStillExist(const juce::PluginDescription& description)
{
    return pluginFile(description.fileOrIdentifier).existsAsFile();
}

juce::StringArray GlimraPluginFormat::searchPathsForPlugins(const juce::FileSearchPath& directories,
                                                            bool recursive, bool)
{
    juce::StringArray found;
    for (int i = 0; i < directories.getNumPaths(); ++i)
        for (auto& file :
             directories[i].findChildFiles(juce::File::findFiles, recursive, "*.so;*.dylib;*.dll"))
            found.add(file.getFullPathName());
    return found;
}
