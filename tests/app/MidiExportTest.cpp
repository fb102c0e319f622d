#include "app/MidiExport.h"
#include "TestSupport.h"
#include "app/AppGlobals.h"
#include "data/LightShowModel.h"
#include "data/VmDatabase.h"
#include "platform/SettingsFile.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
juce::String utf8(const char* text)
{
    return juce::String::fromUTF8(text);
}

struct FitCase
{
    const char* what;
    std::vector<float> used;
    float proposed;
    float gap;
    float expected;
};

TEST(BestFitTime, MovesPastNearTimesAndOnlyLater)
{
    const std::vector<FitCase> cases = {
        {"nothing used", {}, 1.0f, 0.005f, 1.0f},
        {"far enough from every used time", {1.0f, 2.0f}, 1.5f, 0.005f, 1.5f},
        {"exactly the gap away is not nearer", {1.0f}, 1.25f, 0.25f, 1.25f},
        {"just after a used time", {1.0f}, 1.002f, 0.005f, 1.0f + 0.005f + 0.0001f},
        {"just before a used time still moves later",
         {1.0f},
         0.998f,
         0.005f,
         1.0f + 0.005f + 0.0001f},
        // The move lands near a time scanned earlier: only a rescan from the start sees it.
        {"rescan from the start", {1.008f, 1.0f}, 1.0f, 0.005f, 1.008f + 0.005f + 0.0001f},
        {"chain of moves", {3.0f, 2.0f, 2.1f, 2.2f}, 2.05f, 0.1f, 2.2f + 0.1f + 0.0001f},
        {"gap of 0 keeps equal times", {1.0f}, 1.0f, 0.0f, 1.0f},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        float fit = getBestFitTime(c.used, c.proposed, c.gap);
        EXPECT_FLOAT_EQ(fit, c.expected);
        EXPECT_GE(fit, c.proposed);
        for (float t : c.used)
            EXPECT_GE(std::abs(fit - t), c.gap * 0.9999f) << "used " << t;
    }

    // Where float steps are coarser than the gap it gives up instead of hanging.
    EXPECT_GE(getBestFitTime({1.0e8f}, 1.0e8f, 0.005f), 1.0e8f);
}

// One event of a track as a reader sees it.
struct Event
{
    juce::String type;
    double seconds;
    juce::String text;
};
using Tracks = std::vector<std::vector<Event>>;

struct ReadBack
{
    juce::String error; // empty when the file was read
    int format = -1;
    int ticksPerQuarter = 0;
    Tracks tracks;
};

ReadBack readWithJuce(const juce::File& file)
{
    ReadBack r;
    juce::FileInputStream in(file);
    juce::MidiFile midi;
    if (!in.openedOk() || !midi.readFrom(in, false, &r.format))
    {
        r.error = "JUCE cannot read " + file.getFullPathName();
        return r;
    }
    r.ticksPerQuarter = midi.getTimeFormat();
    midi.convertTimestampTicksToSeconds();
    for (int t = 0; t < midi.getNumTracks(); ++t)
    {
        std::vector<Event> events;
        for (auto* holder : *midi.getTrack(t))
        {
            auto& m = holder->message;
            Event e{"other", m.getTimeStamp(), {}};
            if (m.isTempoMetaEvent())
                e = {"set_tempo", e.seconds,
                     juce::String(60.0 / m.getTempoSecondsPerQuarterNote(), 3)};
            else if (m.isTimeSignatureMetaEvent())
            {
                int num = 0, den = 0;
                m.getTimeSignatureInfo(num, den);
                e = {"time_signature", e.seconds, juce::String(num) + "/" + juce::String(den)};
            }
            else if (m.isEndOfTrackMetaEvent())
                e.type = "end_of_track";
            else if (m.isTextMetaEvent())
            {
                auto kind = m.getMetaEventType();
                e.type = kind == 3   ? "track_name"
                         : kind == 5 ? "lyrics"
                         : kind == 6 ? "marker"
                                     : "text";
                e.text = m.getTextFromTextMetaEvent();
            }
            events.push_back(e);
        }
        r.tracks.push_back(events);
    }
    return r;
}

