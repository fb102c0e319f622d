#include "app/MainHostWindow.h"

#include "app/AppGlobals.h"
#include "app/HorPanel.h"
#include "app/LibraryBackup.h"
#include "app/MidiExport.h"
#include "app/PluginHostApp.h"
#include "app/VertPanel.h"
#include "data/ThingModel.h"
#include "data/VmDatabase.h"
#include "editor/SongEditor.h"
#include "editor/Timeline.h"
#include "engine/FilterGraph.h"
#include "engine/GlimraPluginAbi.h"
#include "engine/GlimraPluginInstance.h"
#include "engine/GraphDocumentComponent.h"
#include "engine/InternalPluginFormat.h"
#include "engine/PluginWindow.h"
#include "library/LightShowList.h"
#include "platform/Dialogs.h"
#include "platform/SupportFolder.h"
#include "show/SetPlayer.h"

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

    vertPanel = new VertPanel(deviceManager);
    setContentOwned(vertPanel, false);

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
    switchToWindow(lightShowListPanel, -1);
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
    clearContentComponent();
    vertPanel = nullptr;
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
            getGraphDocument()->createNewPlugin(typesFound[0], 200, 200));
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
    auto& graph = getGraphDocument()->getGraph();
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
    auto* graphDocument = getGraphDocument();
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
    clearContentComponent();
    vertPanel = nullptr;
    if (auto* app = juce::JUCEApplication::getInstance())
        app->systemRequestedQuit();
}

GraphDocumentComponent* MainHostWindow::getGraphDocument() const
{
    return vertPanel != nullptr ? vertPanel->getHorPanel()->getGraphDocument() : nullptr;
}

void MainHostWindow::switchToWindow(int panel, int id)
{
    for (juce::Component* page : {(juce::Component*)songEditor, (juce::Component*)lightShowList,
                                  (juce::Component*)setPlayer})
        if (page != nullptr)
            page->setVisible(false);
    if (vertPanel == nullptr)
        return;

    juce::Component* shown = nullptr;
    switch (panel)
    {
    case lightShowListPanel:
        vertPanel->setShowTimeline(true);
        shown = lightShowList;
        break;
    case songEditorPanel:
        vertPanel->setShowTimeline(true);
        if (songEditor != nullptr)
            songEditor->loadLightshow(id);
        shown = songEditor;
        break;
    case setPlayerPanel:
        vertPanel->setShowTimeline(false);
        if (setPlayer != nullptr && timeline != nullptr)
        {
            // The show player shows the timeline in its own layout, below the stage memo.
            setPlayer->addAndMakeVisible(timeline);
            timeline->setBounds(
                setPlayer->getLocalBounds().withTrimmedTop(setPlayer->getHeight() / 2));
        }
        shown = setPlayer;
        break;
    default:
        return;
    }
    if (shown != nullptr)
    {
        shown->setVisible(true);
        shown->toFront(false);
    }
}

void MainHostWindow::doUndo()
{
    if (VmDatabase::getInstance()->undo())
        return; // the views reload themselves from the library once they exist
    if (!VmDatabase::getInstance()->undoRedoFailed())
        Dialogs::showMessage(DialogIcon::info, "Nothing to undo!", {}, "OK");
}

void MainHostWindow::doRedo()
{
    if (VmDatabase::getInstance()->redo())
        return;
    if (!VmDatabase::getInstance()->undoRedoFailed())
        Dialogs::showMessage(DialogIcon::info, "Nothing to redo!", {}, "OK");
}

void MainHostWindow::doViewChunks()
{
    // The MIDI chunk editor's window opens here once it exists.
}

juce::StringArray MainHostWindow::getMenuBarNames()
{
    return {"File", "Edit", "Tracks", "Shows", "View", "Help"};
}

juce::PopupMenu MainHostWindow::getMenuForIndex(int topLevelMenuIndex, const juce::String&)
{
    juce::PopupMenu menu;
    auto add = [&](std::initializer_list<int> ids)
    {
        for (int id : ids)
            if (id == 0)
                menu.addSeparator();
            else
                menu.addCommandItem(commandManager, id);
    };
    using namespace CommandIDs;
    switch (topLevelMenuIndex)
    {
    case 0:
        add({showPreferences, 0, backupDatabase, restoreDatabase, 0, exportMidi, 0, exitProgram});
        break;
    case 1:
        add({undo, redo});
        break;
    case 2:
        add({importTracks, lyricsImport, 0, deleteTrack});
        break;
    case 3:
        add({newShow, renameShow, copyShow, 0, deleteSongFromShow, 0, deleteShow});
        break;
    case 4:
        add({showPluginWindow, midiChunkEditor, 0, followPlayback});
        break;
    case 5:
        add({upgradeVersion, readManual, aboutBox});
        break;
    default:
        break;
    }
    return menu;
}

void MainHostWindow::menuItemSelected(int, int)
{
    // Every item is a command item: the command manager invokes perform.
}

void MainHostWindow::getAllCommands(juce::Array<juce::CommandID>& commands)
{
    using namespace CommandIDs;
    commands.addArray({open,
                       save,
                       undo,
                       redo,
                       importTracks,
                       lyricsImport,
                       exitProgram,
                       followPlayback,
                       showPluginWindow,
                       midiChunkEditor,
                       showPreferences,
                       backupDatabase,
                       restoreDatabase,
                       exportMidi,
                       aboutBox,
                       readManual,
                       upgradeVersion,
                       deleteTrack,
                       newShow,
                       deleteSongFromShow,
                       deleteShow,
                       copyShow,
                       renameShow});
}

