#include "look/GlimraToolbar.h"

#include "look/ColourScheme.h"

GlimraToolbar::GlimraToolbar(juce::Colour c) : ColouredBox("ColouredBox", c)
{
    setBounds(0, 0, 100, 48);
}

GlimraToolbar::~GlimraToolbar()
{
    // The buttons themselves go with the other children in ~ColouredBox.
    for (auto& [button, listener] : listeners)
        if (listener != nullptr)
            button->removeListener(listener);
}

GlimraButton* GlimraToolbar::addButton(const juce::String& text, juce::Button::Listener* listener,
                                       const juce::String& iconName, bool right)
{
    auto* button = new GlimraButton(text, iconName, {});
    addAndMakeVisible(button);
    if (listener != nullptr)
        button->addListener(listener);
    (right ? rightButtons : leftButtons).add(button);
    listeners.add({button, listener});
    resized();
    return button;
}

void GlimraToolbar::resized()
{
    const int n = leftButtons.size() + rightButtons.size();
    if (n == 0)
        return;

    const int w = getWidth();
    const int b = w < 120 * n ? juce::jmax(0, w / n - 10) : 110;
    const int step = b + 10;

    int x = 5;
    for (auto* button : leftButtons)
    {
        button->setBounds(x, 5, b, 28);
        x += step;
    }

    // The right group ends 5 pixels from the right edge, however many it holds.
    x = w - 5 - b - (rightButtons.size() - 1) * step;
    for (auto* button : rightButtons)
    {
        button->setBounds(x, 5, b, 28);
        x += step;
    }
}

void GlimraToolbar::lookAndFeelChanged()
{
    colour = juce::Colour(glimraDkGreyColour);
    repaint();
}