// Debian's mido as a second opinion that shares no code with the writer.
const char* midoScript = R"PY(
import json, sys
try:
    import mido
except ImportError as e:
    print("ERROR: python3-mido is not installed (%s)" % e)
    sys.exit(3)
try:
    f = mido.MidiFile(sys.argv[1], charset="utf-8")
    tempo = 500000
    for track in f.tracks:
        for m in track:
            if m.type == "set_tempo":
                tempo = m.tempo
    tracks = []
    for track in f.tracks:
        events, tick = [], 0
        for m in track:
            tick += m.time
            text = ""
            if m.type == "set_tempo":
                text = "%.3f" % mido.tempo2bpm(m.tempo)
            elif m.type == "time_signature":
                text = "%d/%d" % (m.numerator, m.denominator)
            elif m.is_meta and hasattr(m, "text"):
                text = m.text
            elif m.is_meta and hasattr(m, "name"):
                text = m.name
            events.append([m.type, mido.tick2second(tick, f.ticks_per_beat, tempo), text])
        tracks.append(events)
    print(json.dumps({"format": f.type, "tpq": f.ticks_per_beat, "tracks": tracks}))
except Exception as e:
    print("ERROR: mido cannot read the file: %r" % e)
    sys.exit(4)
)PY";

ReadBack readWithMido(const juce::File& file)
{
    ReadBack r;
    juce::File debianPython("/usr/bin/python3");
    juce::String python = debianPython.existsAsFile() ? debianPython.getFullPathName() : "python3";
    juce::ChildProcess child;
    if (!child.start(juce::StringArray{python, "-c", midoScript, file.getFullPathName()},
                     juce::ChildProcess::wantStdOut))
    {
        r.error = "python3 could not be started; this test needs python3 with python3-mido";
        return r;
    }
    auto output = child.readAllProcessOutput().trim();
    child.waitForProcessToFinish(30000);
    if (child.getExitCode() != 0 || output.startsWith("ERROR"))
    {
        r.error = "mido reader failed (" + python + "): " + output;
        return r;
    }
    auto json = juce::JSON::parse(output);
    r.format = json["format"];
    r.ticksPerQuarter = json["tpq"];
    if (auto* tracks = json["tracks"].getArray())
        for (auto& track : *tracks)
        {
            std::vector<Event> events;
            if (auto* list = track.getArray())
                for (auto& e : *list)
                    events.push_back({e[0].toString(), (double)e[1], e[2].toString()});
            r.tracks.push_back(events);
        }
    return r;
}

std::vector<Event> ofType(const std::vector<Event>& events, const juce::String& type)
{
    std::vector<Event> r;
    for (auto& e : events)
        if (e.type == type)
            r.push_back(e);
    return r;
}

class MidiExportTest : public ::testing::Test
{
protected:
    static constexpr double tempo = 100;
    static constexpr double tick = 60.0 / tempo / 960; // seconds

    void SetUp() override
    {
        db->newMemoryDb();
        db->execDML("INSERT INTO AudioFiles(Name,Path) VALUES('Song','A/Song.wav')");
        show.createLightShow(1, utf8("Ünïcode Opener"), "Club", "", tempo);
        // Added out of time order: the export goes by time.
        show.addCue("Spots", "Blue 'cold'", 10.0, 2, 0, 0);
        show.addCue("Wash", "Amber", 1.5, 4, 0.5, 1);
        // Nearer than the gap to the cue at 10 s and to each other.
        show.addCue("Wash", "Red", 10.001, 1, 0, 0);
        show.addCue("Strobe", "Fast", 10.002, 1, 0, 0);
        show.addCue("Wash", "Off", 30.0, 0, 0, 0);
        show.addMemo("V1", utf8("Verse — ünïcödé's ♪ \"one\""), 2.0, 4, -1, -1, 6);
        show.addMemo("Solo", "", 20.25, 0, -1, -1, 4);
        show.addMemo("", "", 25.0, 0, -1, -1, 4); // nothing to show: no lyric
    }
    void TearDown() override { db->closeDb(); }

