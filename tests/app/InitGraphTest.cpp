// Loading the lighting controller at start-up, and the program running with it.
#include "StartedWindow.h"
#include "TestAudio.h"
#include "data/AudioFileModel.h"
#include "engine/FilePlayerProcessor.h"
#include "engine/PluginWindow.h"

#include <cstdlib>

namespace
{
class InitGraphTest : public WindowTest
{
protected:
    void TearDown() override
    {
        WindowTest::TearDown();
        setenv("VELMORA_GLIMRA_PLUGIN", GLIMRA_CONTROLLER_PATH, 1);
    }
    TempFolder tmp;
};

// Finds a text button on a component tree by its text.
juce::Button* findButton(juce::Component& root, const juce::String& text)
{
    if (auto* b = dynamic_cast<juce::Button*>(&root))
        if (b->getButtonText() == text)
            return b;
    for (auto* child : root.getChildren())
        if (auto* found = findButton(*child, text))
            return found;
    return nullptr;
}
} // namespace

TEST_F(InitGraphTest, AControllerThatCannotRunStopsStartUpWithItsMessage)
{
    auto notALibrary = tmp.file("GLIMRA.so");
    notALibrary.replaceWithText("not a plug-in");
    struct Case
    {
        juce::String plugin;
        const char* title;
        int status;
    } cases[] = {
        {tmp.file("missing/GLIMRA.so").getFullPathName(), "[#1001] Velmora requires GLIMRA", 1},
        {GLIMRA_NOENTRY_PATH, "[#1005] Error while initialising GLIMRA", 0},
        {notALibrary.getFullPathName(), "[#1005] Error while initialising GLIMRA", 0},
        {GLIMRA_NOUSER_PATH, "[#1006] Looks like you have an old version of GLIMRA!", 0},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.title);
        setenv("VELMORA_GLIMRA_PLUGIN", c.plugin.toRawUTF8(), 1);
        ScopedDialogs dialogs;
        window = std::make_unique<MainHostWindow>();
        EXPECT_FALSE(window->isStartedUp());
        EXPECT_EQ(window->getExitStatus(), c.status);
        ASSERT_FALSE(dialogs.titles().isEmpty());
        EXPECT_EQ(dialogs.titles()[dialogs.titles().size() - 1], c.title);
        EXPECT_FALSE(dialogs.titles().contains("Track library is empty"));
        EXPECT_EQ(glimraApi, nullptr);
        window.reset();
        VmDatabase::getInstance()->closeDb();
    }
}

TEST_F(InitGraphTest, TheMessagesNameWhereToGetTheController)
{
    setenv("VELMORA_GLIMRA_PLUGIN", tmp.file("none.so").getFullPathName().toRawUTF8(), 1);
    ScopedDialogs dialogs;
    window = std::make_unique<MainHostWindow>();
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].icon, DialogIcon::warning);
    EXPECT_EQ(dialogs.requests()[0].text, "Please install GLIMRA 1.3.0 or better (available from "
                                          "https://kestrova.example/glimra) then restart Velmora");
}

TEST_F(InitGraphTest, ATrackPlaysThroughTheControllerAndTheFootswitchReachesTheProgram)
{
    start();
    ASSERT_TRUE(window->isStartedUp());
    auto& devices = window->getDeviceManager();
    if (devices.getCurrentAudioDevice() == nullptr)
    {
        if (juce::SystemStats::getEnvironmentVariable("VELMORA_REQUIRE_AUDIO", {}).isNotEmpty())
            FAIL() << "no audio device: the test script's JACK server is not running";
        GTEST_SKIP() << "no audio device here (scripts/test runs a JACK dummy server)";
    }

    auto source = tmp.file("Live/Tone.wav");
    ASSERT_TRUE(writeTone(source, 3.0));
    AudioFileModel track;
    track.addNewFromPath(source.getFullPathName());
    ASSERT_NE(filePlayer, nullptr);
    ASSERT_TRUE(filePlayer->loadFile(track.getFullPath()));

    auto meter = devices.getOutputLevelGetter();
    juce::MessageManager::getInstance()->runDispatchLoopUntil(300);
    double silentLevel = meter->getCurrentLevel();
    filePlayer->play(0.0);
    double loudest = 0;
    for (int i = 0; i < 20; ++i)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil(50);
        loudest = juce::jmax(loudest, meter->getCurrentLevel());
    }
    filePlayer->stop(0.0);
    EXPECT_LT(silentLevel, 0.01);
    EXPECT_GT(loudest, 0.05) << "the output stayed silent while the track played";

    // The footswitch in the controller's window.
    ASSERT_NE(pluginWindow, nullptr);
    auto* next = findButton(*pluginWindow, "Next");
    ASSERT_NE(next, nullptr);
    startEventReceived = false;
    next->triggerClick();
    juce::MessageManager::getInstance()->runDispatchLoopUntil(100);
    EXPECT_TRUE(startEventReceived);
}
