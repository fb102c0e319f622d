#pragma once

#include "data/DbModel.h"

// One timed message of a chunk: one row of MidiMessages. Its fields are Time
// (seconds from the start of the chunk), OutDevice (empty for none), Channel
// (0 to 15), Message (the status byte without channel: 144 note on, 192
// program change...), Data1 and Data2. Changes to messages are not undoable.
class MidiMessageModel : public DbModel
{
public:
    explicit MidiMessageModel(int id = 0) : DbModel(id, "MidiMessages", "MidiMessageID") {}

    void deleteMidiMessage();
};
