#pragma once

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_gui_basics/juce_gui_basics.h>

// The program's one document window. Its constructor is the second half of
// start-up; its destructor closes the data store.
class MainHostWindow : public juce::DocumentWindow,
                       public juce::MenuBarModel,
                       public juce::ApplicationCommandTarget,
                       public juce::KeyListener,
                       private juce::Timer
{
public:
    MainHostWindow();
    ~MainHostWindow() override;

    // False when start-up stopped early (the database could not be used); the
    // application then quits without touching anything.
    bool isStartedUp() const { return startedUp; }
    bool isWindowClosing() const { return isClosing; }

    juce::AudioDeviceManager& getDeviceManager() { return deviceManager; }

    // Opens the database file for use: a new file gets the schema, an existing one
    // has its version checked (and upgraded when the user agrees). False, after a
    // message box, when the file cannot be used; the file is then left as it was.
    static bool doDbOpen(const juce::File& file);
    // Checks the schema version of the open database file; closes it when unusable.
    static bool checkAndUpgradeDbSchema(const juce::String& path);

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

    // KeyListener
    bool keyPressed(const juce::KeyPress& key, juce::Component* originatingComponent) override;

private:
    void timerCallback() override;
    void installMenuBar();
    void removeMenuBar();

    bool isClosing = false;
    bool startedUp = false;
    juce::AudioDeviceManager deviceManager;
    juce::String deviceError;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MainHostWindow)
};
