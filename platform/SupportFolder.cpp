#include "platform/SupportFolder.h"

juce::File getSupportFolder()
{
    auto home = juce::SystemStats::getEnvironmentVariable("VELMORA_HOME", {});
    if (home.isNotEmpty())
        return juce::File(home);

#if JUCE_MAC
    return juce::File("/Library/Application Support/Kestrova/Velmora");
#else
    auto dataHome = juce::SystemStats::getEnvironmentVariable("XDG_DATA_HOME", {});
    juce::File base = juce::File::isAbsolutePath(dataHome)
                          ? juce::File(dataHome)
                          : juce::File::getSpecialLocation(juce::File::userHomeDirectory)
                                .getChildFile(".local/share");
    return base.getChildFile("Kestrova").getChildFile("Velmora");
#endif
}

const char* const supportContactAddress = "support@kestrova.example";

juce::File getDatabaseFile()
{
    return getSupportFolder().getChildFile("Velmora.db");
}
