#include "TestSupport.h"
#include "app/FormatManager.h"
#include "app/PluginHostApp.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

DialogResponder* defaultTestResponder();

namespace
{
// The tests drive the program's windows without its application object. JUCE
// treats a process as a standalone program (thread-safe X11, its own X error
// handlers) only when an application factory is registered, so one is, though
// it is never called.
juce::JUCEApplicationBase* noApplication()
{
    return nullptr;
}
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);

    // Each test process gets its own support folder: no test ever touches a
    // real library or settings file.
    auto home =
        juce::File::getSpecialLocation(juce::File::tempDirectory)
            .getNonexistentChildFile("velmora-home-" + juce::String((int)getpid()), "", false);
    home.createDirectory();
    setenv("VELMORA_HOME", home.getFullPathName().toRawUTF8(), 1);
    // The stand-in lighting controller built with the program, unless a test says otherwise.
    setenv("VELMORA_GLIMRA_PLUGIN", GLIMRA_CONTROLLER_PATH, 0);

    juce::JUCEApplicationBase::createInstance = &noApplication;

    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        formatManager.registerBasicFormats();
        registerPluginFormats();
        Dialogs::setResponder(defaultTestResponder());
        result = RUN_ALL_TESTS();
        Dialogs::setResponder(nullptr);
    }
    home.deleteRecursively();
    return result;
}
