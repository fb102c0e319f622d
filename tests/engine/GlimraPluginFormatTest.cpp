#include "engine/GlimraPluginFormat.h"
#include "TestSupport.h"
#include "engine/GlimraEditor.h"
#include "engine/GlimraPluginInstance.h"
#include "engine/HeapCounter.h"

#include <gtest/gtest.h>

#include <atomic>

namespace
{
const juce::String controllerPath = GLIMRA_CONTROLLER_PATH;
const juce::String noEntryPath = GLIMRA_NOENTRY_PATH;
const juce::String noUserPath = GLIMRA_NOUSER_PATH;

// How the test plug-in without a function table makes its record.
class ScopedRecordMode
{
public:
    explicit ScopedRecordMode(const char* mode) { setenv("GLIMRA_TEST_RECORD", mode, 1); }
    ~ScopedRecordMode() { unsetenv("GLIMRA_TEST_RECORD"); }
};

juce::OwnedArray<juce::PluginDescription> scan(const juce::String& path)
{
    GlimraPluginFormat format;
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile(found, path);
    return found;
}

std::unique_ptr<GlimraPluginInstance> instantiate(const juce::String& path)
{
    auto found = scan(path);
    if (found.size() != 1)
        return nullptr;
    GlimraPluginFormat format;
    juce::String error;
    auto instance = format.createInstanceFromDescription(*found[0], 44100.0, 512, error);
    EXPECT_EQ(error, "");
    return std::unique_ptr<GlimraPluginInstance>(
        dynamic_cast<GlimraPluginInstance*>(instance.release()));
}

juce::StringArray logOf(GlimraPluginInstance& instance)
{
    juce::MemoryBlock state;
    instance.getStateInformation(state);
    return juce::StringArray::fromLines(state.toString().trimEnd());
}

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

juce::TextButton* buttonNamed(juce::Component& parent, const juce::String& text)
{
    for (auto* child : parent.getChildren())
        if (auto* button = dynamic_cast<juce::TextButton*>(child))
            if (button->getButtonText() == text)
                return button;
    return nullptr;
}

// The window as it would be on screen, kept for looking at.
juce::File writeSnapshot(juce::Component& window, const juce::String& name)
{
    auto picture = juce::File::getSpecialLocation(juce::File::tempDirectory).getChildFile(name);
    picture.deleteFile();
    juce::FileOutputStream out(picture);
    if (out.openedOk())
        juce::PNGImageFormat().writeImageToStream(
            window.createComponentSnapshot(window.getLocalBounds()), out);
    return picture;
}

void clickAndWait(juce::Button& button, const std::atomic<int>& counter)
{
    auto before = counter.load();
    button.triggerClick(); // delivered through the message loop
    for (int i = 0; i < 100 && counter.load() == before; ++i)
        juce::MessageManager::getInstance()->runDispatchLoopUntil(20);
}
} // namespace

TEST(GlimraPluginFormatTest, ScanningTheControllerGivesOneDescription)
{
    auto found = scan(controllerPath);
    ASSERT_EQ(found.size(), 1);
    auto& d = *found[0];
    EXPECT_EQ(d.name, "GLIMRA");
    EXPECT_NE(d.manufacturerName, "");
    EXPECT_NE(d.version, "");
    EXPECT_NE(d.uniqueId, 0);
    EXPECT_EQ(d.fileOrIdentifier, juce::File(controllerPath).getFullPathName());
    EXPECT_EQ(d.pluginFormatName, "GlimraPlugin");
    EXPECT_EQ(d.category, "Effect");
    EXPECT_FALSE(d.isInstrument);
    EXPECT_EQ(d.numInputChannels, 2);
    EXPECT_EQ(d.numOutputChannels, 2);

    GlimraPluginFormat format;
    EXPECT_TRUE(format.doesPluginStillExist(d));
    EXPECT_FALSE(format.pluginNeedsRescanning(d));
}

