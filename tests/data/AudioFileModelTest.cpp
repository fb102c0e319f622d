#include "data/AudioFileModel.h"
#include "TestAudio.h"
#include "TestSupport.h"
#include "data/LightShowModel.h"
#include "data/VmDatabase.h"

#include <gtest/gtest.h>

namespace
{
class AudioFileModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        juce::File(getVelmoraMediaFolder()).deleteRecursively();
        db->newMemoryDb();
        db->addObs(&recorder);
    }
    void TearDown() override
    {
        db->deleteObs(&recorder);
        db->closeDb();
    }

    // A tone at tmp/<folder>/<name>.
    juce::File tone(const juce::String& folderAndName, double seconds)
    {
        auto f = tmp.file(folderAndName);
        EXPECT_TRUE(writeTone(f, seconds));
        return f;
    }
    int tracks() { return db->countAudioFiles(); }

    RecordingObserver recorder;

    VmDatabase* db = VmDatabase::getInstance();
    TempFolder tmp;
};
} // namespace

TEST_F(AudioFileModelTest, ImportCopiesIntoTheMediaFolderWithADefaultLightshow)
{
    auto source = tone("Music/Album/Song.wav", 1.0);
    AudioFileModel track;
    track.addNewFromPath(source.getFullPathName());

    ASSERT_EQ(track.getRecordId(), 1);
    EXPECT_EQ(track.getStringField("Name"), "Song");
    EXPECT_EQ(track.getStringField("Path"), "Album/Song.wav");
    EXPECT_EQ(track.getFolder(), "Album");
    EXPECT_EQ(track.getFullPath(), getVelmoraMediaFolder() + "Album/Song.wav");
    EXPECT_TRUE(track.fileExists());
    EXPECT_TRUE(fileBytes(juce::File(track.getFullPath())) == fileBytes(source));
    EXPECT_EQ(track.getFloatField("LengthSecs"), 0.0);

    auto shows = track.getLightShows();
    ASSERT_EQ(shows.size(), 1u);
    EXPECT_EQ(shows[0].getStringField("Name"), "Default lightshow");
    EXPECT_EQ(shows[0].getFloatField("Tempo"), 120.0);
    EXPECT_EQ(recorder.calls, juce::StringArray({"LightShows:1", "AudioFiles:1"}));

    // Found again on a second import, which then adds nothing of its own.
    AudioFileModel again;
    EXPECT_TRUE(again.getFromPath(source.getFullPathName()));
    EXPECT_EQ(again.getRecordId(), 1);
    again.addNewFromPath(source.getFullPathName());
    EXPECT_EQ(tracks(), 1);
    EXPECT_FALSE(AudioFileModel().getFromPath(tmp.file("Other/Song.wav").getFullPathName()));
}

TEST_F(AudioFileModelTest, EveryFormatImportsAndIsMeasuredOnce)
{
    struct Case
    {
        const char* file;
        double seconds;
        double tolerance;
    } cases[] = {
        {"Set/a.wav", 2.5, 1e-6}, {"Set/b.aif", 1.25, 1e-6}, {"Set/c.flac", 3.0, 1e-6},
        {"Set/d.ogg", 2.0, 0.01}, {"Set/e.mp3", 2.0, 0.1},
    };
    ASSERT_TRUE(writeTone(tmp.file("mp3source.wav"), 2.0));
    ASSERT_TRUE(encodeMp3(tmp.file("mp3source.wav"), tmp.file("Set/e.mp3")))
        << "the lame encoder is needed for this test";

    for (auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        auto source = tmp.file(c.file);
        if (!source.existsAsFile())
            ASSERT_TRUE(writeTone(source, c.seconds));
        AudioFileModel track;
        track.addNewFromPath(source.getFullPathName());
        ASSERT_GT(track.getRecordId(), 0);
        EXPECT_NEAR(track.getLengthSecs(), c.seconds, c.tolerance);
        EXPECT_NEAR(track.getFloatField("LengthSecs"), c.seconds, c.tolerance);

        // Stored now: the file is not opened again.
        juce::File(track.getFullPath()).deleteFile();
        EXPECT_NEAR(track.getLengthSecs(), c.seconds, c.tolerance);
    }
}

