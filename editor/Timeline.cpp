#include "editor/Timeline.h"

#include "app/AppGlobals.h"
#include "look/ColourScheme.h"

Timeline::Timeline() : ColouredBox("Timeline", juce::Colour(glimraDkGreyColour))
{
    timeline = this;
}

Timeline::~Timeline()
{
    if (timeline == this)
        timeline = nullptr;
}

void Timeline::paint(juce::Graphics& g)
{
    ColouredBox::paint(g);
    g.setColour(juce::Colour(textColour).withAlpha(0.35f));
    g.setFont(juce::Font("<Sans-Serif>", (float)largeFontSz, juce::Font::plain));
    g.drawFittedText("Lightshow timeline", getLocalBounds().reduced(10),
                     juce::Justification::centred, 2);
}

void Timeline::lookAndFeelChanged()
{
    colour = juce::Colour(glimraDkGreyColour);
    repaint();
}
