#pragma once

#include "app/FormatManager.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_data_structures/juce_data_structures.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

class MainHostWindow;
class FilePlayerProcessor;
class PluginWindow;
class LibraryPanel;
class Timeline;
class LightShowList;
class SetPlayer;
class SongEditor;
struct GlimraApi;

// Program-wide objects reached by name. The pointers do not own: the command
// manager and the settings belong to the application object, the window to the
// application object too.
extern juce::ApplicationCommandManager* commandManager;
extern juce::ApplicationProperties* appProperties;
extern MainHostWindow* mainWindow;
extern juce::AudioPluginFormatManager audioFormatManager;

// The file player node and the lighting controller's function table, both living
// in the processing graph; the lighting controller's editor window while it is open.
extern FilePlayerProcessor* filePlayer;
extern GlimraApi* glimraApi;
extern PluginWindow* pluginWindow;

// The main window's panels (owned by its component tree).
extern LibraryPanel* library;
extern Timeline* timeline;
extern LightShowList* lightShowList;
extern SetPlayer* setPlayer;
extern SongEditor* songEditor;

// Set by MIDI input and footswitch callbacks on their own threads, polled by the
// main window's timer.
extern std::atomic<bool> startEventReceived;
extern std::atomic<bool> rewindEventReceived;
extern std::atomic<bool> nextEventReceived;
extern std::atomic<bool> prevEventReceived;
extern int stopClock;

// User settings mirrored for quick reading.
extern int dcRequiredToStop;
extern float fadeTime;
extern double smallFontSz;
extern double defFontSz;
extern double largeFontSz;
extern double memoFontSz;
extern double clockFontSz;
extern int startCC;
extern int rewindCC;
extern int nextCC;
extern int prevCC;

// Reads the settings above from the user settings file; a missing key keeps its default.
void readSettingsIntoGlobals(juce::PropertiesFile& settings);
