// The stand-in lighting controller, driven through its C interface only, as the
// program drives it.

#include "TestSupport.h"
#include "engine/GlimraPluginAbi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <map>
#include <thread>

namespace
{
const char* const defaultShow = "Default Show";

std::atomic<int> nextPresses{0};
std::atomic<int> previousPresses{0};
void onNext()
{
    ++nextPresses;
}
void onPrevious()
{
    ++previousPresses;
}

// Points the support folder somewhere else for a while. Afterwards the rig
// goes back to the demo of the test process's own support folder.
class ScopedSupportFolder
{
public:
    ScopedSupportFolder(const GlimraApi& table, const juce::File& folder)
        : api(table), previous(juce::SystemStats::getEnvironmentVariable("VELMORA_HOME", {}))
    {
        setenv("VELMORA_HOME", folder.getFullPathName().toRawUTF8(), 1);
    }
    ~ScopedSupportFolder()
    {
        setenv("VELMORA_HOME", previous.toRawUTF8(), 1);
        api.loadShow(defaultShow);
    }

private:
    const GlimraApi& api;
    juce::String previous;
};

class GlimraControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library.open(GLIMRA_CONTROLLER_PATH));
        entry = reinterpret_cast<GlimraPluginEntry>(library.getFunction(GLIMRA_PLUGIN_ENTRY));
        ASSERT_NE(entry, nullptr);
        effect = entry();
        ASSERT_NE(effect, nullptr);
        api = static_cast<const GlimraApi*>(effect->user);
        ASSERT_NE(api, nullptr);

        // The rig is one per process, whoever loaded it before: start each test
        // from the same place.
        api->setHostCallbacks(nullptr);
        api->loadShow(defaultShow);
        api->setTempo(120.0f);
        ASSERT_EQ(juce::String(api->getCurrentShow()), defaultShow);
    }

    void TearDown() override
    {
        if (effect != nullptr)
            effect->destroy(effect);
    }

    // Plays the given time of audio through the record: the audio clock of the fades.
    void play(double seconds, int blockSize = 512)
    {
        effect->prepare(effect, sampleRate, blockSize);
        std::vector<float> left((size_t)blockSize), right((size_t)blockSize);
        float* channels[] = {left.data(), right.data()};
        auto remaining = (int)std::lround(seconds * sampleRate);
        while (remaining > 0)
        {
            auto n = std::min(remaining, blockSize);
            effect->process(effect, channels, channels, n);
            remaining -= n;
        }
    }

    juce::StringArray shows() const
    {
        juce::StringArray names;
        for (int i = 0; i < api->getNumShows(); ++i)
            names.add(api->getShowName(i));
        return names;
    }

    juce::StringArray banks() const
    {
        juce::StringArray names;
        for (int i = 0; i < api->getNumBanks(); ++i)
            names.add(api->getBankName(i));
        return names;
    }

    juce::StringArray presets(const juce::String& bank) const
    {
        juce::StringArray names;
        for (int i = 0; i < api->getNumPresets(bank.toRawUTF8()); ++i)
            names.add(api->getPresetName(bank.toRawUTF8(), i));
        return names;
    }

    // The first bank of the current show with or without an "Off" preset.
    juce::String bankWithOff(bool withOff) const
    {
        for (auto& bank : banks())
            if (presets(bank).contains("Off") == withOff)
                return bank;
        return {};
    }

    float level(const juce::String& bank) const { return api->getBankLevel(bank.toRawUTF8()); }
    juce::String active(const juce::String& bank) const
    {
        return api->getActivePreset(bank.toRawUTF8());
    }
    void select(const juce::String& bank, const juce::String& preset, float fade)
    {
        api->selectPreset(bank.toRawUTF8(), preset.toRawUTF8(), fade);
    }

    // As a host must: another thread may change the state between asking for
    // its size and fetching it.
    std::string save(GlimraEffect* record) const
    {
        std::string state;
        for (auto size = record->saveState(record, nullptr, 0);;)
        {
            state.assign((size_t)size, '\0');
            auto needed = record->saveState(record, state.data(), size);
            if (needed <= size)
                return state.substr(0, (size_t)needed);
            size = needed;
        }
    }
    int restore(GlimraEffect* record, const std::string& state) const
    {
        return record->restoreState(record, state.data(), (int32_t)state.size());
    }

    static constexpr double sampleRate = 44100.0;
    juce::DynamicLibrary library;
    GlimraPluginEntry entry = nullptr;
    GlimraEffect* effect = nullptr;
    const GlimraApi* api = nullptr;
};

