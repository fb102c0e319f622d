#include "look/TooltipBar.h"

#include "look/GlimraLookAndFeel.h"

TooltipBar::TooltipBar() : juce::Component("TooltipBar") {}

juce::Component* TooltipBar::componentUnderMouse() const
{
    return juce::Desktop::getInstance().getMainMouseSource().getComponentUnderMouse();
}

bool TooltipBar::isMouseButtonDown() const
{
    return juce::ModifierKeys::currentModifiers.isAnyMouseButtonDown();
}

void TooltipBar::timerCallback()
{
    // While a button is held (a click or a drag under way) the tip stays as it is.
    if (isMouseButtonDown())
        return;

    juce::String newTip;
    if (auto* c = componentUnderMouse())
        if (auto* client = dynamic_cast<juce::TooltipClient*>(c))
            if (!c->isCurrentlyBlockedByAnotherModalComponent())
                newTip = client->getTooltip();

    if (newTip != tip)
    {
        tip = newTip;
        repaint();
    }
}

void TooltipBar::paint(juce::Graphics& g)
{
    g.setFont(GlimraLookAndFeel::sansSerif(getHeight() * 0.7));
    g.setColour(juce::Colours::black);
    g.drawFittedText(tip, 10, 0, getWidth() - 12, getHeight(), juce::Justification::centredLeft, 1,
                     0.7f);
}
