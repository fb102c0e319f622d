// The plug-in's C face: the effect record, the controller's function table and
// the one exported entry point. Nothing here lets an exception out.

#include "engine/GlimraPluginAbi.h"
#include "lightsim/Controller.h"

#include <atomic>
#include <cstring>
#include <new>
#include <string>

#if defined(_WIN32)
#define GLIMRA_EXPORT __declspec(dllexport)
#else
#define GLIMRA_EXPORT __attribute__((visibility("default")))
#endif

namespace
{
using lightsim::Controller;

Controller& rig()
{
    return Controller::get();
}

std::string text(const char* s)
{
    return s != nullptr ? std::string(s) : std::string();
}

// Each text-returning function keeps its answer in a buffer of its own per
// thread: valid until that function is called again on the same thread.
template <typename Tag, typename Producer> const char* keep(Producer&& produce) noexcept
{
    thread_local std::string buffer;
    try
    {
        buffer = produce();
    }
    catch (...)
    {
        buffer.clear();
    }
    return buffer.c_str();
}

template <typename Result, typename Call> Result guarded(Result fallback, Call&& call) noexcept
{
    try
    {
        return call();
    }
    catch (...)
    {
        return fallback;
    }
}

template <typename Call> void guardedVoid(Call&& call) noexcept
{
    try
    {
        call();
    }
    catch (...)
    {
    }
}

// ---------------------------------------------------------------------------
// The function table.

void apiSetHostCallbacks(const GlimraHostApi* host)
{
    rig().setHostCallbacks(host);
}

void apiSetTempo(float bpm)
{
    rig().setTempo(bpm);
}

int32_t apiGetNumShows()
{
    return guarded<int32_t>(0, [] { return rig().numShows(); });
}

const char* apiGetCurrentShow()
{
    struct Tag;
    return keep<Tag>([] { return rig().currentShow(); });
}

const char* apiGetShowName(int32_t index)
{
    struct Tag;
    return keep<Tag>([=] { return rig().showName(index); });
}

void apiLoadShow(const char* name)
{
    guardedVoid([=] { rig().loadShow(text(name)); });
}

int32_t apiGetNumBanks()
{
    return guarded<int32_t>(0, [] { return rig().numBanks(); });
}

const char* apiGetBankName(int32_t index)
{
    struct Tag;
    return keep<Tag>([=] { return rig().bankName(index); });
}

int32_t apiGetNumPresets(const char* bank)
{
    return guarded<int32_t>(0, [=] { return rig().numPresets(text(bank)); });
}

const char* apiGetPresetName(const char* bank, int32_t index)
{
    struct Tag;
    return keep<Tag>([=] { return rig().presetName(text(bank), index); });
}

void apiSelectPreset(const char* bank, const char* preset, float fadeSeconds)
{
    guardedVoid([=] { rig().selectPreset(text(bank), text(preset), fadeSeconds); });
}

const char* apiGetActivePreset(const char* bank)
{
    struct Tag;
    return keep<Tag>([=] { return rig().activePreset(text(bank)); });
}

float apiGetBankLevel(const char* bank)
{
    return guarded(0.0f, [=] { return rig().bankLevel(text(bank)); });
}

float apiGetTempo()
{
    return rig().getTempo();
}

void apiPressFootswitch(int32_t which)
{
    rig().pressFootswitch(which);
}

GlimraApi controllerTable = {
    apiSetHostCallbacks, apiSetTempo,      nullptr,          apiGetNumShows,
    apiGetCurrentShow,   apiGetShowName,   apiLoadShow,      apiGetNumBanks,
    apiGetBankName,      apiGetNumPresets, apiGetPresetName, apiSelectPreset,
    apiGetActivePreset,  apiGetBankLevel,  apiGetTempo,      apiPressFootswitch,
};

// ---------------------------------------------------------------------------
// The effect record.

struct Record
{
    GlimraEffect effect{};
    std::atomic<bool> prepared{false};
    std::atomic<double> sampleRate{44100.0};
};

Record& recordOf(GlimraEffect* effect)
{
    return *static_cast<Record*>(effect->object);
}

void release(GlimraEffect* effect)
{
    if (recordOf(effect).prepared.exchange(false))
        guardedVoid([] { rig().audioStopped(); });
}

void prepare(GlimraEffect* effect, double sampleRate, int32_t)
{
    auto& record = recordOf(effect);
    if (sampleRate > 0.0)
        record.sampleRate.store(sampleRate);
    // Hosts prepare again without releasing in between; that is still one user.
    if (!record.prepared.exchange(true))
        guardedVoid([] { rig().audioStarted(); });
}

void process(GlimraEffect* effect, const float* const* inputs, float* const* outputs,
             int32_t numSamples)
{
    if (numSamples <= 0 || outputs == nullptr)
        return;
    // The rig passes the show's audio through untouched.
    for (int32_t ch = 0; ch < effect->numOutputs; ++ch)
    {
        auto* out = outputs[ch];
        const float* in = inputs != nullptr && ch < effect->numInputs ? inputs[ch] : nullptr;
        if (out == nullptr || out == in)
            continue;
        if (in != nullptr)
            std::memmove(out, in, sizeof(float) * static_cast<size_t>(numSamples));
        else
            std::memset(out, 0, sizeof(float) * static_cast<size_t>(numSamples));
    }

    // Unprepared records leave the time to the clock.
    auto& record = recordOf(effect);
    if (record.prepared.load())
        rig().advanceAudio(numSamples / record.sampleRate.load());
}

void midiIn(GlimraEffect*, const uint8_t*, int32_t, int32_t)
{
    // The stand-in takes its cues through the function table only.
}

int32_t saveState(GlimraEffect*, void* buffer, int32_t capacity)
{
    return guarded<int32_t>(0,
                            [=]
                            {
                                auto state = rig().saveState();
                                auto size = static_cast<int32_t>(state.size());
                                if (buffer != nullptr && capacity >= size)
                                    std::memcpy(buffer, state.data(), state.size());
                                return size;
                            });
}

int32_t restoreState(GlimraEffect*, const void* data, int32_t size)
{
    if (data == nullptr || size <= 0)
        return 0;
    return guarded<int32_t>(0,
                            [=]
                            {
                                auto state = std::string(static_cast<const char*>(data),
                                                         static_cast<size_t>(size));
                                return rig().restoreState(state) ? 1 : 0;
                            });
}

void destroy(GlimraEffect* effect)
{
    release(effect);
    delete &recordOf(effect);
}
} // namespace

extern "C" GLIMRA_EXPORT GlimraEffect* glimraPluginMain(void)
{
    try
    {
        rig(); // the first call reads the shows file
        auto* record = new Record();
        auto& e = record->effect;
        e.magic = GLIMRA_PLUGIN_MAGIC;
        e.abiVersion = GLIMRA_PLUGIN_ABI_VERSION;
        e.name = "GLIMRA";
        e.vendor = "Tarnwell";
        e.version = "1.3.0";
        e.uniqueId = 0x476c6d52; // "GlmR"
        e.numInputs = 2;
        e.numOutputs = 2;
        e.prepare = prepare;
        e.release = release;
        e.process = process;
        e.midiIn = midiIn;
        e.saveState = saveState;
        e.restoreState = restoreState;
        e.destroy = destroy;
        e.object = record;
        e.user = &controllerTable;
        return &e;
    }
    catch (...)
    {
        return nullptr;
    }
}
