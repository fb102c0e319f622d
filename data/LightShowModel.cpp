#include "data/LightShowModel.h"

#include "data/SqlFormat.h"
#include "data/VmDatabase.h"

void LightShowModel::createLightShow(int audioFileId, const juce::String& name,
                                     const juce::String& glimraShowName, const juce::String& note,
                                     double tempo)
{
    auto* db = VmDatabase::getInstance();
    juce::String n = name, show = glimraShowName, text = note;
    cleanStringForDb(n);
    cleanStringForDb(show);
    cleanStringForDb(text);
    db->execQuery(sqlFormat("INSERT INTO LightShows(AudioFileID, Name, GlimraShowName, Note, "
                            "Tempo) VALUES(%d,'%s','%s','%s',%f)",
                            audioFileId, n.toRawUTF8(), show.toRawUTF8(), text.toRawUTF8(), tempo));
    recordId = db->execQuery("SELECT last_insert_rowid()").getIntField(0);
    db->updateObs("LightShows", recordId, dbRecordChanged);
}

void LightShowModel::cloneLightShow(int sourceId, const juce::String& name,
                                    const juce::String& note)
{
    auto* db = VmDatabase::getInstance();
    db->startTransaction("Copy Lightshow");
    LightShowModel source(sourceId);
    auto tempo = source.getFloatField("Tempo");
    auto showName = source.getStringField("GlimraShowName");
    auto audioFileId = source.getIntField("AudioFileID");
    createLightShow(audioFileId, name, showName, note, tempo);
    pasteLightShow(source);
    db->endTransaction();
}

void LightShowModel::pasteLightShow(const LightShowModel& source)
{
    // Onto itself, clearing first would copy nothing back.
    if (source.getRecordId() == recordId)
        return;

    deleteAllCues();
    deleteAllNotes();
    for (auto& cue : source.getCues())
    {
        auto preset = cue.getStringField("PresetName");
        auto bank = cue.getStringField("BankName");
        auto fadeOut = cue.getFloatField("FadeOutTime");
        auto fadeIn = cue.getFloatField("FadeInTime");
        auto duration = cue.getFloatField("CueDuration");
        auto time = cue.getFloatField("CueTime");
        GlimraCueModel().createCue(recordId, time, duration, fadeIn, fadeOut, bank, preset);
    }
    for (auto& memo : source.getMemos())
    {
        auto length = memo.getFloatField("MemoLength");
        auto endChunk = memo.getIntField("EndMidiEventID");
        auto startChunk = memo.getIntField("StartMidiEventID");
        auto countIn = memo.getIntField("CountIn");
        auto text = memo.getStringField("Memo");
        auto shortName = memo.getStringField("ShortName");
        auto time = memo.getFloatField("MemoTime");
        ShowMemoModel().createMemo(recordId, time, shortName, text, countIn, startChunk, endChunk,
                                   length);
    }
}

int LightShowModel::deleteLightShow()
{
    auto* db = VmDatabase::getInstance();
    db->startTransaction("Delete Lightshow");
    // Cues and memos first, so that one undo brings the lightshow back before them.
    db->execQuery(sqlFormat("DELETE FROM GlimraCues WHERE lightShowID=%d", recordId));
    db->execQuery(sqlFormat("DELETE FROM ShowMemos WHERE lightShowID=%d", recordId));
    db->execQuery(sqlFormat("DELETE FROM LightShows WHERE lightShowID=%d", recordId));
    return db->endTransaction();
}

int LightShowModel::deleteAllCues()
{
    auto* db = VmDatabase::getInstance();
    db->startTransaction("Delete All Cues");
    for (auto& cue : getCues())
        cue.deleteCue();
    return db->endTransaction();
}

void LightShowModel::deleteAllNotes()
{
    auto* db = VmDatabase::getInstance();
    db->startTransaction("Delete All Notes");
    for (auto& memo : getMemos())
        memo.deleteMemo();
    db->endTransaction();
}

std::vector<GlimraCueModel> LightShowModel::getCues() const
{
    std::vector<GlimraCueModel> cues;
    for (auto q = VmDatabase::getInstance()->execQuery(
             sqlFormat("SELECT GlimraCueID FROM GlimraCues WHERE LightShowID=%d ORDER BY "
                       "CueTime,CueDuration",
                       recordId));
         !q.eof(); q.nextRow())
        cues.emplace_back(q.getIntField(0));
    return cues;
}

std::vector<ShowMemoModel> LightShowModel::getMemos() const
{
    std::vector<ShowMemoModel> memos;
    for (auto q = VmDatabase::getInstance()->execQuery(sqlFormat(
             "SELECT ShowMemoID FROM ShowMemos WHERE LightShowID=%d ORDER BY MemoTime", recordId));
         !q.eof(); q.nextRow())
        memos.emplace_back(q.getIntField(0));
    return memos;
}

void LightShowModel::addCue(const juce::String& bank, const juce::String& preset, double time,
                            double duration, double fadeIn, double fadeOut)
{
    juce::String b = bank, p = preset;
    cleanStringForDb(b);
    cleanStringForDb(p);
    VmDatabase::getInstance()->execQuery(
        sqlFormat("INSERT INTO GlimraCues(LightShowID,BankName,PresetName,CueTime,CueDuration,"
                  "FadeInTime,FadeOutTime) VALUES(%d,'%s','%s', %f, %f, %f, %f)",
                  recordId, b.toRawUTF8(), p.toRawUTF8(), time, duration, fadeIn, fadeOut));
}

void LightShowModel::addMemo(const juce::String& shortName, const juce::String& memo, double time,
                             int countIn, int startChunkId, int endChunkId, double length)
{
    auto* db = VmDatabase::getInstance();
    db->startTransaction("Add Memo");
    juce::String name = shortName, text = memo;
    cleanStringForDb(name);
    cleanStringForDb(text);
    db->execQuery(sqlFormat("INSERT INTO ShowMemos(LightShowID,ShortName,Memo,MemoTime,"
                            "MemoLength,CountIn) VALUES(%d,'%s','%s',%f,%f,%d)",
                            recordId, name.toRawUTF8(), text.toRawUTF8(), time, length, countIn));
    ShowMemoModel created(db->execQuery("SELECT last_insert_rowid()").getIntField(0));
    created.setChunk("StartMidiEventID", startChunkId);
    created.setChunk("EndMidiEventID", endChunkId);
    db->endTransaction();
}

int LightShowModel::getNumDependentSets() const
{
    return VmDatabase::getInstance()
        ->execQuery(
            sqlFormat("SELECT COUNT(SetElementID) FROM SetElements WHERE LightShowID=%d", recordId))
        .getIntField(0);
}
