#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class MainHostWindow;

// "1.3.0"
juce::String getBuildVersion();
// "Velmora V1.3.0", the main window's title.
juce::String getAppDescription();

// Fills the program's plug-in format manager: the platform's formats, the
// graph's device nodes and the lighting controller's format.
void registerPluginFormats();

class PluginHostApp : public juce::JUCEApplication
{
public:
    PluginHostApp();
    ~PluginHostApp() override;

    const juce::String getApplicationName() override { return "Velmora"; }
    const juce::String getApplicationVersion() override { return getBuildVersion(); }
    bool moreThanOneInstanceAllowed() override { return false; }
    void initialise(const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted(const juce::String& commandLine) override;

private:
    // Declared before the window: the window uses both while it is destroyed.
    std::unique_ptr<juce::ApplicationProperties> properties;
    std::unique_ptr<juce::ApplicationCommandManager> commands;
    std::unique_ptr<MainHostWindow> mainWindow;
};
