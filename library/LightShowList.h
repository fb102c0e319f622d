#pragma once

#include "look/ColouredBox.h"

// The main window's place for the Lightshows of the track. Until the panel itself is built it
// shows its name, so that the window's layout and page switching can be used.
class LightShowList : public ColouredBox
{
public:
    LightShowList();
    ~LightShowList() override;
    void paint(juce::Graphics& g) override;
    void lookAndFeelChanged() override;
};
