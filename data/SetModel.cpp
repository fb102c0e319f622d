#include "data/SetModel.h"

#include "data/SqlFormat.h"
#include "data/VmDatabase.h"

void SetModel::createSet(const juce::String& name, const juce::String& folder)
{
    auto* db = VmDatabase::getInstance();
    juce::String n = name, f = folder;
    cleanStringForDb(n);
    cleanStringForDb(f);
    db->execQuery(sqlFormat("INSERT INTO Sets(Name, Folder) VALUES('%s','%s')", n.toRawUTF8(),
                            f.toRawUTF8()));
    recordId = db->execQuery("SELECT last_insert_rowid()").getIntField(0);
    db->updateObs("Sets", recordId, dbRecordChanged);
}

void SetModel::cloneSet(int sourceId, const juce::String& name, const juce::String& folder)
{
    createSet(name, folder);
    pasteSet(SetModel(sourceId));
}

void SetModel::pasteSet(const SetModel& source)
{
    // Onto itself, clearing first would copy nothing back.
    if (source.getRecordId() == recordId)
        return;

    deleteAllSetElements();
    auto elements = source.getSetElements();
    for (int i = 0; i < (int)elements.size(); ++i)
        addSetElement(elements[(size_t)i].getIntField("LightShowID"), i,
                      elements[(size_t)i].getIntField("AutoStart") == 1);
}

std::vector<SetElementModel> SetModel::getSetElements() const
{
    std::vector<SetElementModel> elements;
    for (auto q = VmDatabase::getInstance()->execQuery(
             sqlFormat("SELECT SetElementID FROM SetElements WHERE SetID=%d ORDER BY "
                       "PlayOrder,SetElementID",
                       recordId));
         !q.eof(); q.nextRow())
        elements.emplace_back(q.getIntField(0));
    return elements;
}

void SetModel::addSetElement(int lightShowId, int position, bool autoStart)
{
    auto* db = VmDatabase::getInstance();
    db->startTransaction("Add Song To Set");
    auto elements = getSetElements();
    for (int i = 0; i < (int)elements.size(); ++i)
        elements[(size_t)i].setIntField("PlayOrder", i < position ? i : i + 1);
    db->execQuery(sqlFormat("INSERT INTO SetElements(SetID,LightShowID,PlayOrder,AutoStart) "
                            "VALUES(%d,%d,%d,%d)",
                            recordId, lightShowId, position, autoStart ? 1 : 0));
    db->execQuery("SELECT last_insert_rowid()");
    db->endTransaction();
}

void SetModel::deleteAllSetElements()
{
    VmDatabase::getInstance()->execQuery(
        sqlFormat("DELETE FROM SetElements WHERE SetID=%d", recordId));
}

void SetModel::deleteSet()
{
    auto* db = VmDatabase::getInstance();
    db->startTransaction("Delete Set");
    // The songs first, so that one undo brings the show back before them.
    db->execQuery(sqlFormat("DELETE FROM SetElements WHERE SetID=%d", recordId));
    db->execQuery(sqlFormat("DELETE FROM Sets WHERE SetID=%d", recordId));
    db->endTransaction();
}
