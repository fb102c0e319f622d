#include "app/MainHostWindow.h"

#include "app/AppGlobals.h"
#include "app/PluginHostApp.h"
#include "data/ThingModel.h"
#include "data/VmDatabase.h"
#include "engine/FilterGraph.h"
#include "engine/GlimraPluginAbi.h"
#include "engine/GlimraPluginInstance.h"
#include "engine/GraphDocumentComponent.h"
#include "engine/InternalPluginFormat.h"
#include "engine/PluginWindow.h"
#include "platform/Dialogs.h"
#include "platform/SupportFolder.h"

#include <cstdio>

namespace
{
const char* const glimraWebAddress = "https://kestrova.example/glimra";
const char* const glimraDownloadAddress = "https://kestrova.example/download";

// The lighting controller's path, and the footswitch callbacks handed to it. The
// callbacks come from the controller's own threads: they only raise flags that
// the window's timer polls.
juce::String vstPath;
GlimraHostApi ourApi{};

void glimraFswNext()
{
    startEventReceived = true;
}

void glimraFswPrev()
{
    rewindEventReceived = true;
}

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
    {
        endProcess(1); // the application quits; nothing else is brought up
        return;
    }

    std::unique_ptr<juce::XmlElement> savedAudioState;
    if (appProperties != nullptr)
        savedAudioState = appProperties->getUserSettings()->getXmlValue("audioDeviceState");
    deviceError = deviceManager.initialise(256, 256, savedAudioState.get(), true);
    savedAudioState.reset();

    setResizable(true, false);
    setResizeLimits(500, 400, 10000, 10000);
    centreWithSize(900, 700);
    setTitleBarHeight(20);

    // Until the panels exist the window shows its plain background; the graph
    // lives hidden inside it.
    setContentOwned(new juce::Component(), false);
    graphDocument = std::make_unique<GraphDocumentComponent>(deviceManager);
    getContentComponent()->addChildComponent(*graphDocument);

    if (appProperties != nullptr)
    {
        auto pos = appProperties->getUserSettings()->getValue("mainWindowPos");
        if (pos.isNotEmpty())
            restoreWindowStateFromString(pos);
    }
    setVisible(true);
    toFront(true);
    juce::MessageManager::getInstance()->runDispatchLoopUntil(10);

    InternalPluginFormat().getAllTypes(internalTypes);
    knownPluginList.addChangeListener(this);
    if (commandManager != nullptr)
        addKeyListener(commandManager->getKeyMappings());

    if (!initGraph())
        return; // the application quits with the status initGraph set

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
    knownPluginList.removeChangeListener(this);
    removeKeyListener(this);
    if (commandManager != nullptr)
        removeKeyListener(commandManager->getKeyMappings());
    graphDocument.reset();
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

void MainHostWindow::endProcess(int status)
{
    exitStatus = status;
    startedUp = false;
}

juce::File MainHostWindow::findGlimraPlugin()
{
#if JUCE_MAC
    return juce::File("/Library/Audio/Plug-Ins/VST/Tarnwell/GLIMRA.vst");
#else
    auto chosen = juce::SystemStats::getEnvironmentVariable("VELMORA_GLIMRA_PLUGIN", {});
    if (chosen.isNotEmpty())
        return juce::File::getCurrentWorkingDirectory().getChildFile(chosen);
    auto installed = juce::File::getSpecialLocation(juce::File::userHomeDirectory)
                         .getChildFile(".vst/Tarnwell/GLIMRA.so");
    if (installed.existsAsFile())
        return installed;
    // The stand-in controller built with the program.
    return juce::File::getSpecialLocation(juce::File::currentExecutableFile)
        .getSiblingFile("GLIMRA.so");
#endif
}

bool MainHostWindow::initGraph()
{
    vstPath = findGlimraPlugin().getFullPathName();
    if (!juce::File(vstPath).exists())
    {
        Dialogs::showMessage(
            DialogIcon::warning, "[#1001] Velmora requires GLIMRA",
            juce::String("Please install GLIMRA 1.3.0 or better (available from ") +
                glimraWebAddress + ") then restart Velmora");
        endProcess(1);
        return false;
    }

    // Loading can take seconds while the controller looks for its hardware.
    auto searching =
        Dialogs::showNotice(DialogIcon::info, "Searching for GLIMRA hardware...",
                            "If no hardware is connected, please wait a few seconds more.");
    juce::MessageManager::getInstance()->runDispatchLoopUntil(500);

    typesFound.clear();
    knownPluginList.scanAndAddFile(vstPath, false, typesFound, formatToUse);

    juce::AudioPluginInstance* instance = nullptr;
    if (!typesFound.isEmpty())
        instance = dynamic_cast<juce::AudioPluginInstance*>(
            graphDocument->createNewPlugin(typesFound[0], 200, 200));
    if (instance == nullptr)
    {
        searching.reset();
        Dialogs::showMessage(DialogIcon::warning, "[#1005] Error while initialising GLIMRA",
                             "Please reinstall Velmora and restart.");
        endProcess(0);
        return false;
    }

    // The controller's function table travels in the user field of its effect record.
    auto* loaded = dynamic_cast<GlimraPluginInstance*>(instance);
    auto* effect = loaded != nullptr ? loaded->getEffect() : nullptr;
    glimraApi = effect != nullptr ? static_cast<GlimraApi*>(effect->user) : nullptr;
    if (glimraApi == nullptr)
    {
        searching.reset();
        Dialogs::showMessage(DialogIcon::warning,
                             "[#1006] Looks like you have an old version of GLIMRA!",
                             juce::String("Please install the latest GLIMRA release (from ") +
                                 glimraDownloadAddress + ") and restart Velmora");
        endProcess(0);
        return false;
    }

    ourApi.footswitchNext = glimraFswNext;
    ourApi.footswitchPrev = glimraFswPrev;
    glimraApi->setHostCallbacks(&ourApi);

    doViewPlugin();

    using NodeID = FilterGraph::NodeID;
    auto& graph = graphDocument->getGraph();
    const NodeID midiIn(2), audioOut(3), player(4), controller(5);
    graph.addConnection(player, 0, controller, 0);
    graph.addConnection(player, 1, controller, 1);
    graph.addConnection(controller, 0, audioOut, 0);
    graph.addConnection(controller, 1, audioOut, 1);
    graph.addConnection(midiIn, FilterGraph::midiChannel, controller, FilterGraph::midiChannel);

    searching.reset();
    return true;
}

void MainHostWindow::doViewPlugin()
{
    if (pluginWindow != nullptr)
    {
        PluginWindow::closeAllCurrentlyOpenWindows();
        pluginWindow = nullptr;
        return;
    }
    if (graphDocument == nullptr)
        return;
    pluginWindow = PluginWindow::getWindowFor(
        graphDocument->getGraph().getNodeForId(FilterGraph::NodeID(5)), false);
    if (pluginWindow != nullptr)
        pluginWindow->toFront(true);
}

void MainHostWindow::changeListenerCallback(juce::ChangeBroadcaster*)
{
    menuItemsChanged();
}

void MainHostWindow::closeButtonPressed()
{
    isClosing = true;
    graphDocument.reset();
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
