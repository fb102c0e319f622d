#include "data/ThingModel.h"

#include "data/SqlFormat.h"
#include "data/VmDatabase.h"

// Names and values are stored exactly as given: quotes are doubled inside the
// literal, nothing else is touched.

ThingModel::ThingModel(int thingId) : DbModel(thingId, "Things", "ThingID") {}

std::vector<juce::String> ThingModel::getThings(const juce::String& name) const
{
    std::vector<juce::String> things;
    auto* db = VmDatabase::getInstance();
    if (!db->hasConnection())
        return things;
    auto q = db->execQuery("SELECT ThingID,Value FROM Things WHERE Name='" + sqlQuote(name) + "'");
    for (; !q.eof(); q.nextRow())
        things.push_back(juce::String(q.getIntField(0)) + "|" + q.getStringField(1));
    return things;
}

void ThingModel::addThing(const juce::String& name, const juce::String& value)
{
    VmDatabase::getInstance()->execQuery("INSERT INTO Things(Name,Value) VALUES('" +
                                         sqlQuote(name) + "', '" + sqlQuote(value) + "')");
}

void ThingModel::saveThings(const juce::String& name, const std::vector<juce::String>& values)
{
    VmDatabase::getInstance()->execQuery("DELETE FROM Things WHERE Name='" + sqlQuote(name) + "'");
    for (auto& v : values)
        addThing(name, v);
}

void ThingModel::overwriteThing(const juce::String& value)
{
    VmDatabase::getInstance()->execQuery("UPDATE Things SET Value='" + sqlQuote(value) +
                                         "' WHERE ThingID=" + juce::String(recordId));
}

void ThingModel::deleteThing()
{
    VmDatabase::getInstance()->execQuery("DELETE FROM Things WHERE ThingID=" +
                                         juce::String(recordId));
    recordId = 0;
}

juce::String ThingModel::getThingWithId(const juce::String& name, int identifier) const
{
    auto q = VmDatabase::getInstance()->execQuery("SELECT Value FROM Things WHERE Name='" +
                                                  sqlQuote(name) +
                                                  "' AND Identifier=" + juce::String(identifier));
    return q.getStringField(0);
}

void ThingModel::saveThingWithId(const juce::String& name, int identifier,
                                 const juce::String& value)
{
    auto* db = VmDatabase::getInstance();
    db->execQuery("DELETE FROM Things WHERE Name='" + sqlQuote(name) +
                  "' AND Identifier=" + juce::String(identifier));
    db->execQuery("INSERT INTO Things(Name,Identifier,Value) VALUES('" + sqlQuote(name) + "', " +
                  juce::String(identifier) + ", '" + sqlQuote(value) + "')");
}
