#pragma once

#include "engine/FilterGraph.h"

#include <juce_audio_utils/juce_audio_utils.h>

// Owns the processing graph and plays it on the audio device. It lives hidden in
// the main window; the graph editor view will sit in its upper part.
class GraphDocumentComponent : public juce::Component
{
public:
    explicit GraphDocumentComponent(juce::AudioDeviceManager& deviceManager);
    ~GraphDocumentComponent() override;

    FilterGraph& getGraph() noexcept { return graph; }

    // Adds a node at a pixel position of the graph editor.
    juce::AudioProcessor* createNewPlugin(const juce::PluginDescription* description, int x, int y);

    void resized() override;

private:
    FilterGraph graph;
    juce::AudioDeviceManager& deviceManager;
    juce::AudioProcessorPlayer graphPlayer;
    juce::MidiKeyboardState keyboardState;
    std::unique_ptr<juce::MidiKeyboardComponent> keyboard;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(GraphDocumentComponent)
};
