#pragma once

#include <juce_data_structures/juce_data_structures.h>

// Where the user settings file lives: ~/Library/Preferences/Velmora.settings on
// the Mac, JUCE's default place elsewhere, and inside VELMORA_HOME when that is set.
juce::PropertiesFile::Options makeSettingsOptions();
