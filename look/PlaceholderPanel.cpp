#include "look/PlaceholderPanel.h"

#include "app/AppGlobals.h"
#include "look/ColourScheme.h"

PlaceholderPanel::PlaceholderPanel(const juce::String& componentName, const juce::String& text)
    : ColouredBox(componentName, juce::Colour(glimraDkGreyColour)), caption(text)
{
}

void PlaceholderPanel::paint(juce::Graphics& g)
{
    ColouredBox::paint(g);
    g.setColour(juce::Colour(textColour).withAlpha(0.35f));
    g.setFont(juce::Font("<Sans-Serif>", (float)largeFontSz, juce::Font::plain));
    g.drawFittedText(caption, getLocalBounds().reduced(10), juce::Justification::centred, 2);
}

void PlaceholderPanel::lookAndFeelChanged()
{
    colour = juce::Colour(glimraDkGreyColour);
    repaint();
}
