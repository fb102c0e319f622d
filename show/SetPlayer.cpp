#include "show/SetPlayer.h"

#include "app/AppGlobals.h"
#include "look/ColourScheme.h"

SetPlayer::SetPlayer() : ColouredBox("SetPlayer", juce::Colour(glimraDkGreyColour))
{
    setPlayer = this;
}

SetPlayer::~SetPlayer()
{
    if (setPlayer == this)
        setPlayer = nullptr;
}

void SetPlayer::paint(juce::Graphics& g)
{
    ColouredBox::paint(g);
    g.setColour(juce::Colour(textColour).withAlpha(0.35f));
    g.setFont(juce::Font("<Sans-Serif>", (float)largeFontSz, juce::Font::plain));
    g.drawFittedText("Show player", getLocalBounds().reduced(10), juce::Justification::centred, 2);
}

void SetPlayer::lookAndFeelChanged()
{
    colour = juce::Colour(glimraDkGreyColour);
    repaint();
}
