#pragma once

#include "look/PlaceholderPanel.h"

// The main window's place for the Track and show library. Until the panel itself is built it
// shows its name, so that the window's layout and page switching can be used.
class LibraryPanel : public PlaceholderPanel
{
public:
    LibraryPanel();
    ~LibraryPanel() override;
};
