#include "app/PluginHostApp.h"

#include "app/AppGlobals.h"
#include "app/MainHostWindow.h"
#include "engine/GlimraPluginFormat.h"
#include "engine/InternalPluginFormat.h"
#include "look/GlimraLookAndFeel.h"
#include "platform/SettingsFile.h"
#include "platform/SupportFolder.h"

#include <juce_gui_extra/juce_gui_extra.h>

juce::String getBuildVersion()
{
    return juce::StringArray{"1", "3", "0"}.joinIntoString(".");
}

juce::String getAppDescription()
{
    return "Velmora V" + getBuildVersion();
}

PluginHostApp::PluginHostApp() = default;

PluginHostApp::~PluginHostApp()
{
    mainWindow.reset();
    ::mainWindow = nullptr;
    unloadLookAndFeel();
    commandManager = nullptr;
    appProperties = nullptr;
}

void registerPluginFormats()
{
    audioFormatManager.addDefaultFormats();
    audioFormatManager.addFormat(new InternalPluginFormat());
    audioFormatManager.addFormat(new GlimraPluginFormat());
}

void PluginHostApp::initialise(const juce::String&)
{
    auto splashImage = juce::ImageCache::getFromFile(getSupportFolder().getChildFile("splash.png"));
    if (splashImage.isValid())
    {
        // The splash deletes itself once shown long enough.
        auto* splash = new juce::SplashScreen("Velmora", splashImage, false);
        splash->deleteAfterDelay(juce::RelativeTime::milliseconds(4000), true);
    }

    formatManager.registerBasicFormats();

    properties = std::make_unique<juce::ApplicationProperties>();
    properties->setStorageParameters(makeSettingsOptions());
    appProperties = properties.get();

    loadLookAndFeel();

    commands = std::make_unique<juce::ApplicationCommandManager>();
    commandManager = commands.get();

    registerPluginFormats();

    mainWindow.reset(); // any earlier window goes first
    mainWindow = std::make_unique<MainHostWindow>();
    ::mainWindow = mainWindow.get();

    if (!mainWindow->isStartedUp())
    {
        // The database could not be used; its box has been shown. Leave without
        // writing anything, settings included.
        int status = mainWindow->getExitStatus();
        mainWindow.reset();
        ::mainWindow = nullptr;
        setApplicationReturnValue(status);
        quit();
        return;
    }

    commandManager->registerAllCommandsForTarget(mainWindow.get());
    mainWindow->menuItemsChanged();
}

void PluginHostApp::shutdown()
{
    if (appProperties != nullptr)
        appProperties->closeFiles();
}

void PluginHostApp::anotherInstanceStarted(const juce::String&)
{
    if (mainWindow != nullptr)
        mainWindow->toFront(true);
}