    // What both readers must find in a file of the lightshow above.
    void expectShow(const ReadBack& r, double gapSeconds)
    {
        ASSERT_EQ(r.error, "");
        EXPECT_EQ(r.format, 1);
        EXPECT_EQ(r.ticksPerQuarter, 960);
        ASSERT_EQ(r.tracks.size(), 2u);

        auto& conductor = r.tracks[0];
        auto tempos = ofType(conductor, "set_tempo");
        ASSERT_EQ(tempos.size(), 1u);
        EXPECT_EQ(tempos[0].text, "100.000");
        EXPECT_EQ(tempos[0].seconds, 0.0);
        ASSERT_EQ(ofType(conductor, "time_signature").size(), 1u);
        EXPECT_EQ(ofType(conductor, "time_signature")[0].text, "4/4");

        auto& events = r.tracks[1];
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.front().type, "track_name");
        EXPECT_EQ(events.front().text, utf8("Ünïcode Opener"));
        for (auto& track : r.tracks)
        {
            ASSERT_FALSE(track.empty());
            EXPECT_EQ(track.back().type, "end_of_track");
            EXPECT_EQ(ofType(track, "end_of_track").size(), 1u);
        }

        auto markers = ofType(events, "marker");
        juce::StringArray texts;
        for (auto& m : markers)
            texts.add(m.text);
        EXPECT_EQ(texts, juce::StringArray({"Wash | Amber", "Spots | Blue 'cold'", "Wash | Red",
                                            "Strobe | Fast", "Wash | Off"}));
        ASSERT_EQ(markers.size(), 5u);
        EXPECT_NEAR(markers[0].seconds, 1.5, tick);
        EXPECT_NEAR(markers[1].seconds, 10.0, tick);
        EXPECT_NEAR(markers[4].seconds, 30.0, tick);
        for (size_t i = 1; i < markers.size(); ++i)
            EXPECT_GE(markers[i].seconds - markers[i - 1].seconds, gapSeconds - 1e-9)
                << markers[i].text;
        // Pushed no further than the gap, its small margin and one tick.
        EXPECT_LE(markers[2].seconds - markers[1].seconds, gapSeconds + 0.0001 + tick + 1e-6);
        EXPECT_LE(markers[3].seconds - markers[2].seconds, gapSeconds + 0.0001 + tick + 1e-6);

        auto lyrics = ofType(events, "lyrics");
        ASSERT_EQ(lyrics.size(), 2u);
        EXPECT_EQ(lyrics[0].text, utf8("Verse — ünïcödé's ♪ \"one\""));
        EXPECT_NEAR(lyrics[0].seconds, 2.0, tick);
        EXPECT_EQ(lyrics[1].text, "Solo");
        EXPECT_NEAR(lyrics[1].seconds, 20.25, tick);

        for (size_t i = 1; i < events.size(); ++i)
            EXPECT_GE(events[i].seconds, events[i - 1].seconds);
    }

    juce::StringArray folderContents() const
    {
        juce::StringArray names;
        for (auto& f : temp.get().findChildFiles(juce::File::findFilesAndDirectories, true))
            names.add(f.getRelativePathFrom(temp.get()));
        names.sort(false);
        return names;
    }

    VmDatabase* db = VmDatabase::getInstance();
    LightShowModel show;
    TempFolder temp;
};
} // namespace

