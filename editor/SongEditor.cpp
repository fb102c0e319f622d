#include "editor/SongEditor.h"

#include "app/AppGlobals.h"
#include "look/ColourScheme.h"

SongEditor::SongEditor() : ColouredBox("SongEditor", juce::Colour(glimraDkGreyColour))
{
    songEditor = this;
}

SongEditor::~SongEditor()
{
    if (songEditor == this)
        songEditor = nullptr;
}

void SongEditor::paint(juce::Graphics& g)
{
    ColouredBox::paint(g);
    g.setColour(juce::Colour(textColour).withAlpha(0.35f));
    g.setFont(juce::Font("<Sans-Serif>", (float)largeFontSz, juce::Font::plain));
    g.drawFittedText("Lightshow editor", getLocalBounds().reduced(10), juce::Justification::centred,
                     2);
}

void SongEditor::lookAndFeelChanged()
{
    colour = juce::Colour(glimraDkGreyColour);
    repaint();
}
