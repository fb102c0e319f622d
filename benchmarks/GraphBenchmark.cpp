// CPU cost of the whole processing graph per 512-sample block at 44.1 kHz while a
// track plays through the lighting controller with fades running: file player,
// controller and device nodes, as the audio thread runs them.
#include "app/AppGlobals.h"
#include "app/FormatManager.h"
#include "app/PluginHostApp.h"
#include "engine/FilePlayerProcessor.h"
#include "engine/FilterGraph.h"
#include "engine/GlimraPluginAbi.h"
#include "engine/GlimraPluginFormat.h"
#include "engine/GlimraPluginInstance.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace
{
double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

bool writeTrack(const juce::File& file, double seconds)
{
    file.deleteFile();
    auto stream = file.createOutputStream();
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer(
        wav.createWriterFor(stream.get(), 44100.0, 2, 16, {}, 0));
    if (writer == nullptr)
        return false;
    stream.release();
    juce::AudioBuffer<float> block(2, 44100);
    for (int i = 0; i < 44100; ++i)
        for (int ch = 0; ch < 2; ++ch)
            block.setSample(ch, i, 0.3f * (float)std::sin(i * 0.0627));
    for (int s = 0; s < (int)seconds; ++s)
        writer->writeFromAudioSampleBuffer(block, 0, 44100);
    return true;
}
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    formatManager.registerBasicFormats();
    registerPluginFormats();

    juce::TemporaryFile track(".wav");
    if (!writeTrack(track.getFile(), 30))
        return 1;

    FilterGraph graph;
    GlimraPluginFormat format;
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile(found, GLIMRA_CONTROLLER_PATH);
    if (found.isEmpty() || graph.addFilter(found[0], 0.5, 0.5) == nullptr)
    {
        std::printf("the stand-in controller could not be loaded\n");
        return 1;
    }
    using NodeID = FilterGraph::NodeID;
    graph.addConnection(NodeID(4), 0, NodeID(5), 0);
    graph.addConnection(NodeID(4), 1, NodeID(5), 1);
    graph.addConnection(NodeID(5), 0, NodeID(3), 0);
    graph.addConnection(NodeID(5), 1, NodeID(3), 1);

    auto& processor = graph.getGraph();
    const int blockSize = 512;
    const double rate = 44100.0;
    processor.setPlayConfigDetails(2, 2, rate, blockSize);
    processor.prepareToPlay(rate, blockSize);
    filePlayer->loadFile(track.getFile().getFullPathName());
    filePlayer->setCurrentTime(1.0);
    filePlayer->play(1.5); // past the start: a real fade-in

    auto* controller =
        dynamic_cast<GlimraPluginInstance*>(graph.getNodeForId(NodeID(5))->getProcessor());
    auto* api = static_cast<GlimraApi*>(controller->getEffect()->user);

    juce::AudioBuffer<float> buffer(2, blockSize);
    juce::MidiBuffer midi;
    const int blocks = 600; // about 7 s of audio, paced like a device
    int audible = 0;
    std::vector<double> perBlock;
    perBlock.reserve(blocks);
    for (int i = 0; i < blocks; ++i)
    {
        if (i % 100 == 0) // a cue now and then, with a fade, as during a show
        {
            auto bank = juce::String(api->getBankName(i / 100 % api->getNumBanks()));
            api->selectPreset(bank.toRawUTF8(), api->getPresetName(bank.toRawUTF8(), 1), 2.0f);
        }
        buffer.clear();
        double start = threadSeconds();
        processor.processBlock(buffer, midi);
        perBlock.push_back(threadSeconds() - start);
        if (buffer.getMagnitude(0, blockSize) > 0.01f)
            ++audible;
        juce::Thread::sleep(11); // real time, so the read-ahead thread keeps up
    }
    processor.releaseResources();

    std::sort(perBlock.begin(), perBlock.end());
    double blockSeconds = blockSize / rate;
    double mean = 0;
    for (auto t : perBlock)
        mean += t;
    mean /= perBlock.size();
    std::printf("Whole graph, %d-sample blocks at %.0f Hz (block = %.2f ms), %d blocks\n",
                blockSize, rate, blockSeconds * 1000, blocks);
    std::printf("  %d of the blocks carried the track's audio\n", audible);
    std::printf("  mean   %7.1f us  (%.3f %% of the block)\n", mean * 1e6,
                100 * mean / blockSeconds);
    std::printf("  median %7.1f us  (%.3f %%)\n", perBlock[perBlock.size() / 2] * 1e6,
                100 * perBlock[perBlock.size() / 2] / blockSeconds);
    std::printf("  p99    %7.1f us  (%.3f %%)\n", perBlock[perBlock.size() * 99 / 100] * 1e6,
                100 * perBlock[perBlock.size() * 99 / 100] / blockSeconds);
    return 0;
}