TEST_F(AudioFileModelTest, AFileNoReaderKnowsKeepsLengthZero)
{
    auto notes = tmp.file("Docs/setlist.wav");
    notes.getParentDirectory().createDirectory();
    notes.replaceWithText("not audio at all");
    AudioFileModel track;
    track.addNewFromPath(notes.getFullPathName());
    ASSERT_GT(track.getRecordId(), 0);
    EXPECT_EQ(track.getLengthSecs(), 0.0);
    EXPECT_EQ(track.getLengthSecs(), 0.0);
    EXPECT_EQ(track.getFloatField("LengthSecs"), 0.0);
}

TEST_F(AudioFileModelTest, ReplacingCopiesOverAndMeasuresAgain)
{
    auto source = tone("Live/Intro.wav", 1.0);
    AudioFileModel track;
    track.addNewFromPath(source.getFullPathName());
    EXPECT_NEAR(track.getLengthSecs(), 1.0, 1e-6);
    juce::File(track.getFullPath() + ".glimra").replaceWithText("old thumbnail");

    tone("Live/Intro.wav", 2.0);
    track.replaceFromPath(source.getFullPathName());
    EXPECT_NEAR(track.getFloatField("LengthSecs"), 2.0, 1e-6);
    EXPECT_FALSE(juce::File(track.getFullPath() + ".glimra").exists());
    EXPECT_EQ(tracks(), 1);
}

TEST_F(AudioFileModelTest, NamesAreStoredAsTheyAre)
{
    struct Case
    {
        const char* folderAndFile;
        const char* name;
        const char* path;
    } cases[] = {
        {"Bob's Gigs/O'Brien's Song.wav", "O'Brien's Song", "Bob's Gigs/O'Brien's Song.wav"},
        {"Café/Ünïcödé – Ballade.wav", "Ünïcödé – Ballade", "Café/Ünïcödé – Ballade.wav"},
        {"100%/50% \"live\".wav", "50% \"live\"", "100%/50% \"live\".wav"},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto source = tone(juce::String::fromUTF8(c.folderAndFile), 0.5);
        AudioFileModel track;
        track.addNewFromPath(source.getFullPathName());
        ASSERT_GT(track.getRecordId(), 0);
        EXPECT_EQ(track.getStringField("Name"), juce::String::fromUTF8(c.name));
        EXPECT_EQ(track.getStringField("Path"), juce::String::fromUTF8(c.path));
        EXPECT_TRUE(track.fileExists());
        EXPECT_TRUE(AudioFileModel().getFromPath(source.getFullPathName()));
    }
}

TEST_F(AudioFileModelTest, MediaFolderFailuresShowTheirNumberAndAddNothing)
{
    auto media = juce::File(getVelmoraMediaFolder());
    struct Case
    {
        const char* name;
        std::function<void()> sabotage;
        juce::String source;
        const char* title;
        const char* number;
    } cases[] = {
        {"missing source", [] {}, tmp.file("Gone/Missing.wav").getFullPathName(), "File Error",
         "[#2003]"},
        {"a folder as source", [this] { tmp.file("Dir/Song.wav").createDirectory(); },
         tmp.file("Dir/Song.wav").getFullPathName(), "File Error", "[#2003]"},
        {"media folder blocked",
         [&]
         {
             media.deleteRecursively();
             media.replaceWithText("a file where the folder should be");
         },
         tone("Album/A.wav", 0.2).getFullPathName(), "Velmora Fatal Error", "[#2001]"},
        {"sub-folder blocked",
         [&]
         {
             media.deleteRecursively();
             media.createDirectory();
             media.getChildFile("Album2").replaceWithText("a file, not a folder");
         },
         tone("Album2/B.wav", 0.2).getFullPathName(), "File Error", "[#2002]"},
        {"thumbnail stuck",
         [&]
         {
             media.deleteRecursively();
             media.getChildFile("Album3/C.wav.glimra").createDirectory();
             media.getChildFile("Album3/C.wav.glimra/keep").replaceWithText("x");
         },
         tone("Album3/C.wav", 0.2).getFullPathName(), "File Error", "[#2004]"},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        c.sabotage();
        ScopedDialogs dialogs;
        AudioFileModel track;
        track.addNewFromPath(c.source);
        EXPECT_EQ(track.getRecordId(), 0);
        EXPECT_EQ(tracks(), 0);
        ASSERT_EQ(dialogs.titles(), juce::StringArray({c.title}));
        auto& box = dialogs.requests()[0];
        EXPECT_EQ(box.icon, DialogIcon::warning);
        EXPECT_TRUE(box.text.startsWith(c.number)) << box.text;
        EXPECT_TRUE(box.text.endsWith("\n\nPlease report this issue to support@kestrova.example"));
        media.deleteRecursively();
    }
}

