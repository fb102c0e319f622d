#include "data/GlimraCueModel.h"

#include "data/SqlFormat.h"
#include "data/VmDatabase.h"

juce::String sqlNumber(double value)
{
    return sqlFormat("%.9g", value);
}

void GlimraCueModel::createCue(int lightShowId, double time, double duration, double fadeIn,
                               double fadeOut, const juce::String& bank, const juce::String& preset)
{
    auto* db = VmDatabase::getInstance();
    juce::String b = bank, p = preset;
    cleanStringForDb(b);
    cleanStringForDb(p);
    db->execQuery(sqlFormat("INSERT INTO GlimraCues(LightShowID, CueTime, CueDuration, "
                            "FadeInTime, FadeOutTime, BankName, PresetName) VALUES(%d, %f, %f, "
                            "%f, %f, '%s', '%s')",
                            lightShowId, time, duration, fadeIn, fadeOut, b.toRawUTF8(),
                            p.toRawUTF8()));
    recordId = db->execQuery("SELECT last_insert_rowid()").getIntField(0);
    db->updateObs("GlimraCues", recordId, dbRecordChanged);
}

void GlimraCueModel::updateCue(double time, double duration, double fadeIn, double fadeOut,
                               const juce::String& bank, const juce::String& preset)
{
    juce::String b = bank, p = preset;
    cleanStringForDb(b);
    cleanStringForDb(p);
    VmDatabase::getInstance()->execQuery(
        "UPDATE GlimraCues SET BankName='" + b + "',PresetName='" + p +
        "',CueTime=" + sqlNumber(time) + ",CueDuration=" + sqlNumber(duration) +
        ",FadeInTime=" + sqlNumber(fadeIn) + ",FadeOutTime=" + sqlNumber(fadeOut) +
        " WHERE GlimraCueID=" + juce::String(recordId));
}

void GlimraCueModel::deleteCue()
{
    VmDatabase::getInstance()->execQuery(
        sqlFormat("DELETE FROM GlimraCues WHERE GlimraCueID=%d", recordId));
}
