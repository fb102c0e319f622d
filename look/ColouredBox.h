#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A plain panel in one colour; most of the program's panels derive from it and
// change `colour` when the scheme changes (lookAndFeelChanged).
// It owns its children: whatever is still a child when it is destroyed is deleted,
// so only heap-allocated children may be added without being removed first.
class ColouredBox : public juce::Component
{
public:
    ColouredBox(const juce::String& componentName, juce::Colour colour);
    ~ColouredBox() override;

    void paint(juce::Graphics&) override;

    juce::Colour colour;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ColouredBox)
};