void MainHostWindow::getCommandInfo(juce::CommandID id, juce::ApplicationCommandInfo& result)
{
    const auto cmd = juce::ModifierKeys::commandModifier;
    const auto ctrl = juce::ModifierKeys::ctrlModifier;
    const auto shift = juce::ModifierKeys::shiftModifier;
    auto set = [&](const char* name, const char* description, int key = 0, int mods = 0)
    {
        result.setInfo(name, description, "General", 0);
        if (key != 0)
            result.addDefaultKeypress(key, mods);
    };

    using namespace CommandIDs;
    switch (id)
    {
    case open:
        set("Open...", "Opens a filter graph file", 'O', cmd);
        break;
    case save:
        set("Save", "Saves the current graph to a file", 'S', cmd);
        break;
    case importTracks:
        set("Import tracks...", "Imports audio files into the program", 'I', cmd);
        break;
    case showPreferences:
        set("Preferences...", "", 'A', cmd);
        break;
    case aboutBox:
        set("About...", "");
        break;
    case followPlayback:
        set("Follow playback...", "Timeline follows the playback position", 'F');
        break;
    case showPluginWindow:
        set("GLIMRA window...", "Opens the main GLIMRA window", 'D');
        result.setTicked(pluginWindow != nullptr);
        break;
    case backupDatabase:
        set("Backup database...", "");
        break;
    case restoreDatabase:
        set("Restore from backup...", "");
        break;
    case deleteTrack:
        set("Delete selected track...", "", 'D', shift);
        break;
    case upgradeVersion:
        set("Upgrade to latest version...", "");
        break;
    case newShow:
        set("New show...", "");
        break;
    case deleteShow:
        set("Delete selected show...", "");
        break;
    case copyShow:
        set("Copy show...", "");
        break;
    case renameShow:
        set("Rename selected show...", "");
        break;
    case exitProgram:
        set("Exit", "", 'X', cmd);
        break;
    case readManual:
        set("Read user manual...", "");
        break;
    case exportMidi:
        set("Export lightshow to MIDI file...", "");
        break;
    case midiChunkEditor:
        set("MIDI chunk editor...", "Opens the MIDI chunk editor", 'M', cmd);
        break;
    case lyricsImport:
        set("Lyrics quick import...", "Quick import of text lyrics into the current lightshow", 'L',
            cmd);
        break;
    case undo:
        set("Undo", "Undo the most recent edit", 'Z', ctrl);
        break;
    case redo:
        set("Redo", "Reverts the most recent undo", 'Y', ctrl);
        break;
    case deleteSongFromShow:
        set("Delete selected song from show...", "");
        break;
    default:
        break;
    }
}

bool MainHostWindow::perform(const InvocationInfo& info)
{
    using namespace CommandIDs;
    if (info.commandID < first || info.commandID > last)
        return false;

    switch (info.commandID)
    {
    case open:
        doOpenGraph();
        return true;
    case save:
        doSaveGraph();
        return true;
    case undo:
        doUndo();
        return true;
    case redo:
        doRedo();
        return true;
    case showPluginWindow:
        doViewPlugin();
        menuItemsChanged();
        return true;
    case midiChunkEditor:
        doViewChunks();
        return true;
    case aboutBox:
        Dialogs::showMessage(DialogIcon::none, getAppDescription(),
                             "Made by Kestrova for performers who take their light on stage.");
        return true;
    case exitProgram:
        closeButtonPressed();
        return true;
    case backupDatabase:
        LibraryBackup::doBackup();
        return true;
    case restoreDatabase:
        // The restored library may not hold what the pages showed: start again from the list.
        if (LibraryBackup::doRestore())
            switchToWindow(lightShowListPanel, -1);
        return true;
    case exportMidi:
        doExportMidi(songEditor != nullptr ? songEditor->getLightShowId() : 0);
        return true;

    // The library, editor, show and preference commands act here once their
    // panels exist; until then they do nothing.
    case importTracks:
    case showPreferences:
    case followPlayback:
    case deleteTrack:
    case upgradeVersion:
    case newShow:
    case deleteShow:
    case copyShow:
    case renameShow:
    case readManual:
    case lyricsImport:
    case deleteSongFromShow:
        return true;
    default:
        return false; // a number in the range that names no command
    }
}

void MainHostWindow::doOpenGraph()
{
    auto* graphDocument = getGraphDocument();
    if (graphDocument == nullptr)
        return;
    auto& graph = graphDocument->getGraph();
    if (graph.hasChangedSinceSaved() &&
        !Dialogs::askOkCancel(DialogIcon::question, "Open a filter graph",
                              "The current graph has changes that have not been saved. Open "
                              "another one anyway?"))
        return;
    juce::File file;
    if (!Dialogs::chooseFileToOpen("Load a filter graph", graph.getLastDocumentOpened(),
                                   "*.filtergraph", file))
        return;
    auto result = graph.loadFrom(file, false);
    if (result.failed())
        Dialogs::showMessage(DialogIcon::warning, "Failed to open file",
                             "There was an error while trying to load the file: " +
                                 file.getFullPathName() + "\n\n" + result.getErrorMessage());
}

void MainHostWindow::doSaveGraph()
{
    auto* graphDocument = getGraphDocument();
    if (graphDocument == nullptr)
        return;
    auto& graph = graphDocument->getGraph();
    juce::File file = graph.getFile();
    if (file == juce::File() &&
        !Dialogs::chooseFileToSave("Save a filter graph", graph.getLastDocumentOpened(),
                                   "*.filtergraph", file))
        return;
    if (graph.saveAs(file, false, false, false) != juce::FileBasedDocument::savedOk)
        Dialogs::showMessage(DialogIcon::warning, "Error writing to file",
                             "An error occurred while trying to save \"" + file.getFullPathName() +
                                 "\"\n\nCouldn't write to the file");
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
