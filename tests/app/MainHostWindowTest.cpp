#include "StartedWindow.h"

namespace
{
using MainHostWindowTest = WindowTest;
} // namespace

TEST_F(MainHostWindowTest, OpensCentredWithItsTitleAndSaysOnceThatTheLibraryIsEmpty)
{
    ScopedDialogs dialogs;
    window = std::make_unique<MainHostWindow>();

    ASSERT_TRUE(window->isStartedUp());
    EXPECT_EQ(window->getName(), "Velmora V1.3.0");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->getWidth(), 900);
    EXPECT_EQ(window->getHeight(), 700);
    EXPECT_EQ(window->getBounds().getCentre(),
              juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea.getCentre());
    EXPECT_TRUE(window->isResizable());
    EXPECT_EQ(window->getTitleBarHeight(), 20);
    // With no saved device state the default device is opened, where there is one
    // (the test script runs a JACK server for this).
    bool anyDevice = false;
    for (auto* type : window->getDeviceManager().getAvailableDeviceTypes())
    {
        type->scanForDevices();
        anyDevice = anyDevice || !type->getDeviceNames(false).isEmpty();
    }
    if (anyDevice)
        EXPECT_NE(window->getDeviceManager().getCurrentAudioDevice(), nullptr);

    ASSERT_EQ(dialogs.titles(),
              juce::StringArray({"Searching for GLIMRA hardware...", "Track library is empty"}));
    EXPECT_EQ(dialogs.requests()[0].kind, DialogKind::notice);
    auto& box = dialogs.requests()[1];
    EXPECT_EQ(box.icon, DialogIcon::info);
    EXPECT_EQ(box.text,
              "Drag your audio files into the library (or use 'Tracks > Import tracks...')");
    EXPECT_EQ(box.buttons, juce::StringArray({"OK"}));
    EXPECT_TRUE(getDatabaseFile().existsAsFile());
}

TEST_F(MainHostWindowTest, ClosingSavesThePlaceAndTheNextStartRestoresIt)
{
    {
        ScopedDialogs dialogs;
        window = std::make_unique<MainHostWindow>();
        window->setBounds(40, 60, 700, 500);
        VmDatabase::getInstance()->execQuery(
            "INSERT INTO AudioFiles(Name,Path) VALUES('Song','Song.wav')");
        VmDatabase::getInstance()->execQuery("DELETE FROM AudioFiles WHERE Name='Nothing'");
        window.reset();
    }
    // The window's end closed the store: stacks emptied, file compacted.
    EXPECT_TRUE(VmDatabase::getInstance()->isClosed());
    properties.closeFiles();
    EXPECT_TRUE(settingsFile().loadFileAsString().contains("mainWindowPos"));

    ASSERT_TRUE(MainHostWindow::doDbOpen(getDatabaseFile()));
    EXPECT_EQ(VmDatabase::getInstance()->execQuery("SELECT COUNT(*) FROM UndoStack").getIntField(0),
              0);
    VmDatabase::getInstance()->closeDb();

    ScopedDialogs dialogs;
    window = std::make_unique<MainHostWindow>();
    EXPECT_EQ(window->getBounds(), juce::Rectangle<int>(40, 60, 700, 500));
    // The library has a track now: no box, only the notice while the controller loads.
    EXPECT_EQ(dialogs.titles(), juce::StringArray({"Searching for GLIMRA hardware..."}));
}

TEST_F(MainHostWindowTest, AnUnusableLibraryStopsStartUpWithoutWritingAnything)
{
    getDatabaseFile().getParentDirectory().createDirectory();
    getDatabaseFile().replaceWithText("my set list, not a database");
    ScopedDialogs dialogs;
    window = std::make_unique<MainHostWindow>();
    EXPECT_FALSE(window->isStartedUp());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.titles(), juce::StringArray({"Invalid database file"}));
    window.reset();
    properties.closeFiles();
    EXPECT_EQ(getDatabaseFile().loadFileAsString(), "my set list, not a database");
    EXPECT_FALSE(settingsFile().exists());
}

TEST_F(MainHostWindowTest, SettingsAreReadIntoTheirGlobalsAndAnUnreadableFileMeansDefaults)
{
    settingsFile().getParentDirectory().createDirectory();
    settingsFile().replaceWithText("\x01\x02 not a settings file <<<");
    readSettingsIntoGlobals(*properties.getUserSettings());
    EXPECT_EQ(dcRequiredToStop, 1);
    EXPECT_FLOAT_EQ(fadeTime, 1.5f);
    EXPECT_EQ(largeFontSz, 20);
    EXPECT_EQ(memoFontSz, 28);
    EXPECT_EQ(startCC, 22);
    EXPECT_EQ(prevCC, 25);

    auto* settings = properties.getUserSettings();
    settings->setValue("fadeTime", 3.25);
    settings->setValue("dcRequiredToStop", 0);
    settings->setValue("largeFontSz", 24);
    settings->setValue("ccNext", 64);
    settings->saveIfNeeded();
    properties.closeFiles();

    readSettingsIntoGlobals(*properties.getUserSettings());
    EXPECT_FLOAT_EQ(fadeTime, 3.25f);
    EXPECT_EQ(dcRequiredToStop, 0);
    EXPECT_EQ(largeFontSz, 24);
    EXPECT_EQ(nextCC, 64);
    EXPECT_EQ(rewindCC, 23);
}
