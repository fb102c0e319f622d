#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// A window showing one graph node's editor (for the lighting controller, its own
// window onto the rig). Open windows are owned by a static list.
class PluginWindow : public juce::DocumentWindow
{
public:
    using Node = juce::AudioProcessorGraph::Node;

    // The node's open window with the same kind of view, or a new one; null when
    // the node has no editor at all.
    static PluginWindow* getWindowFor(Node* node, bool useGenericView);
    static void closeAllCurrentlyOpenWindows();
    static void closeCurrentlyOpenWindowsFor(juce::AudioProcessorGraph::NodeID nodeId);
    static int getNumOpenWindows() { return activePluginWindows.size(); }

    ~PluginWindow() override;

    void moved() override;
    void closeButtonPressed() override;

    Node* getNode() const { return owner; }
    bool isGeneric() const { return generic; }

private:
    PluginWindow(juce::AudioProcessorEditor* editor, Node* node, bool useGenericView);

    static juce::OwnedArray<PluginWindow> activePluginWindows;

    Node* owner;
    bool generic;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PluginWindow)
};
