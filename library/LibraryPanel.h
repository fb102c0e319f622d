#pragma once

#include "look/ColouredBox.h"

// The main window's place for the Track and show library. Until the panel itself is built it
// shows its name, so that the window's layout and page switching can be used.
class LibraryPanel : public ColouredBox
{
public:
    LibraryPanel();
    ~LibraryPanel() override;
    void paint(juce::Graphics& g) override;
    void lookAndFeelChanged() override;
};