TEST_F(MidiExportTest, JuceAndMidoReadTheSameShowBack)
{
    auto file = temp.file("show.mid");
    auto result = exportLightShowToMidiFile(show.getRecordId(), file, 5);
    ASSERT_TRUE(result.wasOk()) << result.getErrorMessage();

    auto juceView = readWithJuce(file);
    {
        SCOPED_TRACE("JUCE");
        expectShow(juceView, 0.005);
    }
    auto midoView = readWithMido(file);
    ASSERT_EQ(midoView.error, "") << "The MIDI export is checked with Debian's python3-mido";
    {
        SCOPED_TRACE("mido");
        expectShow(midoView, 0.005);
    }

    ASSERT_EQ(midoView.tracks.size(), juceView.tracks.size());
    for (size_t t = 0; t < juceView.tracks.size(); ++t)
    {
        ASSERT_EQ(midoView.tracks[t].size(), juceView.tracks[t].size()) << "track " << t;
        for (size_t i = 0; i < juceView.tracks[t].size(); ++i)
        {
            auto &a = juceView.tracks[t][i], &b = midoView.tracks[t][i];
            EXPECT_EQ(a.type, b.type);
            EXPECT_EQ(a.text, b.text);
            EXPECT_NEAR(a.seconds, b.seconds, 1e-6) << a.type << " " << a.text;
        }
    }
    EXPECT_EQ(folderContents(), juce::StringArray({"show.mid"}));
}

TEST_F(MidiExportTest, AnExistingFileIsReplacedWhole)
{
    auto file = temp.file("show.mid");
    ASSERT_TRUE(file.replaceWithText(juce::String::repeatedString("old data ", 10000)));
    ASSERT_TRUE(exportLightShowToMidiFile(show.getRecordId(), file, 5).wasOk());
    expectShow(readWithJuce(file), 0.005);
    EXPECT_EQ(folderContents(), juce::StringArray({"show.mid"}));
}

TEST_F(MidiExportTest, FailuresLeaveTheDestinationAsItWas)
{
    temp.file("plain.txt").replaceWithText("not a folder");
    temp.file("taken.mid").createDirectory();
    temp.file("keep.mid").replaceWithText("keep me");
    struct Case
    {
        const char* what;
        int lightShowId;
        juce::File file;
    };
    const std::vector<Case> cases = {
        {"no such lightshow", 99, temp.file("keep.mid")},
        {"no lightshow", 0, temp.file("new.mid")},
        {"folder is a file", show.getRecordId(), temp.file("plain.txt").getChildFile("x.mid")},
        {"missing folder", show.getRecordId(), temp.file("gone").getChildFile("x.mid")},
        {"a folder has the name", show.getRecordId(), temp.file("taken.mid")},
    };
    auto before = folderContents();
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        auto result = exportLightShowToMidiFile(c.lightShowId, c.file, 5);
        EXPECT_TRUE(result.failed());
        EXPECT_NE(result.getErrorMessage(), "");
        EXPECT_EQ(folderContents(), before);
    }
    EXPECT_EQ(temp.file("keep.mid").loadFileAsString(), "keep me");
}

TEST_F(MidiExportTest, CommandWritesTheChosenFileAndSaysSo)
{
    ScopedDialogs dialogs;
    auto file = temp.file("chosen.mid");
    dialogs.recorder.pushAnswer({0, {}, file});
    doExportMidi(show.getRecordId());

    ASSERT_EQ(dialogs.requests().size(), 2u);
    auto& chooser = dialogs.requests()[0];
    EXPECT_EQ(chooser.kind, DialogKind::saveFile);
    EXPECT_EQ(chooser.title, "Export lightshow to MIDI file");
    EXPECT_EQ(chooser.initialFile,
              juce::File::getSpecialLocation(juce::File::userDocumentsDirectory)
                  .getChildFile(utf8("Ünïcode Opener.mid")));
    EXPECT_EQ(chooser.filePatterns, "*.mid;*.midi");
    auto& box = dialogs.requests()[1];
    EXPECT_EQ(box.kind, DialogKind::message);
    EXPECT_EQ(box.icon, DialogIcon::info);
    EXPECT_TRUE(box.text.contains(file.getFullPathName())) << box.text;
    // No settings: the default gap of 5 ms.
    expectShow(readWithJuce(file), 0.005);
}

