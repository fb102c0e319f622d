#pragma once

#include "engine/GlimraPluginFormat.h"

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

class GraphDocumentComponent;

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

    GraphDocumentComponent* getGraphDocument() const { return graphDocument.get(); }
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

    // Declared after the device manager: the graph goes first.
    std::unique_ptr<GraphDocumentComponent> graphDocument;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MainHostWindow)
};
