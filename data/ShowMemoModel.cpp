#include "data/ShowMemoModel.h"

#include "data/GlimraCueModel.h"
#include "data/SqlFormat.h"
#include "data/VmDatabase.h"

void ShowMemoModel::createMemo(int lightShowId, double time, const juce::String& shortName,
                               const juce::String& memo, int countIn, int startChunkId,
                               int endChunkId, double length)
{
    auto* db = VmDatabase::getInstance();
    juce::String name = shortName, text = memo;
    cleanStringForDb(name);
    cleanStringForDb(text);
    // Built in one pass, so that a "$5" typed in a memo stays as typed.
    db->execQuery("INSERT INTO ShowMemos(LightShowID, MemoTime, MemoLength, ShortName, Memo, "
                  "CountIn) VALUES(" +
                  juce::String(lightShowId) + ", " + sqlNumber(time) + ", " + sqlNumber(length) +
                  ", '" + name + "', '" + text + "', " + juce::String(countIn) + ")");
    recordId = db->execQuery("SELECT last_insert_rowid()").getIntField(0);
    setChunk("StartMidiEventID", startChunkId);
    setChunk("EndMidiEventID", endChunkId);
    db->updateObs("ShowMemos", recordId, dbRecordChanged);
}

void ShowMemoModel::setChunk(const char* column, int chunkId)
{
    if (chunkId > 0)
        setIntField(column, chunkId);
    else
        setFieldNull(column);
}

void ShowMemoModel::deleteMemo()
{
    VmDatabase::getInstance()->execQuery(
        sqlFormat("DELETE FROM ShowMemos WHERE ShowMemoID=%d", recordId));
}
