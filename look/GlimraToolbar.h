#pragma once

#include "look/ColouredBox.h"
#include "look/GlimraButton.h"

// A strip of GlimraButtons: a group from the left edge and a group ending at the
// right edge, all the same width.
class GlimraToolbar : public ColouredBox
{
public:
    explicit GlimraToolbar(juce::Colour colour);
    ~GlimraToolbar() override;

    // The button stays owned by the toolbar; the listener (may be null) must
    // outlive it.
    GlimraButton* addButton(const juce::String& text, juce::Button::Listener* listener,
                            const juce::String& iconName, bool right);

    void resized() override;
    void lookAndFeelChanged() override;

    const juce::Array<GlimraButton*>& getLeftButtons() const { return leftButtons; }
    const juce::Array<GlimraButton*>& getRightButtons() const { return rightButtons; }

private:
    juce::Array<GlimraButton*> leftButtons;
    juce::Array<GlimraButton*> rightButtons;
    juce::Array<std::pair<GlimraButton*, juce::Button::Listener*>> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(GlimraToolbar)
};
