// Deleting a big track in one group, then undoing and redoing it: the times of
// undo and redo against the time of the delete itself, measured in one run on a
// library file like the program's.
#include "data/VmDatabase.h"
#include "platform/Dialogs.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{
constexpr int lightShows = 50, cuesPerShow = 200, memosPerShow = 20, rounds = 7;

double secondsOf(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void buildTrack(VmDatabase& db)
{
    db.startTransaction("Import Files");
    db.execQuery("INSERT INTO AudioFiles(AudioFileID,Name,Path) VALUES(1,'Big','Live/Big.wav')");
    for (int ls = 1; ls <= lightShows; ++ls)
    {
        db.execQuery("INSERT INTO LightShows(LightShowID,Name,AudioFileID) VALUES(" +
                     juce::String(ls) + ",'Show " + juce::String(ls) + "',1)");
        for (int c = 0; c < cuesPerShow; ++c)
            db.execQuery("INSERT INTO GlimraCues(LightShowID,CueTime,CueDuration,FadeInTime,"
                         "BankName,PresetName) VALUES(" +
                         juce::String(ls) + "," + juce::String(c * 1.5) + ",2.0,0.5,'Bank " +
                         juce::String(c % 8) + "','Preset " + juce::String(c % 13) + "')");
        for (int m = 0; m < memosPerShow; ++m)
            db.execQuery("INSERT INTO ShowMemos(LightShowID,ShortName,Memo,MemoTime,CountIn) "
                         "VALUES(" +
                         juce::String(ls) + ",'Verse " + juce::String(m) +
                         "','Line one of the lyrics\nand line two, it''s long'," +
                         juce::String(m * 12.0) + ",4)");
    }
    db.endTransaction();
    db.clearUndoStack();
}
} // namespace

int main()
{
    RecordingResponder dialogs;
    Dialogs::setResponder(&dialogs);

    auto folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                      .getNonexistentChildFile("velmora-undo-bench", "", false);
    auto& db = *VmDatabase::getInstance();
    if (db.openDbFile(folder.getChildFile("Velmora.db")) != DbFileResult::created)
        return 1;
    db.makeReadyForUse();
    buildTrack(db);

    const int rows = 1 + lightShows * (1 + cuesPerShow + memosPerShow);
    std::vector<double> deletes, undos, redos;
    bool restored = true;
    for (int r = 0; r < rounds; ++r)
    {
        deletes.push_back(secondsOf(
            [&]
            {
                db.startTransaction("Delete Track");
                db.execQuery("DELETE FROM AudioFiles WHERE AudioFileID=1");
                db.endTransaction();
            }));
        undos.push_back(secondsOf([&] { restored = db.undo() && restored; }));
        restored = restored && db.execQuery("SELECT COUNT(*) FROM GlimraCues").getIntField(0) ==
                                   lightShows * cuesPerShow;
        redos.push_back(secondsOf([&] { restored = db.redo() && restored; }));
        restored = db.undo() && restored; // back for the next round, untimed
        db.clearUndoStack();
    }
    db.closeDb();
    folder.deleteRecursively();

    double d = median(deletes), u = median(undos), re = median(redos);
    std::printf("Undo of one group of %d rows (median of %d rounds, library file)\n", rows, rounds);
    std::printf("  delete  %8.1f ms\n", d * 1000);
    std::printf("  undo    %8.1f ms  (%.2fx the delete)\n", u * 1000, u / d);
    std::printf("  redo    %8.1f ms  (%.2fx the delete)\n", re * 1000, re / d);
    std::printf("  goals: undo and redo within 5x the delete, undo under 1 s: %s\n",
                u <= 5 * d && re <= 5 * d && u < 1.0 ? "met" : "NOT met");
    if (!restored || !dialogs.requests.empty())
    {
        std::printf("  FAILED: the track did not come back intact, or an error was shown\n");
        return 1;
    }
    return 0;
}
