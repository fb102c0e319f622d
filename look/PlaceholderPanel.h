#pragma once

#include "look/ColouredBox.h"

// A panel of the main window that is not built yet: it fills its place in the
// scheme's dark grey and says what will be there, so that the layout and the page
// switching can be used and seen.
class PlaceholderPanel : public ColouredBox
{
public:
    PlaceholderPanel(const juce::String& componentName, const juce::String& caption);
    void paint(juce::Graphics& g) override;
    void lookAndFeelChanged() override;

private:
    juce::String caption;
};
