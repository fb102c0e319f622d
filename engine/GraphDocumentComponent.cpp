#include "engine/GraphDocumentComponent.h"

namespace
{
// Node 5's place while the graph editor has no size yet (it is hidden).
constexpr double hiddenEditorX = 0.75, hiddenEditorY = 0.5;
} // namespace

GraphDocumentComponent::GraphDocumentComponent(juce::AudioDeviceManager& devices)
    : deviceManager(devices)
{
    graphPlayer.setProcessor(&graph.getGraph());
    keyboardState.addListener(&graphPlayer.getMidiMessageCollector());

    keyboard = std::make_unique<juce::MidiKeyboardComponent>(
        keyboardState, juce::MidiKeyboardComponent::horizontalKeyboard);
    addAndMakeVisible(*keyboard);

    deviceManager.addAudioCallback(&graphPlayer);
    deviceManager.addMidiInputDeviceCallback({}, &graphPlayer.getMidiMessageCollector());
}

GraphDocumentComponent::~GraphDocumentComponent()
{
    deviceManager.removeAudioCallback(&graphPlayer);
    deviceManager.removeMidiInputDeviceCallback({}, &graphPlayer.getMidiMessageCollector());
    keyboard.reset();
    graphPlayer.setProcessor(nullptr);
    keyboardState.removeListener(&graphPlayer.getMidiMessageCollector());
    graph.clear();
}

juce::AudioProcessor*
GraphDocumentComponent::createNewPlugin(const juce::PluginDescription* description, int x, int y)
{
    // The editor panel's size turns pixels into the graph's relative positions.
    auto editorArea = getLocalBounds().withTrimmedBottom(60);
    if (editorArea.getWidth() > 0 && editorArea.getHeight() > 0)
        return graph.addFilter(description, x / (double)editorArea.getWidth(),
                               y / (double)editorArea.getHeight());
    return graph.addFilter(description, hiddenEditorX, hiddenEditorY);
}

void GraphDocumentComponent::resized()
{
    keyboard->setBounds(0, getHeight() - 60, getWidth(), 60);
}
