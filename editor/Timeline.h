#pragma once

#include "look/PlaceholderPanel.h"

// The main window's place for the Lightshow timeline. Until the panel itself is built it
// shows its name, so that the window's layout and page switching can be used.
class Timeline : public PlaceholderPanel
{
public:
    Timeline();
    ~Timeline() override;
};
