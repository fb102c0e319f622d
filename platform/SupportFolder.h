#pragma once

#include <juce_core/juce_core.h>

// The program's folder for its database, media files, splash and help pages.
// VELMORA_HOME overrides the platform's place (tests always set it).
juce::File getSupportFolder();

// The database file inside the support folder.
juce::File getDatabaseFile();

// Where users are sent for help with a damaged library or media folder.
extern const char* const supportContactAddress;