TEST_F(MidiExportTest, CommandWithoutALightshowOrAnswerWritesNothing)
{
    {
        ScopedDialogs dialogs;
        doExportMidi(0);
        ASSERT_EQ(dialogs.requests().size(), 1u);
        EXPECT_EQ(dialogs.requests()[0].kind, DialogKind::message);
        EXPECT_EQ(dialogs.requests()[0].icon, DialogIcon::info);
        EXPECT_TRUE(dialogs.requests()[0].text.contains("lightshow"));
    }
    {
        ScopedDialogs dialogs; // the chooser is cancelled
        doExportMidi(show.getRecordId());
        ASSERT_EQ(dialogs.requests().size(), 1u);
        EXPECT_EQ(dialogs.requests()[0].kind, DialogKind::saveFile);
    }
    EXPECT_TRUE(folderContents().isEmpty());
}

TEST_F(MidiExportTest, CommandWarnsWhenTheFileCannotBeWritten)
{
    temp.file("plain.txt").replaceWithText("not a folder");
    auto file = temp.file("plain.txt").getChildFile("show.mid");
    ScopedDialogs dialogs;
    dialogs.recorder.pushAnswer({0, {}, file});
    doExportMidi(show.getRecordId());

    ASSERT_EQ(dialogs.requests().size(), 2u);
    auto& box = dialogs.requests()[1];
    EXPECT_EQ(box.icon, DialogIcon::warning);
    EXPECT_TRUE(box.text.contains(file.getFullPathName())) << box.text;
    EXPECT_EQ(folderContents(), juce::StringArray({"plain.txt"}));
    EXPECT_EQ(temp.file("plain.txt").loadFileAsString(), "not a folder");
}

TEST_F(MidiExportTest, CommandTakesTheGapFromTheSettingsWithinItsRange)
{
    juce::ApplicationProperties properties;
    properties.setStorageParameters(makeSettingsOptions());
    appProperties = &properties;
    struct Case
    {
        const char* setting; // nullptr: absent
        double gapSeconds;
    };
    for (auto c : std::vector<Case>{{nullptr, 0.005}, {"7.7", 0.0077}, {"1000", 0.1}, {"-3", 0.0}})
    {
        SCOPED_TRACE(c.setting == nullptr ? "absent" : c.setting);
        auto* settings = properties.getUserSettings();
        if (c.setting == nullptr)
            settings->removeValue("exportMinGap");
        else
            settings->setValue("exportMinGap", c.setting);

        auto file = temp.file("gap.mid");
        ScopedDialogs dialogs;
        dialogs.recorder.pushAnswer({0, {}, file});
        doExportMidi(show.getRecordId());
        ASSERT_EQ(dialogs.requests().size(), 2u);
        EXPECT_EQ(dialogs.requests()[1].icon, DialogIcon::info);

        auto markers = ofType(readWithJuce(file).tracks.at(1), "marker");
        ASSERT_EQ(markers.size(), 5u);
        // The three cues at 10 s are pushed apart by the gap and no more.
        for (size_t i : {2u, 3u})
        {
            auto apart = markers[i].seconds - markers[i - 1].seconds;
            EXPECT_GE(apart, c.gapSeconds - 1e-9) << markers[i].text;
            // The cues lie 1 ms apart.
            EXPECT_LE(apart, juce::jmax(0.001, c.gapSeconds + 0.0001) + tick + 1e-6)
                << markers[i].text;
        }
    }
    properties.getUserSettings()->removeValue("exportMinGap");
    properties.closeFiles();
    appProperties = nullptr;
}
