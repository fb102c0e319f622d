#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A one-line strip showing the tooltip of whatever is under the mouse. Its owner
// starts the timer (100 ms).
class TooltipBar : public juce::Component, public juce::Timer
{
public:
    TooltipBar();

    void paint(juce::Graphics&) override;
    void timerCallback() override;

    const juce::String& getTip() const { return tip; }

protected:
    // Where the bar looks; tests put a component of their own there.
    virtual juce::Component* componentUnderMouse() const;
    virtual bool isMouseButtonDown() const;

private:
    juce::String tip;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(TooltipBar)
};
