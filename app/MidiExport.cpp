#include "app/MidiExport.h"

#include "app/AppGlobals.h"
#include "data/LightShowModel.h"
#include "data/VmDatabase.h"
#include "platform/Dialogs.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>

namespace
{
const int ticksPerQuarter = 960;
// The largest delta time a MIDI file can hold; no event may lie beyond it.
const juce::int64 maxTick = 0x0fffffff;
const char* exportTitle = "Export lightshow to MIDI file";

// The tempo as the file will carry it: whole microseconds per quarter note in
// 24 bits. Times are converted with this value, so that any reader of the file
// finds the events where they were on the timeline.
int microsecondsPerQuarter(double bpm)
{
    if (!std::isfinite(bpm) || bpm <= 0)
        bpm = 120;
    return (int)juce::jlimit(1.0, (double)0xffffff, std::round(60.0e6 / bpm));
}

double clampedSeconds(double seconds)
{
    return std::isfinite(seconds) ? juce::jmax(0.0, seconds) : 0.0;
}

// The tick at or just after a time: a cue written a little early could come
// nearer to the cue before it than the gap allows. The small tolerance keeps a
// time that lies on a tick from being pushed to the next one by float rounding.
juce::int64 tickAtOrAfter(double seconds, double ticksPerSecond)
{
    return (juce::int64)std::ceil(clampedSeconds(seconds) * ticksPerSecond - 0.001);
}

juce::int64 nearestTick(double seconds, double ticksPerSecond)
{
    return (juce::int64)std::llround(clampedSeconds(seconds) * ticksPerSecond);
}

bool lightShowExists(int lightShowId)
{
    auto* db = VmDatabase::getInstance();
    if (db->isClosed())
        return false;
    return db->execQuery("SELECT COUNT(*) FROM LightShows WHERE LightShowID=" +
                         juce::String(lightShowId))
               .getIntField(0) > 0;
}

juce::Result writeFileSafely(const juce::MidiFile& midi, const juce::File& file)
{
    auto fail = [&file](const juce::String& why)
    {
        return juce::Result::fail("The MIDI file \"" + file.getFullPathName() +
                                  "\" could not be written: " + why);
    };

    // Replacing a folder would delete it if it is empty.
    if (file.isDirectory())
        return fail("a folder of that name exists.");

    // The new file is complete before it takes the place of an existing one.
    juce::TemporaryFile temp(file);
    {
        juce::FileOutputStream out(temp.getFile());
        if (out.failedToOpen())
            return fail(out.getStatus().getErrorMessage());
        if (!midi.writeTo(out, 1))
            return fail("writing failed.");
        out.flush();
        if (out.getStatus().failed())
            return fail(out.getStatus().getErrorMessage());
    }
    if (!temp.overwriteTargetFileWithTemporary())
        return fail("it could not be put in place.");
    return juce::Result::ok();
}

double readMinGapMs()
{
    double gap = 5.0;
    if (appProperties != nullptr)
        if (auto* settings = appProperties->getUserSettings())
            gap = settings->getDoubleValue("exportMinGap", 5.0);
    if (!std::isfinite(gap))
        gap = 5.0;
    return juce::jlimit(0.0, 100.0, gap);
}
} // namespace

float getBestFitTime(const std::vector<float>& usedTimes, float proposedTime, float minGap)
{
    // Every move goes past a used time, so with exact arithmetic there are at most
    // as many moves as used times; the bound only guards against float rounding
    // that would swallow the step at very large times.
    for (size_t moves = 0; moves <= usedTimes.size(); ++moves)
    {
        bool moved = false;
        for (float used : usedTimes)
        {
            if (std::abs(used - proposedTime) < minGap)
            {
                proposedTime = used + minGap + 0.0001f;
                moved = true;
                break;
            }
        }
        if (!moved)
            break;
    }
    return proposedTime;
}

