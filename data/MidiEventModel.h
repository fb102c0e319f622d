#pragma once

#include "data/DbModel.h"
#include "data/MidiMessageModel.h"

#include <vector>

// A chunk of the library: one row of MidiEvents, a named and categorised list
// of timed MIDI messages, each for an output device named in the message.
class MidiEventModel : public DbModel
{
public:
    explicit MidiEventModel(int id = 0) : DbModel(id, "MidiEvents", "MidiEventID") {}

    // Adds a chunk and makes this model refer to it; on failure the key becomes 0.
    void createMidiEvent(const juce::String& category, const juce::String& name);
    // A new chunk with a copy of the source's messages. Opens no undo group.
    void cloneMidiEvent(int sourceId, const juce::String& category, const juce::String& name);
    // Replaces this chunk's messages with copies of the source's.
    void pasteMidiEvent(const MidiEventModel& source);

    // Takes the id as this model's key when such a chunk exists.
    bool getMidiEvent(int id);
    bool doesEventExist(const juce::String& category, const juce::String& name) const;
    // "Category: Name", as the chunk is listed.
    juce::String getFullName() const;

    // Messages with a device first, by time, device, channel and type; those
    // without a device last.
    std::vector<MidiMessageModel> getMidiMessages() const;
    void addMidiMessage(double time, const juce::String& deviceName, int channel, int message,
                        int data1, int data2);
    void deleteAllMidiMessages();

    // Deletes the chunk with its messages as one undoable step. Undo brings the
    // chunk and the memo references back, not the messages.
    void deleteMidiEvent();
    // How many memos send this chunk, at their start, end or both.
    int getUsageCount() const;

    // Sends the chunk as it is stored now: one timed buffer per output device,
    // each starting a millisecond after the call. Returns at once.
    void transmit() const;

private:
    // A message as stored.
    struct Message
    {
        double time = 0;
        juce::String device;
        int channel = 0, message = 0, data1 = 0, data2 = 0;
    };
    std::vector<Message> readMidiMessages() const;
};
