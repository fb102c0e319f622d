#include "app/HorPanel.h"

#include "app/RightPanel.h"
#include "engine/GraphDocumentComponent.h"
#include "library/LibraryPanel.h"
#include "look/ColourScheme.h"

HorPanel::HorPanel(juce::AudioDeviceManager& deviceManager)
    : ColouredBox("HorPanel", juce::Colour(glimraLtGreyColour))
{
    graphDocument = std::make_unique<GraphDocumentComponent>(deviceManager);
    addChildComponent(*graphDocument); // never shown, never laid out

    libraryPanel = std::make_unique<LibraryPanel>();
    rightPanel = std::make_unique<RightPanel>();
    layout.setItemLayout(0, -0.1, -0.8, -0.25);
    layout.setItemLayout(1, 6, 6, 6);
    layout.setItemLayout(2, -0.1, -0.8, -0.75);
    bar = std::make_unique<juce::StretchableLayoutResizerBar>(&layout, 1, true);
    addAndMakeVisible(*libraryPanel);
    addAndMakeVisible(*bar);
    addAndMakeVisible(*rightPanel);
}

HorPanel::~HorPanel()
{
    removeAllChildren(); // owned by the members, not by the box
    rightPanel.reset();
    libraryPanel.reset();
    graphDocument.reset();
}

void HorPanel::resized()
{
    juce::Component* items[] = {libraryPanel.get(), bar.get(), rightPanel.get()};
    layout.layOutComponents(items, 3, 0, 0, getWidth(), getHeight(), false, true);
}

void HorPanel::lookAndFeelChanged()
{
    colour = juce::Colour(glimraLtGreyColour);
    repaint();
}
