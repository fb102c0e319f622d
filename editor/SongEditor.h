#pragma once

#include "look/PlaceholderPanel.h"

// The main window's place for the Lightshow editor. Until the panel itself is built it
// shows its name, so that the window's layout and page switching can be used.
class SongEditor : public PlaceholderPanel
{
public:
    SongEditor();
    ~SongEditor() override;

    // The lightshow this page edits (0 for none).
    void loadLightshow(int lightShowId) { shownLightShow = lightShowId; }
    int getLightShowId() const { return shownLightShow; }

private:
    int shownLightShow = 0;
};
