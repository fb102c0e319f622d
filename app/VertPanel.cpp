#include "app/VertPanel.h"

#include "app/HorPanel.h"
#include "editor/Timeline.h"
#include "look/ColourScheme.h"

VertPanel::VertPanel(juce::AudioDeviceManager& deviceManager)
    : ColouredBox("VertPanel", juce::Colour(glimraLtGreyColour))
{
    horPanel = std::make_unique<HorPanel>(deviceManager);
    timelinePanel = std::make_unique<Timeline>();
    layout.setItemLayout(0, -0.1, -0.8, -0.6);
    layout.setItemLayout(1, 6, 6, 6);
    layout.setItemLayout(2, -0.1, -0.8, -0.4);
    bar = std::make_unique<juce::StretchableLayoutResizerBar>(&layout, 1, false);
    addAndMakeVisible(*horPanel);
    addAndMakeVisible(*bar);
    addAndMakeVisible(*timelinePanel);
}

VertPanel::~VertPanel()
{
    // The timeline may sit in the show player's layout: take it from wherever it is.
    if (auto* parent = timelinePanel->getParentComponent())
        parent->removeChildComponent(timelinePanel.get());
    removeAllChildren(); // owned by the members, not by the box
    timelinePanel.reset();
    horPanel.reset();
}

void VertPanel::setShowTimeline(bool show)
{
    showTimeline = show;
    if (show && timelinePanel->getParentComponent() != this)
    {
        if (auto* parent = timelinePanel->getParentComponent())
            parent->removeChildComponent(timelinePanel.get());
        addChildComponent(*timelinePanel);
    }
    bar->setVisible(show);
    if (timelinePanel->getParentComponent() == this)
        timelinePanel->setVisible(show);
    resized();
}

void VertPanel::resized()
{
    if (!showTimeline)
    {
        horPanel->setBounds(getLocalBounds());
        return;
    }
    juce::Component* items[] = {horPanel.get(), bar.get(), timelinePanel.get()};
    layout.layOutComponents(items, 3, 0, 0, getWidth(), getHeight(), true, true);
}

void VertPanel::lookAndFeelChanged()
{
    colour = juce::Colour(glimraLtGreyColour);
    repaint();
}