TEST(GlimraPluginFormatTest, FilesThatAreNoGlimraPluginGiveNothing)
{
    TempFolder folder;
    auto text = folder.file("notes.so");
    ASSERT_TRUE(text.replaceWithText("not a library"));

    struct Case
    {
        const char* what;
        juce::String path;
        const char* recordMode;
    } cases[] = {
        {"no entry point", noEntryPath, nullptr},
        {"a text file", text.getFullPathName(), nullptr},
        {"a missing file", folder.file("gone.so").getFullPathName(), nullptr},
        {"a relative path", "GLIMRA.so", nullptr},
        {"an empty path", "", nullptr},
        {"no record", noUserPath, "null"},
        {"a wrong magic number", noUserPath, "magic"},
        {"another interface version", noUserPath, "version"},
    };
    for (auto& c : cases)
    {
        std::unique_ptr<ScopedRecordMode> mode;
        if (c.recordMode != nullptr)
            mode = std::make_unique<ScopedRecordMode>(c.recordMode);
        EXPECT_EQ(scan(c.path).size(), 0) << c.what;

        // Making an instance from a description of such a file fails with a reason.
        juce::PluginDescription d;
        d.pluginFormatName = GlimraPluginFormat::formatName;
        d.fileOrIdentifier = c.path;
        GlimraPluginFormat format;
        juce::String error;
        EXPECT_EQ(format.createInstanceFromDescription(d, 44100.0, 512, error), nullptr) << c.what;
        EXPECT_NE(error, "") << c.what;
    }
}

TEST(GlimraPluginFormatTest, PluginWithoutFunctionTableHasNoEditor)
{
    auto found = scan(noUserPath);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0]->name, "Plain Effect");

    auto instance = instantiate(noUserPath);
    ASSERT_NE(instance, nullptr);
    ASSERT_NE(instance->getEffect(), nullptr);
    EXPECT_EQ(instance->getEffect()->user, nullptr);
    EXPECT_FALSE(instance->hasEditor());
    EXPECT_EQ(instance->createEditorIfNeeded(), nullptr);
}

TEST(GlimraPluginFormatTest, InstanceHandsAudioMidiAndStateToTheRecord)
{
    auto instance = instantiate(noUserPath);
    ASSERT_NE(instance, nullptr);
    instance->prepareToPlay(48000.0, 256);

    // The test plug-in halves its audio and logs each call.
    juce::AudioBuffer<float> stereo(2, 256);
    for (int ch = 0; ch < 2; ++ch)
        juce::FloatVectorOperations::fill(stereo.getWritePointer(ch), 0.8f, 256);
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8)100), 10);
    midi.addEvent(juce::MidiMessage::controllerEvent(1, 7, 127), 100);
    instance->processBlock(stereo, midi);
    EXPECT_FLOAT_EQ(stereo.getSample(0, 0), 0.4f);
    EXPECT_FLOAT_EQ(stereo.getSample(1, 255), 0.4f);

    // A mono block longer than the prepared size: the plug-in still gets two
    // channels, in pieces it was prepared for.
    juce::AudioBuffer<float> mono(1, 600);
    juce::FloatVectorOperations::fill(mono.getWritePointer(0), 0.8f, 600);
    juce::MidiBuffer none;
    instance->processBlock(mono, none);
    EXPECT_FLOAT_EQ(mono.getSample(0, 0), 0.4f);
    EXPECT_FLOAT_EQ(mono.getSample(0, 599), 0.4f);

    const char bytes[] = "abc";
    instance->setStateInformation(bytes, 3);
    instance->releaseResources();
    EXPECT_EQ(logOf(*instance),
              juce::StringArray({"prepare 48000 256", "midi 90 3c 64 @10", "midi b0 07 7f @100",
                                 "process 256", "process 256", "process 256", "process 88",
                                 "restore 3", "release"}));
}

TEST(GlimraPluginFormatTest, ControllerInstanceExposesItsTableAndPassesAudioThrough)
{
    auto instance = instantiate(controllerPath);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->getMainBusNumInputChannels(), 2);
    EXPECT_EQ(instance->getMainBusNumOutputChannels(), 2);
    EXPECT_TRUE(instance->hasEditor());

    // The host reaches the table through the platform-specific data.
    juce::AudioPluginInstance& plugin = *instance;
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    auto* effect = static_cast<GlimraEffect*>(plugin.getPlatformSpecificData());
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    ASSERT_EQ(effect, instance->getEffect());
    auto* api = static_cast<const GlimraApi*>(effect->user);
    ASSERT_NE(api, nullptr);
    EXPECT_GE(api->getNumShows(), 3);

    instance->prepareToPlay(44100.0, 512);
    juce::AudioBuffer<float> buffer(2, 512);
    for (int i = 0; i < 512; ++i)
    {
        buffer.setSample(0, i, std::sin((float)i * 0.05f));
        buffer.setSample(1, i, 0.25f);
    }
    juce::AudioBuffer<float> original(buffer);
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8)100), 0);
    instance->processBlock(buffer, midi);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ(buffer.getSample(ch, i), original.getSample(ch, i)) << ch << ", " << i;
    instance->releaseResources();
}

