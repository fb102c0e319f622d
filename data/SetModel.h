#pragma once

#include "data/DbModel.h"
#include "data/SetElementModel.h"

#include <vector>

// A show: the songs of one performance, in their order.
class SetModel : public DbModel
{
public:
    explicit SetModel(int id = 0) : DbModel(id, "Sets", "SetID") {}

    // Adds the show; this model then stands for it.
    void createSet(const juce::String& name, const juce::String& folder);
    // A new show with the source's songs, order and auto-start flags.
    void cloneSet(int sourceId, const juce::String& name, const juce::String& folder);
    // Replaces this show's songs with copies of the source's.
    void pasteSet(const SetModel& source);

    std::vector<SetElementModel> getSetElements() const;
    // Inserts a song at a position (beyond the end appends); one undo step.
    void addSetElement(int lightShowId, int position, bool autoStart);
    void deleteAllSetElements();
    void deleteSet();
};
