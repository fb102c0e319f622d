#include "show/SetPlayer.h"

#include "app/AppGlobals.h"

SetPlayer::SetPlayer() : PlaceholderPanel("SetPlayer", "Show player")
{
    setPlayer = this;
}

SetPlayer::~SetPlayer()
{
    if (setPlayer == this)
        setPlayer = nullptr;
}
