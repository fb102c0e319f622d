#pragma once

#include "look/PlaceholderPanel.h"

// The main window's place for the Lightshows of the track. Until the panel itself is built it
// shows its name, so that the window's layout and page switching can be used.
class LightShowList : public PlaceholderPanel
{
public:
    LightShowList();
    ~LightShowList() override;
};
