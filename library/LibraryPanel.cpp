#include "library/LibraryPanel.h"

#include "app/AppGlobals.h"
#include "look/ColourScheme.h"

LibraryPanel::LibraryPanel() : ColouredBox("LibraryPanel", juce::Colour(glimraDkGreyColour))
{
    library = this;
}

LibraryPanel::~LibraryPanel()
{
    if (library == this)
        library = nullptr;
}

void LibraryPanel::paint(juce::Graphics& g)
{
    ColouredBox::paint(g);
    g.setColour(juce::Colour(textColour).withAlpha(0.35f));
    g.setFont(juce::Font("<Sans-Serif>", (float)largeFontSz, juce::Font::plain));
    g.drawFittedText("Track and show library", getLocalBounds().reduced(10),
                     juce::Justification::centred, 2);
}

void LibraryPanel::lookAndFeelChanged()
{
    colour = juce::Colour(glimraDkGreyColour);
    repaint();
}
