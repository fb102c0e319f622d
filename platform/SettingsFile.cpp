#include "platform/SettingsFile.h"

#include "platform/SupportFolder.h"

juce::PropertiesFile::Options makeSettingsOptions()
{
    juce::PropertiesFile::Options options;
    options.applicationName = "Velmora";
    options.filenameSuffix = "settings";
    options.osxLibrarySubFolder = "Preferences";

    auto home = juce::SystemStats::getEnvironmentVariable("VELMORA_HOME", {});
    if (home.isNotEmpty())
        options.folderName = getSupportFolder().getFullPathName();
    return options;
}
