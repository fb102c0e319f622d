#pragma once

#include "look/ColouredBox.h"

class SetPlayer;
class SongEditor;
class LightShowList;

// The right-hand side of the window: the show player, the lightshow editor and the
// lightshow list, each filling it, one shown at a time.
class RightPanel : public ColouredBox
{
public:
    RightPanel();
    ~RightPanel() override;
    void resized() override;
    void lookAndFeelChanged() override;

private:
    std::unique_ptr<SetPlayer> player;
    std::unique_ptr<SongEditor> editor;
    std::unique_ptr<LightShowList> list;
};
