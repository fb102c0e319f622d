#include "StartedWindow.h"
#include "app/HorPanel.h"
#include "app/VertPanel.h"
#include "editor/SongEditor.h"
#include "editor/Timeline.h"
#include "engine/PluginWindow.h"
#include "library/LightShowList.h"
#include "show/SetPlayer.h"

namespace
{
class MainWindowCommandsTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        start();
        ASSERT_TRUE(window->isStartedUp());
        commands.registerAllCommandsForTarget(window.get());
    }

    // "Menu/position" of a command in the menu bar, or "" when no menu holds it.
    juce::String menuPlaceOf(int id)
    {
        auto names = window->getMenuBarNames();
        for (int m = 0; m < names.size(); ++m)
        {
            int position = 0;
            auto menu = window->getMenuForIndex(m, names[m]);
            for (juce::PopupMenu::MenuItemIterator it(menu); it.next();)
            {
                auto& item = it.getItem();
                if (item.isSeparator)
                    continue;
                if (item.commandManager != nullptr && item.itemID == id)
                    return names[m] + "/" + juce::String(position);
                ++position;
            }
        }
        return {};
    }
};
} // namespace

TEST_F(MainWindowCommandsTest, EveryCommandHasItsNameKeyAndMenuPlace)
{
    struct Command
    {
        int id;
        const char* name;
        const char* description;
        const char* key; // as JUCE describes it; "" for none
        const char* menu;
    } table[] = {
        {0x30000, "Open...", "Opens a filter graph file", "ctrl + O", ""},
        {0x30001, "Save", "Saves the current graph to a file", "ctrl + S", ""},
        {0x30015, "Undo", "Undo the most recent edit", "ctrl + Z", "Edit/0"},
        {0x30016, "Redo", "Reverts the most recent undo", "ctrl + Y", "Edit/1"},
        {0x30003, "Import tracks...", "Imports audio files into the program", "ctrl + I",
         "Tracks/0"},
        {0x30014, "Lyrics quick import...",
         "Quick import of text lyrics into the current lightshow", "ctrl + L", "Tracks/1"},
        {0x30010, "Exit", "", "ctrl + X", "File/4"},
        {0x30006, "Follow playback...", "Timeline follows the playback position", "F", "View/2"},
        {0x30007, "GLIMRA window...", "Opens the main GLIMRA window", "D", "View/0"},
        {0x30013, "MIDI chunk editor...", "Opens the MIDI chunk editor", "ctrl + M", "View/1"},
        {0x30004, "Preferences...", "", "ctrl + A", "File/0"},
        {0x30008, "Backup database...", "", "", "File/1"},
        {0x30009, "Restore from backup...", "", "", "File/2"},
        {0x30012, "Export lightshow to MIDI file...", "", "", "File/3"},
        {0x30005, "About...", "", "", "Help/2"},
        {0x30011, "Read user manual...", "", "", "Help/1"},
        {0x3000b, "Upgrade to latest version...", "", "", "Help/0"},
        {0x3000a, "Delete selected track...", "", "shift + D", "Tracks/2"},
        {0x3000c, "New show...", "", "", "Shows/0"},
        {0x3001a, "Delete selected song from show...", "", "", "Shows/3"},
        {0x3000d, "Delete selected show...", "", "", "Shows/4"},
        {0x3000e, "Copy show...", "", "", "Shows/2"},
        {0x3000f, "Rename selected show...", "", "", "Shows/1"},
    };

    juce::Array<juce::CommandID> ids;
    window->getAllCommands(ids);
    ASSERT_EQ(ids.size(), (int)std::size(table));
    for (size_t i = 0; i < std::size(table); ++i)
    {
        auto& c = table[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ids[(int)i], c.id); // the order of the list
        juce::ApplicationCommandInfo info(c.id);
        window->getCommandInfo(c.id, info);
        EXPECT_EQ(info.shortName, c.name);
        EXPECT_EQ(info.description, c.description);
        EXPECT_EQ(info.categoryName, "General");
        juce::String key = info.defaultKeypresses.isEmpty()
                               ? juce::String()
                               : info.defaultKeypresses[0].getTextDescription();
        EXPECT_EQ(key, c.key);
        EXPECT_EQ(menuPlaceOf(c.id), c.menu);
    }
    EXPECT_EQ(window->getMenuBarNames(),
              juce::StringArray({"File", "Edit", "Tracks", "Shows", "View", "Help"}));
}

TEST_F(MainWindowCommandsTest, KeysReachTheirCommandsInEitherLetterCase)
{
    auto* mappings = commands.getKeyMappings();
    EXPECT_EQ(mappings->findCommandForKeyPress(
                  juce::KeyPress('o', juce::ModifierKeys::commandModifier, 0)),
              0x30000);
    EXPECT_EQ(mappings->findCommandForKeyPress(
                  juce::KeyPress('S', juce::ModifierKeys::commandModifier, 0)),
              0x30001);
    EXPECT_EQ(mappings->findCommandForKeyPress(juce::KeyPress('d', 0, 0)), 0x30007);
    EXPECT_EQ(
        mappings->findCommandForKeyPress(juce::KeyPress('D', juce::ModifierKeys::shiftModifier, 0)),
        0x3000a);
}

TEST_F(MainWindowCommandsTest, PerformAnswersOnlyForItsCommands)
{
    struct Case
    {
        int id;
        bool handled;
    } cases[] = {{0x2ffff, false}, {0x3001b, false}, {0x30002, false}, {0x30017, false},
                 {0x30019, false}, {0x3000c, true},  {0x3001a, true}};
    for (auto& c : cases)
    {
        SCOPED_TRACE(juce::String::toHexString(c.id));
        ScopedDialogs dialogs;
        EXPECT_EQ(window->perform(juce::ApplicationCommandTarget::InvocationInfo(c.id)), c.handled);
    }
}

