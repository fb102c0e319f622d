#pragma once

#include "data/DbModel.h"

// A chunk of the library: one row of MidiEvents.
class MidiEventModel : public DbModel
{
public:
    explicit MidiEventModel(int id = 0) : DbModel(id, "MidiEvents", "MidiEventID") {}
};
