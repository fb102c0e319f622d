#include "engine/SwitchGlimraSong.h"

#include "app/AppGlobals.h"
#include "engine/GlimraPluginAbi.h"

SwitchGlimraSong::SwitchGlimraSong(const juce::String& name)
    : ThreadWithProgressWindow("\nSwitching to GLIMRA show '" + name + "'\n\nPlease wait...", false,
                               false, 10000, "Cancel", nullptr),
      showName(name)
{
}

void SwitchGlimraSong::run()
{
    if (glimraApi != nullptr && glimraApi->loadShow != nullptr)
        glimraApi->loadShow(showName.toRawUTF8());
}
