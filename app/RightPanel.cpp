#include "app/RightPanel.h"

#include "editor/SongEditor.h"
#include "library/LightShowList.h"
#include "look/ColourScheme.h"
#include "show/SetPlayer.h"

namespace
{
juce::Colour panelColour()
{
    return juce::Colour(glimraBlueColour).withBrightness(0.28f);
}
} // namespace

RightPanel::RightPanel() : ColouredBox("RightPanel", panelColour())
{
    player = std::make_unique<SetPlayer>();
    editor = std::make_unique<SongEditor>();
    list = std::make_unique<LightShowList>();
    addChildComponent(*player);
    addChildComponent(*editor);
    addChildComponent(*list);
}

RightPanel::~RightPanel()
{
    removeAllChildren(); // owned by the members, not by the box
}

void RightPanel::resized()
{
    for (juce::Component* c : {(juce::Component*)player.get(), (juce::Component*)editor.get(),
                               (juce::Component*)list.get()})
        c->setBounds(getLocalBounds());
}

void RightPanel::lookAndFeelChanged()
{
    colour = panelColour();
    repaint();
}
