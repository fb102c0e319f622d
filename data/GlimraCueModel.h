#pragma once

#include "data/DbModel.h"

// One lighting cue of a lightshow: a bank and preset with start, duration and fades.
class GlimraCueModel : public DbModel
{
public:
    explicit GlimraCueModel(int id = 0) : DbModel(id, "GlimraCues", "GlimraCueID") {}

    // Adds the cue; this model then stands for it.
    void createCue(int lightShowId, double time, double duration, double fadeIn, double fadeOut,
                   const juce::String& bank, const juce::String& preset);
    void updateCue(double time, double duration, double fadeIn, double fadeOut,
                   const juce::String& bank, const juce::String& preset);
    void deleteCue();
};

// A number as SQL text with nine significant digits.
juce::String sqlNumber(double value);
