#include "engine/InternalPluginFormat.h"

using IOProcessor = juce::AudioProcessorGraph::AudioGraphIOProcessor;

InternalPluginFormat::InternalPluginFormat()
{
    IOProcessor(IOProcessor::audioOutputNode).fillInPluginDescription(audioOutDesc);
    IOProcessor(IOProcessor::audioInputNode).fillInPluginDescription(audioInDesc);
    IOProcessor(IOProcessor::midiInputNode).fillInPluginDescription(midiInDesc);
}

const juce::PluginDescription* InternalPluginFormat::getDescriptionFor(InternalFilterType type)
{
    switch (type)
    {
    case audioInFilter:
        return &audioInDesc;
    case audioOutFilter:
        return &audioOutDesc;
    case midiInFilter:
        return &midiInDesc;
    }
    return nullptr;
}

void InternalPluginFormat::getAllTypes(juce::OwnedArray<juce::PluginDescription>& results)
{
    for (auto* d : {&audioInDesc, &audioOutDesc, &midiInDesc})
        results.add(new juce::PluginDescription(*d));
}

bool InternalPluginFormat::fileMightContainThisPluginType(const juce::String& fileOrIdentifier)
{
    for (auto* d : {&audioInDesc, &audioOutDesc, &midiInDesc})
        if (d->fileOrIdentifier == fileOrIdentifier)
            return true;
    return false;
}

std::unique_ptr<juce::AudioPluginInstance>
InternalPluginFormat::createInstanceFor(const juce::PluginDescription& description) const
{
    if (description.name == audioOutDesc.name)
        return std::make_unique<IOProcessor>(IOProcessor::audioOutputNode);
    if (description.name == audioInDesc.name)
        return std::make_unique<IOProcessor>(IOProcessor::audioInputNode);
    if (description.name == midiInDesc.name)
        return std::make_unique<IOProcessor>(IOProcessor::midiInputNode);
    return nullptr;
}

void InternalPluginFormat::createPluginInstance(const juce::PluginDescription& description, double,
                                                int, PluginCreationCallback callback)
{
    auto instance = createInstanceFor(description);
    auto error = instance == nullptr ? juce::String("Not an internal node type") : juce::String();
    callback(std::move(instance), error);
}