TEST_F(MainWindowCommandsTest, UndoAndRedoSayWhenThereIsNothingToDo)
{
    auto before = dumpDatabase();
    struct Case
    {
        int id;
        const char* title;
    } cases[] = {{0x30015, "Nothing to undo!"}, {0x30016, "Nothing to redo!"}};
    for (auto& c : cases)
    {
        ScopedDialogs dialogs;
        EXPECT_TRUE(window->perform(juce::ApplicationCommandTarget::InvocationInfo(c.id)));
        ASSERT_EQ(dialogs.titles(), juce::StringArray({c.title}));
        EXPECT_EQ(dialogs.requests()[0].icon, DialogIcon::info);
        EXPECT_EQ(dialogs.requests()[0].text, "");
        EXPECT_EQ(dialogs.requests()[0].buttons, juce::StringArray({"OK"}));
    }
    EXPECT_EQ(dumpDatabase(), before);

    VmDatabase::getInstance()->execQuery("INSERT INTO Sets(Name) VALUES('Friday')");
    ScopedDialogs dialogs;
    window->doUndo();
    EXPECT_TRUE(dialogs.requests().empty());
    EXPECT_EQ(VmDatabase::getInstance()->execQuery("SELECT COUNT(*) FROM Sets").getIntField(0), 0);
    window->doRedo();
    EXPECT_EQ(VmDatabase::getInstance()->execQuery("SELECT COUNT(*) FROM Sets").getIntField(0), 1);
}

TEST_F(MainWindowCommandsTest, TheGlimraWindowCommandTogglesAndTicks)
{
    auto ticked = [this]
    {
        juce::ApplicationCommandInfo info(0x30007);
        window->getCommandInfo(0x30007, info);
        return (info.flags & juce::ApplicationCommandInfo::isTicked) != 0;
    };
    ASSERT_NE(pluginWindow, nullptr); // opened at start-up
    EXPECT_TRUE(ticked());
    window->perform(juce::ApplicationCommandTarget::InvocationInfo(0x30007));
    EXPECT_EQ(pluginWindow, nullptr);
    EXPECT_FALSE(ticked());
    window->perform(juce::ApplicationCommandTarget::InvocationInfo(0x30007));
    ASSERT_NE(pluginWindow, nullptr);
    EXPECT_TRUE(ticked());
    pluginWindow->closeButtonPressed(); // its own close button
    EXPECT_FALSE(ticked());
}

TEST_F(MainWindowCommandsTest, TheShowPlayerTakesTheTimelineAndGivesItBack)
{
    auto* vert = window->getVertPanel();
    ASSERT_NE(vert, nullptr);
    EXPECT_TRUE(lightShowList->isVisible()); // start-up shows the lightshow list
    EXPECT_EQ(timeline->getParentComponent(), vert);

    window->switchToWindow(setPlayerPanel, 3);
    EXPECT_TRUE(setPlayer->isVisible());
    EXPECT_FALSE(lightShowList->isVisible());
    EXPECT_EQ(timeline->getParentComponent(), setPlayer);
    EXPECT_FALSE(vert->isShowingTimeline());
    EXPECT_EQ(vert->getHorPanel()->getBounds(), vert->getLocalBounds());

    window->switchToWindow(songEditorPanel, 7);
    EXPECT_TRUE(songEditor->isVisible());
    EXPECT_FALSE(setPlayer->isVisible());
    EXPECT_EQ(timeline->getParentComponent(), vert);
    EXPECT_TRUE(timeline->isVisible());
    // Below the bar, in the lower part of the window.
    EXPECT_GT(timeline->getY(), vert->getHorPanel()->getBottom());

    window->switchToWindow(42, 0);
    EXPECT_FALSE(songEditor->isVisible());
    EXPECT_FALSE(lightShowList->isVisible());
    EXPECT_FALSE(setPlayer->isVisible());
}

TEST_F(MainWindowCommandsTest, ExportWritesTheLightshowShownInTheEditor)
{
    auto* db = VmDatabase::getInstance();
    db->execDML("INSERT INTO AudioFiles(Name,Path) VALUES('Song','A/Song.wav');"
                "INSERT INTO LightShows(Name,AudioFileID,Tempo) VALUES('Encore',1,96);"
                "INSERT INTO GlimraCues(LightShowID,CueTime,BankName,PresetName) "
                "VALUES(1,2.0,'Front Wash','Warm White');");
    TempFolder tmp;
    auto target = tmp.file("encore.mid");
    {
        ScopedDialogs dialogs; // no lightshow in the editor yet
        window->perform(juce::ApplicationCommandTarget::InvocationInfo(0x30012));
        EXPECT_EQ(dialogs.requests().size(), 1u);
        EXPECT_FALSE(target.exists());
    }
    window->switchToWindow(songEditorPanel, 1);
    ScopedDialogs dialogs;
    dialogs.recorder.pushAnswer({0, {}, target});
    window->perform(juce::ApplicationCommandTarget::InvocationInfo(0x30012));
    ASSERT_TRUE(target.existsAsFile());
    juce::FileInputStream in(target);
    juce::MidiFile midi;
    ASSERT_TRUE(midi.readFrom(in));
    EXPECT_EQ(midi.getNumTracks(), 2);
}