juce::Result exportLightShowToMidiFile(int lightShowId, const juce::File& file, double minGapMs)
{
    if (lightShowId <= 0 || !lightShowExists(lightShowId))
        return juce::Result::fail("The lightshow to export does not exist (id " +
                                  juce::String(lightShowId) + ").");
    if (file == juce::File())
        return juce::Result::fail("No file was given to export to.");

    LightShowModel show(lightShowId);
    const int usPerQuarter = microsecondsPerQuarter(show.getFloatField("Tempo"));
    const double ticksPerSecond = ticksPerQuarter * 1.0e6 / usPerQuarter;
    const float minGap =
        (float)(juce::jlimit(0.0, 100.0, std::isfinite(minGapMs) ? minGapMs : 5.0) / 1000.0);

    juce::MidiMessageSequence events;
    auto name = show.getStringField("Name");
    if (name.isNotEmpty())
        events.addEvent(juce::MidiMessage::textMetaEvent(3, name.toRawUTF8()), 0);

    juce::int64 lastTick = 0;
    std::vector<float> usedTimes;
    for (auto& cue : show.getCues())
    {
        float time = (float)clampedSeconds(cue.getFloatField("CueTime"));
        juce::int64 tick = 0;
        // Fit the time, then check the tick it lands on: rounding up to a tick can
        // bring it nearer to a cue already placed after it.
        for (size_t tries = 0; tries <= usedTimes.size() + 1; ++tries)
        {
            time = getBestFitTime(usedTimes, time, minGap);
            tick = tickAtOrAfter(time, ticksPerSecond);
            float written = (float)(tick / ticksPerSecond);
            if (getBestFitTime(usedTimes, written, minGap) == written)
                break;
            time = written;
        }
        usedTimes.push_back((float)(tick / ticksPerSecond));
        lastTick = juce::jmax(lastTick, tick);

        auto text = cue.getStringField("BankName") + " | " + cue.getStringField("PresetName");
        events.addEvent(juce::MidiMessage::textMetaEvent(6, text.toRawUTF8()), (double)tick);
    }

    for (auto& memo : show.getMemos())
    {
        auto text = memo.getStringField("Memo");
        if (text.isEmpty())
            text = memo.getStringField("ShortName");
        if (text.isEmpty())
            continue;
        auto tick = nearestTick(memo.getFloatField("MemoTime"), ticksPerSecond);
        lastTick = juce::jmax(lastTick, tick);
        events.addEvent(juce::MidiMessage::textMetaEvent(5, text.toRawUTF8()), (double)tick);
    }

    if (lastTick > maxTick)
        return juce::Result::fail("The lightshow reaches too far for a MIDI file at its tempo.");
    events.addEvent(juce::MidiMessage::endOfTrack(), (double)lastTick);

    juce::MidiMessageSequence conductor;
    conductor.addEvent(juce::MidiMessage::tempoMetaEvent(usPerQuarter), 0);
    conductor.addEvent(juce::MidiMessage::timeSignatureMetaEvent(4, 4), 0);
    conductor.addEvent(juce::MidiMessage::endOfTrack(), 0);

    juce::MidiFile midi;
    midi.setTicksPerQuarterNote(ticksPerQuarter);
    midi.addTrack(conductor);
    midi.addTrack(events);
    return writeFileSafely(midi, file);
}

void doExportMidi(int lightShowId)
{
    if (lightShowId <= 0)
    {
        Dialogs::showMessage(DialogIcon::info, exportTitle,
                             "Open a lightshow in the editor first, then export it.");
        return;
    }

    auto name = LightShowModel(lightShowId).getStringField("Name").trim();
    auto fileName = juce::File::createLegalFileName(name.isEmpty() ? "Lightshow" : name) + ".mid";
    auto proposed =
        juce::File::getSpecialLocation(juce::File::userDocumentsDirectory).getChildFile(fileName);

    juce::File chosen;
    if (!Dialogs::chooseFileToSave(exportTitle, proposed, "*.mid;*.midi", chosen))
        return;

    auto result = exportLightShowToMidiFile(lightShowId, chosen, readMinGapMs());
    if (result.wasOk())
        Dialogs::showMessage(DialogIcon::info, exportTitle,
                             "The lightshow was exported to\n" + chosen.getFullPathName());
    else
        Dialogs::showMessage(DialogIcon::warning, exportTitle, result.getErrorMessage());
}
