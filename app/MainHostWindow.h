#pragma once

#include "engine/GlimraPluginFormat.h"

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

class GraphDocumentComponent;
class VertPanel;

// The window's commands.
namespace CommandIDs
{
enum
{
    open = 0x30000,
    save = 0x30001,
    importTracks = 0x30003,
    showPreferences = 0x30004,
    aboutBox = 0x30005,
    followPlayback = 0x30006,
    showPluginWindow = 0x30007,
    backupDatabase = 0x30008,
    restoreDatabase = 0x30009,
    deleteTrack = 0x3000a,
    upgradeVersion = 0x3000b,
    newShow = 0x3000c,
    deleteShow = 0x3000d,
    copyShow = 0x3000e,
    renameShow = 0x3000f,
    exitProgram = 0x30010,
    readManual = 0x30011,
    exportMidi = 0x30012,
    midiChunkEditor = 0x30013,
    lyricsImport = 0x30014,
    undo = 0x30015,
    redo = 0x30016,
    deleteSongFromShow = 0x3001a,
    first = open,
    last = deleteSongFromShow
};
}

// Which page the right-hand side shows.
enum MainWindowPanel
{
    lightShowListPanel = 0,
    songEditorPanel = 1,
    setPlayerPanel = 2
};

// The program's one document window. Its constructor is the second half of
// start-up; its destructor closes the data store.
class MainHostWindow : public juce::DocumentWindow,
                       public juce::MenuBarModel,
                       public juce::ApplicationCommandTarget,
                       public juce::ChangeListener,
                       public juce::KeyListener,
                       private juce::Timer
{
public:
    MainHostWindow();
    ~MainHostWindow() override;

    // False when start-up stopped early (the database or the lighting controller
    // could not be used); the application then quits with getExitStatus().
    bool isStartedUp() const { return startedUp; }
    int getExitStatus() const { return exitStatus; }
    bool isWindowClosing() const { return isClosing; }

    juce::AudioDeviceManager& getDeviceManager() { return deviceManager; }

    // Opens the database file for use: a new file gets the schema, an existing one
    // has its version checked (and upgraded when the user agrees). False, after a
    // message box, when the file cannot be used; the file is then left as it was.
    static bool doDbOpen(const juce::File& file);
    // Checks the schema version of the open database file; closes it when unusable.
    static bool checkAndUpgradeDbSchema(const juce::String& path);

    // Loads the lighting controller into the graph and wires it; false, after its
    // message, when the program cannot run without it.
    bool initGraph();
    // Where the lighting controller plug-in is looked for.
    static juce::File findGlimraPlugin();
    // Shows or hides the lighting controller's window.
    void doViewPlugin();

    GraphDocumentComponent* getGraphDocument() const;
    GraphDocumentComponent* getGraphEditor() const { return getGraphDocument(); }
    VertPanel* getVertPanel() const { return vertPanel; }

    // Shows one page on the right (the lightshow list, the editor or the show
    // player); the show player takes the timeline into its own layout.
    void switchToWindow(int panel, int id);
    // Undo and redo as commands: refresh the views, or say there was nothing to do.
    void doUndo();
    void doRedo();
    // The MIDI chunk editor's window.
    void doViewChunks();
    // The processing graph's document: open and save through the dialogs.
    void doOpenGraph();
    void doSaveGraph();
    const juce::OwnedArray<juce::PluginDescription>& getInternalTypes() const
    {
        return internalTypes;
    }

    // DocumentWindow
    void closeButtonPressed() override;

    // MenuBarModel
    juce::StringArray getMenuBarNames() override;
    juce::PopupMenu getMenuForIndex(int topLevelMenuIndex, const juce::String& menuName) override;
    void menuItemSelected(int menuItemID, int topLevelMenuIndex) override;

    // ApplicationCommandTarget
    juce::ApplicationCommandTarget* getNextCommandTarget() override { return nullptr; }
    void getAllCommands(juce::Array<juce::CommandID>& commands) override;
    void getCommandInfo(juce::CommandID commandID, juce::ApplicationCommandInfo& result) override;
    bool perform(const InvocationInfo& info) override;

    // ChangeListener: the known plug-in list changed
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

    // KeyListener
    bool keyPressed(const juce::KeyPress& key, juce::Component* originatingComponent) override;

private:
    void timerCallback() override;
    void installMenuBar();
    void removeMenuBar();
    // Stops start-up with an exit status for the application.
    void endProcess(int status);

    bool isClosing = false;
    bool startedUp = false;
    int exitStatus = 0;
    juce::AudioDeviceManager deviceManager;
    juce::String deviceError;

    GlimraPluginFormat formatToUse;
    juce::KnownPluginList knownPluginList;
    juce::OwnedArray<juce::PluginDescription> typesFound;
    juce::OwnedArray<juce::PluginDescription> internalTypes;

    VertPanel* vertPanel = nullptr; // the content component, owned by the window

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MainHostWindow)
};
