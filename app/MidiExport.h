#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// The earliest time at or after the proposed one that keeps at least minGap
// from every used time. All in seconds; the result only ever moves later.
float getBestFitTime(const std::vector<float>& usedTimes, float proposedTime, float minGap);

// Writes a lightshow as a Standard MIDI File (format 1): a conductor track with
// the tempo, and a track with the cues as markers ("Bank | Preset") and the memos
// as lyrics. Cues are kept at least minGapMs apart. An existing file is replaced
// only once the new one is complete.
juce::Result exportLightShowToMidiFile(int lightShowId, const juce::File& file, double minGapMs);

// The export command: asks for a file, exports, and tells the user how it went.
void doExportMidi(int lightShowId);
