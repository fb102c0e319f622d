#include "library/LightShowList.h"

#include "app/AppGlobals.h"

LightShowList::LightShowList() : PlaceholderPanel("LightShowList", "Lightshows of the track")
{
    lightShowList = this;
}

LightShowList::~LightShowList()
{
    if (lightShowList == this)
        lightShowList = nullptr;
}