TEST_F(AudioFileModelTest, AFailedReplaceKeepsTheTracksAudio)
{
    auto source = tone("Live/Keep.wav", 1.0);
    AudioFileModel track;
    track.addNewFromPath(source.getFullPathName());
    auto before = fileBytes(juce::File(track.getFullPath()));

    source.deleteFile();
    source.createDirectory(); // unreadable as a file
    ScopedDialogs dialogs;
    track.replaceFromPath(source.getFullPathName());
    EXPECT_EQ(dialogs.titles(), juce::StringArray({"File Error"}));
    EXPECT_TRUE(fileBytes(juce::File(track.getFullPath())) == before);
}

TEST_F(AudioFileModelTest, AMissingFileCanBeLocatedUnderItsOwnNameOnly)
{
    auto source = tone("Album/Song.wav", 1.0);
    AudioFileModel track;
    track.addNewFromPath(source.getFullPathName());
    juce::File(track.getFullPath()).deleteFile();
    EXPECT_FALSE(track.fileExists());

    auto elsewhere = tone("Backup/Other.wav", 1.0);
    {
        SCOPED_TRACE("another name");
        ScopedDialogs dialogs;
        dialogs.recorder.pushButton(0);
        dialogs.recorder.pushAnswer({0, {}, elsewhere});
        EXPECT_FALSE(track.checkFileExists());
        EXPECT_EQ(dialogs.titles(),
                  juce::StringArray({"Audio file not found in Velmora media folder",
                                     "Locate Song.wav", "Audio file not found"}));
        EXPECT_EQ(dialogs.requests()[0].text,
                  "File 'Song.wav' not found - please locate it in the next window...");
        EXPECT_EQ(dialogs.requests()[1].kind, DialogKind::openFile);
        EXPECT_EQ(dialogs.requests()[1].filePatterns, "*.wav");
        EXPECT_EQ(
            dialogs.requests()[1].initialFile,
            juce::File::getSpecialLocation(juce::File::userHomeDirectory).getChildFile("Song.wav"));
        EXPECT_EQ(dialogs.requests()[2].text, "Could not find 'Song.wav' in your chosen location.");
        EXPECT_EQ(track.getStringField("Path"), "Album/Song.wav");
    }
    {
        SCOPED_TRACE("cancelled");
        ScopedDialogs dialogs;
        EXPECT_FALSE(track.checkFileExists());
        EXPECT_EQ(dialogs.requests().size(), 2u);
    }
    {
        SCOPED_TRACE("same name");
        auto found = tone("Backup/Song.wav", 1.0);
        ScopedDialogs dialogs;
        dialogs.recorder.pushButton(0);
        dialogs.recorder.pushAnswer({0, {}, found});
        EXPECT_TRUE(track.checkFileExists());
        EXPECT_EQ(track.getStringField("Path"), "Backup/Song.wav");
        EXPECT_TRUE(track.fileExists());
        EXPECT_EQ(dialogs.requests().size(), 2u);
    }
    ScopedDialogs none;
    EXPECT_TRUE(track.checkFileExists());
    EXPECT_TRUE(none.requests().empty());
}

TEST_F(AudioFileModelTest, DeletingATrackTakesItsLightshowsButLeavesTheAudioFile)
{
    auto source = tone("Album/Song.wav", 0.2);
    AudioFileModel track;
    track.addNewFromPath(source.getFullPathName());
    track.deleteAudioFile();
    EXPECT_EQ(tracks(), 0);
    EXPECT_EQ(db->execQuery("SELECT COUNT(*) FROM LightShows").getIntField(0), 0);
    EXPECT_TRUE(juce::File(getVelmoraMediaFolder() + "Album/Song.wav").existsAsFile());
}

TEST(SourceFolderName, IsTheNameOfTheFoldersOwnFolder)
{
    EXPECT_EQ(sourceFolderName("/Music/Album/Song.wav"), "Album");
    EXPECT_EQ(sourceFolderName("/Album/Song.wav"), "Album");
    EXPECT_EQ(sourceFolderName("/Song.wav"), "");
    EXPECT_EQ(sourceFolderName("Song.wav"), "");
}
