#include "app/AppGlobals.h"

juce::ApplicationCommandManager* commandManager = nullptr;
juce::ApplicationProperties* appProperties = nullptr;
MainHostWindow* mainWindow = nullptr;
juce::AudioPluginFormatManager audioFormatManager;
juce::AudioFormatManager formatManager;

FilePlayerProcessor* filePlayer = nullptr;
GlimraApi* glimraApi = nullptr;
PluginWindow* pluginWindow = nullptr;

LibraryPanel* library = nullptr;
Timeline* timeline = nullptr;
LightShowList* lightShowList = nullptr;
SetPlayer* setPlayer = nullptr;
SongEditor* songEditor = nullptr;

std::atomic<bool> startEventReceived{false};
std::atomic<bool> rewindEventReceived{false};
std::atomic<bool> nextEventReceived{false};
std::atomic<bool> prevEventReceived{false};
int stopClock = 0;

int dcRequiredToStop = 1;
float fadeTime = 1.5f;
double smallFontSz = 16;
double defFontSz = 16;
double largeFontSz = 18;
double memoFontSz = 28;
double clockFontSz = 28;
int startCC = 22;
int rewindCC = 23;
int nextCC = 24;
int prevCC = 25;

void readSettingsIntoGlobals(juce::PropertiesFile& settings)
{
    dcRequiredToStop = settings.getIntValue("dcRequiredToStop", 1);
    fadeTime = (float)settings.getDoubleValue("fadeTime", 1.5);
    smallFontSz = settings.getDoubleValue("smallFontSz", 16);
    defFontSz = settings.getDoubleValue("defFontSz", 16);
    largeFontSz = settings.getDoubleValue("largeFontSz", 20);
    memoFontSz = settings.getDoubleValue("memoFontSz", 28);
    clockFontSz = settings.getDoubleValue("clockFontSz", 28);
    startCC = settings.getIntValue("ccStart", 22);
    rewindCC = settings.getIntValue("ccRewind", 23);
    nextCC = settings.getIntValue("ccNext", 24);
    prevCC = settings.getIntValue("ccPrev", 25);
}
