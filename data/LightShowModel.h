#pragma once

#include "data/DbModel.h"
#include "data/GlimraCueModel.h"
#include "data/ShowMemoModel.h"

#include <vector>

// A lightshow: what happens on stage while one track plays.
class LightShowModel : public DbModel
{
public:
    explicit LightShowModel(int id = 0) : DbModel(id, "LightShows", "LightShowID") {}

    // Adds the lightshow; this model then stands for it.
    void createLightShow(int audioFileId, const juce::String& name,
                         const juce::String& glimraShowName, const juce::String& note,
                         double tempo);
    // A new lightshow on the source's track with copies of its cues and memos; one undo step.
    void cloneLightShow(int sourceId, const juce::String& name, const juce::String& note);
    // Replaces this lightshow's cues and memos with copies of the source's.
    void pasteLightShow(const LightShowModel& source);
    int deleteLightShow();
    int deleteAllCues();
    void deleteAllNotes();

    std::vector<GlimraCueModel> getCues() const;
    std::vector<ShowMemoModel> getMemos() const;

    void addCue(const juce::String& bank, const juce::String& preset, double time, double duration,
                double fadeIn, double fadeOut);
    // One undo step; chunk ids of 0 or less (the editor passes -1) mean none.
    void addMemo(const juce::String& shortName, const juce::String& memo, double time, int countIn,
                 int startChunkId, int endChunkId, double length);

    // How many show elements play this lightshow.
    int getNumDependentSets() const;
};
