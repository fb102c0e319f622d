#pragma once

#include "data/DbModel.h"

// One memo of a lightshow: a title and a text for the stage, with count-in beats
// and the MIDI chunks sent when it starts and ends.
class ShowMemoModel : public DbModel
{
public:
    explicit ShowMemoModel(int id = 0) : DbModel(id, "ShowMemos", "ShowMemoID") {}

    // Adds the memo; this model then stands for it. A chunk id of 0 or less means none.
    void createMemo(int lightShowId, double time, const juce::String& shortName,
                    const juce::String& memo, int countIn, int startChunkId, int endChunkId,
                    double length);
    void deleteMemo();

    // Sets or clears one of the two chunk references (0 or less clears it).
    void setChunk(const char* column, int chunkId);
};