TEST_F(GlimraControllerTest, DemoRigHasShowsBanksAndPresets)
{
    auto showNames = shows();
    EXPECT_GE(showNames.size(), 3);
    EXPECT_TRUE(showNames.contains(defaultShow));
    auto unique = showNames;
    unique.removeDuplicates(false);
    EXPECT_EQ(unique, showNames);

    auto bankNames = banks();
    EXPECT_GE(bankNames.size(), 2);
    for (auto& bank : bankNames)
        EXPECT_GE(presets(bank).size(), 2) << bank;
    EXPECT_NE(bankWithOff(true), "");
    EXPECT_NE(bankWithOff(false), "") << "a bank without \"Off\" shows the program's warning";

    // Out of range and unknown names answer empty, never null.
    EXPECT_STREQ(api->getShowName(-1), "");
    EXPECT_STREQ(api->getShowName(showNames.size()), "");
    EXPECT_STREQ(api->getBankName(bankNames.size()), "");
    EXPECT_EQ(api->getNumPresets("No Such Bank"), 0);
    EXPECT_EQ(api->getNumPresets(nullptr), 0);
    EXPECT_STREQ(api->getPresetName(bankNames[0].toRawUTF8(), 99), "");
    EXPECT_STREQ(api->getActivePreset("No Such Bank"), "");
    EXPECT_EQ(api->getBankLevel(nullptr), 0.0f);

    // Each function keeps its own text: one answer survives a call of another.
    const char* show = api->getShowName(0);
    api->getBankName(0);
    api->getCurrentShow();
    EXPECT_EQ(juce::String(show), showNames[0]);
}

TEST_F(GlimraControllerTest, FadesFollowTheProcessedAudio)
{
    auto bank = bankWithOff(true);
    auto preset = presets(bank)[0];

    select(bank, preset, 1.0f);
    EXPECT_EQ(active(bank), preset);
    play(0.5);
    EXPECT_NEAR(level(bank), 0.5f, 0.02f);
    play(0.6);
    EXPECT_EQ(level(bank), 1.0f);

    // "Off" ends the light: no active preset at once, the level fades out.
    select(bank, "Off", 2.0f);
    EXPECT_EQ(active(bank), "");
    play(1.0);
    EXPECT_NEAR(level(bank), 0.5f, 0.02f);
    play(1.1);
    EXPECT_EQ(level(bank), 0.0f);

    // Without a fade time the change is immediate. A fade starts from where the
    // level is and arrives at the fade time.
    select(bank, preset, 0.0f);
    EXPECT_EQ(level(bank), 1.0f);
    select(bank, "Off", 1.0f);
    play(0.5);
    select(bank, preset, 1.0f);
    play(0.5);
    EXPECT_NEAR(level(bank), 0.75f, 0.02f);
    play(0.51);
    EXPECT_EQ(level(bank), 1.0f);
}

TEST_F(GlimraControllerTest, SelectionsTheBankDoesNotHaveChangeNothing)
{
    auto lit = bankWithOff(false);
    auto preset = presets(lit)[0];
    select(lit, preset, 0.0f);

    struct Case
    {
        const char* bank;
        const char* preset;
    } cases[] = {
        {lit.toRawUTF8(), "Off"}, // the bank has no "Off" to end it with
        {lit.toRawUTF8(), "No Such Preset"},
        {lit.toRawUTF8(), ""},
        {lit.toRawUTF8(), nullptr},
        {nullptr, "Off"},
        {"No Such Bank", "Off"},
    };
    for (auto& c : cases)
    {
        api->selectPreset(c.bank, c.preset, 0.0f);
        EXPECT_EQ(active(lit), preset) << (c.preset != nullptr ? c.preset : "null");
        EXPECT_EQ(level(lit), 1.0f);
    }
}

