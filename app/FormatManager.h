#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

// The audio file readers of the program (filled at start-up). In a header of its
// own so that the data store can measure tracks without any GUI module.
extern juce::AudioFormatManager formatManager;
