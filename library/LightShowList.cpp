#include "library/LightShowList.h"

#include "app/AppGlobals.h"
#include "look/ColourScheme.h"

LightShowList::LightShowList() : ColouredBox("LightShowList", juce::Colour(glimraDkGreyColour))
{
    lightShowList = this;
}

LightShowList::~LightShowList()
{
    if (lightShowList == this)
        lightShowList = nullptr;
}

void LightShowList::paint(juce::Graphics& g)
{
    ColouredBox::paint(g);
    g.setColour(juce::Colour(textColour).withAlpha(0.35f));
    g.setFont(juce::Font("<Sans-Serif>", (float)largeFontSz, juce::Font::plain));
    g.drawFittedText("Lightshows of the track", getLocalBounds().reduced(10),
                     juce::Justification::centred, 2);
}

void LightShowList::lookAndFeelChanged()
{
    colour = juce::Colour(glimraDkGreyColour);
    repaint();
}
