#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Switches the lighting controller to another of its shows on a worker thread,
// while a window asks the performer to wait (loading can take seconds).
class SwitchGlimraSong : public juce::ThreadWithProgressWindow
{
public:
    explicit SwitchGlimraSong(const juce::String& showName);
    void run() override;

private:
    juce::String showName;
};
