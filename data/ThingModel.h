#pragma once

#include "data/DbModel.h"

#include <vector>

// Named values in the Things table. Never traced by undo, never announced.
class ThingModel : public DbModel
{
public:
    explicit ThingModel(int thingId = 0);

    // One string per row: the ThingID, "|" and the value.
    std::vector<juce::String> getThings(const juce::String& name) const;
    void addThing(const juce::String& name, const juce::String& value);
    void saveThings(const juce::String& name, const std::vector<juce::String>& values);
    void overwriteThing(const juce::String& value);
    void deleteThing();
    juce::String getThingWithId(const juce::String& name, int identifier) const;
    void saveThingWithId(const juce::String& name, int identifier, const juce::String& value);
};