TEST_F(GlimraControllerTest, WithoutAudioTheFadesFollowTheClock)
{
    auto bank = bankWithOff(true);
    const float fade = 0.3f;

    auto start = std::chrono::steady_clock::now();
    select(bank, presets(bank)[0], fade);
    auto first = level(bank);
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LE(first, elapsed.count() / fade + 0.01);

    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (level(bank) < 1.0f && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(level(bank), 1.0f);
}

TEST_F(GlimraControllerTest, LoadShowSwitchesBanksAndLeavesThemDark)
{
    auto defaultBanks = banks();
    select(defaultBanks[0], presets(defaultBanks[0])[0], 0.0f);

    auto other = shows()[1];
    api->loadShow(other.toRawUTF8());
    EXPECT_EQ(juce::String(api->getCurrentShow()), other);
    EXPECT_NE(banks(), defaultBanks);
    for (auto& bank : banks())
    {
        EXPECT_EQ(level(bank), 0.0f) << bank;
        EXPECT_EQ(active(bank), "") << bank;
    }

    api->loadShow("No Such Show");
    api->loadShow(nullptr);
    EXPECT_EQ(juce::String(api->getCurrentShow()), other);

    // Back again, the banks are dark too.
    api->loadShow(defaultShow);
    EXPECT_EQ(banks(), defaultBanks);
    EXPECT_EQ(level(defaultBanks[0]), 0.0f);
}

TEST_F(GlimraControllerTest, LoadShowReadsTheShowsFileOfTheSupportFolder)
{
    TempFolder home;
    ScopedSupportFolder scoped(*api, home.get());
    auto showsFile = home.file("glimra-shows.txt");

    ASSERT_TRUE(showsFile.replaceWithText("# The rehearsal room\n"
                                          "show Default Show\n"
                                          "  bank Stage\n"
                                          "    preset Blue\n"
                                          "    preset Off\n"
                                          "\n"
                                          "show Rehearsal\r\n"
                                          "  bank Piano Spot\n"
                                          "    preset On\n"
                                          "    preset Off\n"
                                          "  bank Floor\n"
                                          "    preset Warm Glow\n"));
    api->loadShow("Rehearsal");
    EXPECT_EQ(juce::String(api->getCurrentShow()), "Rehearsal");
    EXPECT_EQ(shows(), juce::StringArray({"Default Show", "Rehearsal"}));
    EXPECT_EQ(banks(), juce::StringArray({"Piano Spot", "Floor"}));
    EXPECT_EQ(presets("Piano Spot"), juce::StringArray({"On", "Off"}));
    EXPECT_EQ(presets("Floor"), juce::StringArray({"Warm Glow"}));

    // A file that cannot be read as a whole gives the demo rig, never half of it.
    const char* malformed[] = {
        "",
        "# nothing but a comment\n",
        "bank Stage\npreset Blue\n",
        "show A\npreset Blue\n",
        "show A\nbank B\nshow A\n",
        "show A\nbank B\nbank B\n",
        "show A\nbank B\npreset C\npreset C\n",
        "show A\nlamp B\n",
        "show\n",
        "show A\tB\n",
        "show A\xff\xfe\n",
    };
    for (auto* text : malformed)
    {
        ASSERT_TRUE(showsFile.replaceWithText(text, false, false, nullptr));
        api->loadShow(defaultShow);
        EXPECT_EQ(juce::String(api->getCurrentShow()), defaultShow) << text;
        EXPECT_GE(shows().size(), 3) << text;
        EXPECT_FALSE(shows().contains("A")) << text;
    }

    // A missing file gives the demo as well.
    showsFile.deleteFile();
    api->loadShow(defaultShow);
    EXPECT_GE(shows().size(), 3);
}

TEST_F(GlimraControllerTest, StateComesBackOnAFreshRecord)
{
    auto other = shows()[2];
    api->loadShow(other.toRawUTF8());
    api->setTempo(97.5f);
    auto bankNames = banks();
    ASSERT_GE(bankNames.size(), 3);
    auto fadingIn = bankNames[0], lit = bankNames[1], fadingOut = bankNames[2];
    select(lit, presets(lit)[1], 0.0f);
    select(fadingOut, presets(fadingOut)[0], 0.0f);
    select(fadingOut, "Off", 2.0f);
    select(fadingIn, presets(fadingIn)[0], 1.0f);
    play(0.25); // while a record is prepared, levels move only with audio

    struct BankState
    {
        juce::String preset;
        float level;
    };
    std::map<juce::String, BankState> before;
    for (auto& bank : bankNames)
        before[bank] = {active(bank), level(bank)};
    auto state = save(effect);

    // Asked with too little room, it answers the size and writes nothing.
    std::string small(8, '#');
    EXPECT_EQ(effect->saveState(effect, small.data(), (int32_t)small.size()), (int)state.size());
    EXPECT_EQ(small, std::string(8, '#'));

    api->loadShow(defaultShow);
    api->setTempo(60.0f);

    auto* fresh = entry();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(restore(fresh, state), 1);
    EXPECT_EQ(juce::String(api->getCurrentShow()), other);
    EXPECT_EQ(api->getTempo(), 97.5f);
    EXPECT_EQ(banks(), bankNames);
    for (auto& bank : bankNames)
    {
        EXPECT_EQ(active(bank), before[bank].preset) << bank;
        EXPECT_FLOAT_EQ(level(bank), before[bank].level) << bank;
    }
    EXPECT_EQ(save(fresh), state);

    // The fades go on where they were.
    play(0.25);
    EXPECT_NEAR(level(fadingIn), 0.5f, 0.02f);
    EXPECT_NEAR(level(fadingOut), 0.75f, 0.02f);
    fresh->destroy(fresh);
}

TEST_F(GlimraControllerTest, GarbageStateIsRefusedAndChangesNothing)
{
    auto bank = bankWithOff(true);
    select(bank, presets(bank)[0], 0.0f);
    api->setTempo(132.0f);
    auto state = save(effect);
    ASSERT_EQ(restore(effect, state), 1);

    auto replaced = [&](const std::string& from, const std::string& to)
    {
        auto s = state;
        auto at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? s : s.replace(at, from.size(), to);
    };
    std::string noise;
    for (int i = 0; i < 300; ++i)
        noise += (char)(i * 37 % 256);

    const std::string garbage[] = {
        "hello",
        noise,
        state.substr(0, state.find('\n')),
        replaced("state 1", "state 2"),
        replaced("tempo\t132", "tempo\tnan"),
        replaced("tempo\t132", "tempo\t-5"),
        replaced("tempo\t132", "tempo\t132x"),
        replaced("show\tDefault Show", "show\tNo Such Show"),
        replaced("\t1\t1\t0\n", "\t2\t1\t0\n"), // a level above full
        replaced("\t1\t1\t0\n", "\t1\t1\n"),
        state + "bank\t" + bank.toStdString() + "\t\t0\t0\t0\n", // the same bank twice
        state + "lamp\n",
    };
    for (auto& g : garbage)
    {
        EXPECT_EQ(restore(effect, g), 0) << g;
        EXPECT_EQ(save(effect), state) << g;
    }
    EXPECT_EQ(effect->restoreState(effect, nullptr, 10), 0);
    EXPECT_EQ(effect->restoreState(effect, state.data(), 0), 0);
    EXPECT_EQ(save(effect), state);
}

TEST_F(GlimraControllerTest, FootswitchCallsTheHost)
{
    GlimraHostApi host{onNext, onPrevious};
    nextPresses = previousPresses = 0;
    api->setHostCallbacks(&host);

    api->pressFootswitch(0);
    EXPECT_EQ(nextPresses.load(), 1);
    EXPECT_EQ(previousPresses.load(), 0);
    api->pressFootswitch(1);
    EXPECT_EQ(previousPresses.load(), 1);
    api->pressFootswitch(2);
    api->pressFootswitch(-1);
    EXPECT_EQ(nextPresses + previousPresses, 2);

    GlimraHostApi half{nullptr, onPrevious};
    api->setHostCallbacks(&half);
    api->pressFootswitch(0);
    api->setHostCallbacks(nullptr);
    api->pressFootswitch(1);
    EXPECT_EQ(nextPresses + previousPresses, 2);
}

TEST_F(GlimraControllerTest, AudioPassesThroughUnchanged)
{
    effect->prepare(effect, sampleRate, 64);
    std::vector<float> inL(64), inR(64), outL(64, 9.0f), outR(64, 9.0f);
    for (size_t i = 0; i < 64; ++i)
    {
        inL[i] = std::sin((float)i * 0.3f);
        inR[i] = -0.5f + (float)i / 64.0f;
    }
    const float* inputs[] = {inL.data(), inR.data()};
    float* outputs[] = {outL.data(), outR.data()};
    effect->process(effect, inputs, outputs, 64);
    EXPECT_EQ(outL, inL);
    EXPECT_EQ(outR, inR);

    float* inPlace[] = {inL.data(), inR.data()};
    auto copy = inL;
    effect->process(effect, inPlace, inPlace, 64);
    EXPECT_EQ(inL, copy);
}

TEST_F(GlimraControllerTest, CallsFromSeveralThreadsAtOnce)
{
    auto bankNames = banks();
    effect->prepare(effect, sampleRate, 64);

    std::atomic<bool> done{false};
    std::thread audio(
        [&]
        {
            std::vector<float> left(64), right(64);
            float* channels[] = {left.data(), right.data()};
            while (!done)
                effect->process(effect, channels, channels, 64);
        });
    std::thread worker(
        [&]
        {
            for (int i = 0; i < 50; ++i)
                api->loadShow(i % 2 == 0 ? "Festival" : defaultShow);
        });

    for (int i = 0; i < 2000; ++i)
    {
        auto bank = banks()[i % 3];
        auto names = presets(bank);
        if (!names.isEmpty())
            select(bank, names[i % names.size()], (float)(i % 4) * 0.01f);
        api->setTempo(100.0f + (float)(i % 50));
        auto l = level(bank);
        EXPECT_TRUE(l >= 0.0f && l <= 1.0f) << l;
        active(bank);
        if (i % 100 == 0)
            save(effect);
    }
    worker.join();
    done = true;
    audio.join();
    api->loadShow(defaultShow);
    EXPECT_EQ(banks(), bankNames);
}

} // namespace
