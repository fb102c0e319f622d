#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

// Writes a stereo sine tone with one of JUCE's writers, chosen by the file's
// extension (.wav, .aif, .flac, .ogg). True when the file was written.
bool writeTone(const juce::File& file, double seconds, double sampleRate = 44100.0);

// Encodes a WAV file to MP3 with the lame encoder. True when the file was written.
bool encodeMp3(const juce::File& wav, const juce::File& mp3);
