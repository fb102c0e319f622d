#include "editor/Timeline.h"

#include "app/AppGlobals.h"

Timeline::Timeline() : PlaceholderPanel("Timeline", "Lightshow timeline")
{
    timeline = this;
}

Timeline::~Timeline()
{
    if (timeline == this)
        timeline = nullptr;
}
