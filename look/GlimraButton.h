#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// A text button with an optional icon from the embedded images at its left.
class GlimraButton : public juce::TextButton
{
public:
    // The text is also the button's name. An empty icon name gives no icon.
    GlimraButton(const juce::String& text, const juce::String& iconName,
                 const juce::String& tooltip);
    ~GlimraButton() override;

    // Takes the icon from the embedded image of that file name ("play_48x.png");
    // a name that is not embedded leaves the button without an icon.
    void setIcon(const juce::String& iconName);
    bool hasIcon() const { return icon != nullptr; }

    void paintButton(juce::Graphics&, bool isMouseOverButton, bool isButtonDown) override;

    // The button's text, moved right to make room for the icon.
    void drawGlimraButtonText(juce::Graphics&, bool isMouseOverButton, bool isButtonDown);

    std::unique_ptr<juce::Drawable> icon;
    float iconMargin = 2.0f; // inset of the icon from the top, left and bottom edges

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(GlimraButton)
};