TEST(GlimraPluginFormatTest, AudioPathDoesNotAllocate)
{
    auto instance = instantiate(controllerPath);
    ASSERT_NE(instance, nullptr);
    auto* api = instance->getControllerApi();
    api->loadShow("Default Show");
    auto* bank = "Front Wash";
    api->selectPreset(bank, api->getPresetName(bank, 0), 10.0f); // a fade to follow
    instance->prepareToPlay(44100.0, 256);

    juce::AudioBuffer<float> stereo(2, 256), mono(1, 600);
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8)100), 3);

    heapCounter::countThisThread(true);
    auto before = heapCounter::allocations();
    for (int i = 0; i < 20; ++i)
    {
        instance->processBlock(stereo, midi);
        instance->processBlock(mono, midi); // through the scratch buffer
    }
    auto allocated = heapCounter::allocations() - before;
    heapCounter::countThisThread(false);
    EXPECT_EQ(allocated, 0u);
    EXPECT_GT(api->getBankLevel(bank), 0.0f);
    instance->releaseResources();
}

TEST(GlimraEditorTest, ShowsTheRigAndPressesTheFootswitches)
{
    auto instance = instantiate(controllerPath);
    ASSERT_NE(instance, nullptr);
    auto* api = instance->getControllerApi();
    api->loadShow("Default Show");
    api->setTempo(128.0f);
    juce::StringArray banks;
    for (int i = 0; i < api->getNumBanks(); ++i)
        banks.add(api->getBankName(i));
    ASSERT_GE(banks.size(), 3);
    api->selectPreset(banks[0].toRawUTF8(), api->getPresetName(banks[0].toRawUTF8(), 0), 0.0f);
    api->selectPreset(banks[1].toRawUTF8(), api->getPresetName(banks[1].toRawUTF8(), 1), 2.0f);
    juce::String fadingPreset = api->getPresetName(banks[1].toRawUTF8(), 1);

    // A second of audio: half way through the two-second fade.
    instance->prepareToPlay(44100.0, 441);
    juce::AudioBuffer<float> buffer(2, 441);
    juce::MidiBuffer midi;
    for (int i = 0; i < 100; ++i)
        instance->processBlock(buffer, midi);

    std::unique_ptr<juce::AudioProcessorEditor> window(instance->createEditorIfNeeded());
    auto* editor = dynamic_cast<GlimraEditor*>(window.get());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->getWidth(), 480);
    EXPECT_EQ(editor->getHeight(), 360);

    editor->refresh();
    auto& rig = editor->getRigShown();
    EXPECT_EQ(rig.show, "Default Show");
    EXPECT_EQ(rig.tempo, 128.0f);
    ASSERT_EQ(rig.banks.size(), banks.size());
    for (int i = 0; i < banks.size(); ++i)
        EXPECT_EQ(rig.banks[i].name, banks[i]);
    EXPECT_EQ(rig.banks[0].preset, api->getPresetName(banks[0].toRawUTF8(), 0));
    EXPECT_EQ(rig.banks[0].level, 1.0f);
    EXPECT_EQ(rig.banks[1].preset, fadingPreset);
    EXPECT_NEAR(rig.banks[1].level, 0.5f, 0.02f);
    EXPECT_EQ(rig.banks[2].preset, "");
    EXPECT_EQ(rig.banks[2].level, 0.0f);

    EXPECT_GT(writeSnapshot(*editor, "glimra-window.png").getSize(), 0);

    // The footswitches go to the controller, which calls the host back.
    GlimraHostApi host{onNext, onPrevious};
    api->setHostCallbacks(&host);
    nextPresses = previousPresses = 0;
    auto* next = buttonNamed(*editor, "Next");
    auto* previous = buttonNamed(*editor, "Previous");
    ASSERT_NE(next, nullptr);
    ASSERT_NE(previous, nullptr);
    clickAndWait(*next, nextPresses);
    EXPECT_EQ(nextPresses.load(), 1);
    EXPECT_EQ(previousPresses.load(), 0);
    clickAndWait(*previous, previousPresses);
    EXPECT_EQ(previousPresses.load(), 1);
    api->setHostCallbacks(nullptr);

    // Resized, the footswitches stay inside the window and apart.
    editor->setSize(900, 300);
    EXPECT_TRUE(editor->getLocalBounds().contains(next->getBounds()));
    EXPECT_TRUE(editor->getLocalBounds().contains(previous->getBounds()));
    EXPECT_FALSE(next->getBounds().intersects(previous->getBounds()));
    writeSnapshot(*editor, "glimra-window-wide.png");

    window.reset();
    instance->releaseResources();
}
