#pragma once

#include "TestSupport.h"
#include "app/AppGlobals.h"
#include "app/MainHostWindow.h"
#include "data/VmDatabase.h"
#include "engine/FilterGraph.h"
#include "engine/GraphDocumentComponent.h"
#include "platform/SettingsFile.h"
#include "platform/SupportFolder.h"

#include <gtest/gtest.h>

// The application object's part of start-up (settings, command manager) around a
// main window that a test creates.
class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        getSupportFolder().deleteRecursively();
        properties.setStorageParameters(makeSettingsOptions());
        appProperties = &properties;
        commandManager = &commands;
    }
    void TearDown() override
    {
        window.reset();
        VmDatabase::getInstance()->closeDb();
        properties.closeFiles();
        appProperties = nullptr;
        commandManager = nullptr;
    }

    // Starts the window, answering start-up's boxes.
    void start()
    {
        ScopedDialogs dialogs;
        window = std::make_unique<MainHostWindow>();
        startupDialogs = dialogs.titles();
    }

    FilterGraph& graph() { return window->getGraphDocument()->getGraph(); }
    juce::File settingsFile() const { return makeSettingsOptions().getDefaultFile(); }

    juce::ApplicationProperties properties;
    juce::ApplicationCommandManager commands;
    std::unique_ptr<MainHostWindow> window;
    juce::StringArray startupDialogs;
};
