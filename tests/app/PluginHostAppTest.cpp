// The program as a whole, started as its own process.
#include "app/PluginHostApp.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
// Runs the program with its own support folder; dialogs are printed and answered
// with their cautious choice.
struct Launch
{
    explicit Launch(const juce::File& home)
    {
        setenv("VELMORA_HOME", home.getFullPathName().toRawUTF8(), 1);
        setenv("VELMORA_UNATTENDED", "1", 1);
        started = process.start(juce::StringArray{VELMORA_APP_PATH},
                                juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr);
    }
    ~Launch()
    {
        if (process.isRunning())
            process.kill();
    }
    juce::ChildProcess process;
    bool started = false;
};

bool waitFor(std::function<bool()> condition, int timeoutMs)
{
    auto end = juce::Time::getMillisecondCounter() + (juce::uint32)timeoutMs;
    while (!condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        juce::Thread::sleep(50);
    }
    return true;
}
} // namespace

TEST(PluginHostApp, NamesItsVersion)
{
    EXPECT_EQ(getBuildVersion(), "1.3.0");
    EXPECT_EQ(getAppDescription(), "Velmora V1.3.0");
}

// One test for both launches: only one copy of the program may run on a machine.
TEST(PluginHostApp, RunsOnceAtATimeAndQuitsCleanlyOnAnUnusableLibrary)
{
    TempFolder home;
    auto dbFile = home.file("Velmora.db");

    dbFile.replaceWithText("SQLite format 2? no.");
    {
        Launch bad(home.get());
        ASSERT_TRUE(bad.started);
        ASSERT_TRUE(bad.process.waitForProcessToFinish(60000));
        auto output = bad.process.readAllProcessOutput();
        EXPECT_EQ(bad.process.getExitCode(), 1u) << output;
        EXPECT_TRUE(output.contains("[dialog] Invalid database file")) << output;
        EXPECT_EQ(dbFile.loadFileAsString(), "SQLite format 2? no.");
    }

    dbFile.deleteFile();
    Launch first(home.get());
    ASSERT_TRUE(first.started);
    // Up once its library exists and it has said that the library is empty.
    ASSERT_TRUE(waitFor([&] { return dbFile.existsAsFile(); }, 60000));
    juce::Thread::sleep(1500);
    ASSERT_TRUE(first.process.isRunning());

    Launch second(home.get());
    ASSERT_TRUE(second.started);
    EXPECT_TRUE(second.process.waitForProcessToFinish(30000));
    EXPECT_EQ(second.process.getExitCode(), 0u);
    EXPECT_TRUE(first.process.isRunning());
}
