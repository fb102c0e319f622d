#include "engine/PluginWindow.h"

#include "app/AppGlobals.h"

juce::OwnedArray<PluginWindow> PluginWindow::activePluginWindows;

PluginWindow::PluginWindow(juce::AudioProcessorEditor* editor, Node* node, bool useGenericView)
    : DocumentWindow(editor->getName(), juce::Colours::lightblue,
                     DocumentWindow::minimiseButton | DocumentWindow::closeButton, true),
      owner(node), generic(useGenericView)
{
    setSize(400, 300);
    setContentOwned(editor, true);

    auto& random = juce::Random::getSystemRandom();
    int x = node->properties.getWithDefault("uiLastX", random.nextInt(500));
    int y = node->properties.getWithDefault("uiLastY", random.nextInt(500));
    setTopLeftPosition(x, y);
    setVisible(true);
}

PluginWindow::~PluginWindow()
{
    if (pluginWindow == this)
        pluginWindow = nullptr;
    clearContentComponent();
}

PluginWindow* PluginWindow::getWindowFor(Node* node, bool useGenericView)
{
    if (node == nullptr)
        return nullptr;

    for (int i = activePluginWindows.size(); --i >= 0;)
        if (activePluginWindows[i]->owner == node &&
            activePluginWindows[i]->generic == useGenericView)
            return activePluginWindows[i];

    auto* processor = node->getProcessor();
    juce::AudioProcessorEditor* editor = nullptr;
    if (useGenericView)
        editor = new juce::GenericAudioProcessorEditor(*processor);
    else if ((editor = processor->createEditorIfNeeded()) == nullptr)
    {
        editor = new juce::GenericAudioProcessorEditor(*processor);
        useGenericView = true;
    }
    if (editor == nullptr)
        return nullptr;

    if (auto* plugin = dynamic_cast<juce::AudioPluginInstance*>(processor))
        editor->setName(plugin->getName());

    return activePluginWindows.add(new PluginWindow(editor, node, useGenericView));
}

void PluginWindow::closeAllCurrentlyOpenWindows()
{
    while (!activePluginWindows.isEmpty())
        activePluginWindows.removeLast();
}

void PluginWindow::closeCurrentlyOpenWindowsFor(juce::AudioProcessorGraph::NodeID nodeId)
{
    for (int i = activePluginWindows.size(); --i >= 0;)
        if (activePluginWindows[i]->owner->nodeID == nodeId)
            activePluginWindows.remove(i);
}

void PluginWindow::moved()
{
    owner->properties.set("uiLastX", getX());
    owner->properties.set("uiLastY", getY());
}

void PluginWindow::closeButtonPressed()
{
    pluginWindow = nullptr;
    activePluginWindows.removeObject(this); // deletes this window
}
