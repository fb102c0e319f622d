#include "app/MainHostWindow.h"

#include "app/AppGlobals.h"
#include "app/PluginHostApp.h"
#include "data/ThingModel.h"
#include "data/VmDatabase.h"
#include "platform/Dialogs.h"
#include "platform/SupportFolder.h"

#include <cstdio>

namespace
{
juce::String invalidDatabaseText(const juce::String& path)
{
    return path +
           "\n\nThere is a problem with the Velmora database file. Please restore from a "
           "backup, or contact " +
           supportContactAddress + " for assistance.";
}
} // namespace

MainHostWindow::MainHostWindow()
    : DocumentWindow(getAppDescription(), juce::Colours::lightgrey, DocumentWindow::allButtons,
                     true)
{
    isClosing = false;
    addKeyListener(this);

    if (appProperties != nullptr)
        if (auto* settings = appProperties->getUserSettings())
            readSettingsIntoGlobals(*settings);

    if (!doDbOpen(getDatabaseFile()))
        return; // the application quits; nothing else is brought up

    std::unique_ptr<juce::XmlElement> savedAudioState;
    if (appProperties != nullptr)
        savedAudioState = appProperties->getUserSettings()->getXmlValue("audioDeviceState");
    deviceError = deviceManager.initialise(256, 256, savedAudioState.get(), true);
    savedAudioState.reset();

    setResizable(true, false);
    setResizeLimits(500, 400, 10000, 10000);
    centreWithSize(900, 700);
    setTitleBarHeight(20);

    // Until the panels exist the window shows its plain background.
    setContentOwned(new juce::Component(), false);

    if (appProperties != nullptr)
    {
        auto pos = appProperties->getUserSettings()->getValue("mainWindowPos");
        if (pos.isNotEmpty())
            restoreWindowStateFromString(pos);
    }
    setVisible(true);
    toFront(true);
    juce::MessageManager::getInstance()->runDispatchLoopUntil(10);

    if (commandManager != nullptr)
        addKeyListener(commandManager->getKeyMappings());

    startTimer(20);
    installMenuBar();
    startedUp = true;

    if (VmDatabase::getInstance()->getAudioFiles().empty())
        Dialogs::showMessage(DialogIcon::info, "Track library is empty",
                             "Drag your audio files into the library (or use 'Tracks > Import "
                             "tracks...')",
                             "OK");

    menuItemsChanged();
}

MainHostWindow::~MainHostWindow()
{
    isClosing = true;
    stopTimer();

    VmDatabase::getInstance()->closeDb();

    if (startedUp && appProperties != nullptr)
    {
        auto* settings = appProperties->getUserSettings(); // reopened after shutdown closed it
        settings->setValue("mainWindowPos", getWindowStateAsString());
        settings->saveIfNeeded();
    }

    removeMenuBar();
    removeKeyListener(this);
    if (commandManager != nullptr)
        removeKeyListener(commandManager->getKeyMappings());
    clearContentComponent();
}

bool MainHostWindow::doDbOpen(const juce::File& file)
{
    auto* db = VmDatabase::getInstance();
    auto path = file.getFullPathName();

    switch (db->openDbFile(file))
    {
    case DbFileResult::created:
        db->makeReadyForUse();
        return true;

    case DbFileResult::opened:
        if (!checkAndUpgradeDbSchema(path))
            return false;
        if (db->isClosed())
            db->makeReadyForUse();
        return true;

    case DbFileResult::notADatabase:
    case DbFileResult::damaged:
        Dialogs::showMessage(DialogIcon::none, "Invalid database file", invalidDatabaseText(path));
        return false;

    case DbFileResult::readOnly:
        Dialogs::showMessage(DialogIcon::none, "Database file is read-only",
                             path + "\n\nVelmora needs to write to its database file. Please make "
                                    "the file writable, or restore from a backup.");
        return false;

    case DbFileResult::cannotOpen:
        break;
    }
    Dialogs::showMessage(DialogIcon::none, "Cannot open database file",
                         path +
                             "\n\nVelmora could not open or create its database file. Please "
                             "check that its folder exists and can be written, or contact " +
                             supportContactAddress + " for assistance.");
    return false;
}

bool MainHostWindow::checkAndUpgradeDbSchema(const juce::String& path)
{
    auto* db = VmDatabase::getInstance();

    int version = -1;
    auto rows = ThingModel(0).getThings("SchemaVersion");
    if (rows.size() == 1)
    {
        int thingId = 0, value = 0;
        if (std::sscanf(rows[0].toRawUTF8(), "%d|%d", &thingId, &value) == 2)
            version = value;
    }

    if (version == -1)
    {
        Dialogs::showMessage(DialogIcon::none, "Invalid database file", invalidDatabaseText(path));
        db->closeDb();
        return false;
    }
    if (version >= 4)
    {
        Dialogs::showMessage(DialogIcon::none, "Incompatible database file",
                             path + "\n\nPlease upgrade to the latest version of Velmora, or "
                                    "restore from a backup database.");
        db->closeDb();
        return false;
    }
    if (version == 3)
        return true;

    bool upgrade = Dialogs::askOkCancel(
        DialogIcon::none, "Upgrade database",
        "Do you want to upgrade your Velmora database to work with this newer version of "
        "software?\n\nNote: Please backup the database before upgrading (using File > "
        "Backup).\nOnce upgraded, the database will not load into older versions of Velmora.",
        "Upgrade Database", "Cancel");
    if (!upgrade || !db->upgradeDb(path, version))
    {
        db->closeDb();
        return false;
    }

    if (db->openDbFile(juce::File(path)) != DbFileResult::opened)
    {
        db->closeDb();
        return false;
    }
    db->makeReadyForUse();
    return true;
}

void MainHostWindow::closeButtonPressed()
{
    isClosing = true;
    clearContentComponent();
    if (auto* app = juce::JUCEApplication::getInstance())
        app->systemRequestedQuit();
}

juce::StringArray MainHostWindow::getMenuBarNames()
{
    return {};
}

juce::PopupMenu MainHostWindow::getMenuForIndex(int, const juce::String&)
{
    return {};
}

void MainHostWindow::menuItemSelected(int, int)
{
    if (isClosing)
        return;
}

void MainHostWindow::getAllCommands(juce::Array<juce::CommandID>&) {}

void MainHostWindow::getCommandInfo(juce::CommandID, juce::ApplicationCommandInfo&) {}

bool MainHostWindow::perform(const InvocationInfo&)
{
    return false;
}

bool MainHostWindow::keyPressed(const juce::KeyPress&, juce::Component*)
{
    return false;
}

void MainHostWindow::timerCallback()
{
    if (isClosing)
        return;
}

void MainHostWindow::installMenuBar()
{
#if JUCE_MAC
    juce::MenuBarModel::setMacMainMenu(this);
#else
    setMenuBar(this);
#endif
    if (commandManager != nullptr)
        setApplicationCommandManagerToWatch(commandManager);
}

void MainHostWindow::removeMenuBar()
{
#if JUCE_MAC
    juce::MenuBarModel::setMacMainMenu(nullptr);
#else
    setMenuBar(nullptr);
#endif
}
