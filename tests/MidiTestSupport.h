#pragma once

#include "engine/MidiServer.h"
#include "platform/MidiDevices.h"

// In-process MIDI outputs for one test. Add the outputs before the first
// MidiServer::getInstance: the server is started afresh on them and dropped
// again afterwards.
class ScopedMidiDevices
{
public:
    ScopedMidiDevices()
    {
        MidiServer::deleteInstanceForTesting();
        MidiDevices::setProvider(&devices);
    }
    ~ScopedMidiDevices()
    {
        MidiServer::deleteInstanceForTesting();
        MidiDevices::setProvider(nullptr);
    }

    InProcessMidiDevices devices;
};

using MidiBytes = std::vector<std::vector<juce::uint8>>;
