/* A Glimra plug-in without a controller's function table: a plain effect that
   halves its audio and logs what the host asks of it; its state is the log.
   GLIMRA_TEST_RECORD makes its entry point misbehave: "null" returns nothing,
   "magic" and "version" return a record with a wrong magic number or interface
   version. */

#include "engine/GlimraPluginAbi.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#define EXPORTED __declspec(dllexport)
#else
#define EXPORTED __attribute__((visibility("default")))
#endif

typedef struct
{
    GlimraEffect effect;
    char log[4096];
    size_t used;
} Record;

static void logLine(GlimraEffect* effect, const char* line)
{
    Record* r = (Record*)effect->object;
    size_t length = strlen(line);
    if (r->used + length + 2 > sizeof(r->log))
        return;
    memcpy(r->log + r->used, line, length);
    r->used += length;
    r->log[r->used++] = '\n';
    r->log[r->used] = 0;
}

static void prepare(GlimraEffect* effect, double sampleRate, int32_t maxBlockSize)
{
    char line[64];
    snprintf(line, sizeof(line), "prepare %d %d", (int)sampleRate, (int)maxBlockSize);
    logLine(effect, line);
}

static void release(GlimraEffect* effect)
{
    logLine(effect, "release");
}

static void process(GlimraEffect* effect, const float* const* inputs, float* const* outputs,
                    int32_t numSamples)
{
    char line[64];
    for (int32_t ch = 0; ch < effect->numOutputs; ++ch)
        for (int32_t i = 0; i < numSamples; ++i)
            outputs[ch][i] = inputs[ch][i] * 0.5f;
    snprintf(line, sizeof(line), "process %d", (int)numSamples);
    logLine(effect, line);
}

static void midiIn(GlimraEffect* effect, const uint8_t* data, int32_t size, int32_t sampleOffset)
{
    char line[64];
    int used = snprintf(line, sizeof(line), "midi");
    for (int32_t i = 0; i < size && i < 3; ++i)
        used += snprintf(line + used, sizeof(line) - (size_t)used, " %02x", data[i]);
    snprintf(line + used, sizeof(line) - (size_t)used, " @%d", (int)sampleOffset);
    logLine(effect, line);
}

static int32_t saveState(GlimraEffect* effect, void* buffer, int32_t capacity)
{
    Record* r = (Record*)effect->object;
    if (buffer != NULL && capacity >= (int32_t)r->used)
        memcpy(buffer, r->log, r->used);
    return (int32_t)r->used;
}

static int32_t restoreState(GlimraEffect* effect, const void* data, int32_t size)
{
    char line[64];
    (void)data;
    snprintf(line, sizeof(line), "restore %d", (int)size);
    logLine(effect, line);
    return 1;
}

static void destroy(GlimraEffect* effect)
{
    free(effect->object);
}

EXPORTED GlimraEffect* glimraPluginMain(void)
{
    const char* mode = getenv("GLIMRA_TEST_RECORD");
    Record* r;
    if (mode != NULL && strcmp(mode, "null") == 0)
        return NULL;

    r = (Record*)calloc(1, sizeof(Record));
    if (r == NULL)
        return NULL;
    r->effect.magic = GLIMRA_PLUGIN_MAGIC;
    r->effect.abiVersion = GLIMRA_PLUGIN_ABI_VERSION;
    if (mode != NULL && strcmp(mode, "magic") == 0)
        r->effect.magic = 0x56737450; /* another interface's record */
    if (mode != NULL && strcmp(mode, "version") == 0)
        r->effect.abiVersion = GLIMRA_PLUGIN_ABI_VERSION + 1;
    r->effect.name = "Plain Effect";
    r->effect.vendor = "Velmora Tests";
    r->effect.version = "0.1";
    r->effect.uniqueId = 0x54657374;
    r->effect.numInputs = 2;
    r->effect.numOutputs = 2;
    r->effect.prepare = prepare;
    r->effect.release = release;
    r->effect.process = process;
    r->effect.midiIn = midiIn;
    r->effect.saveState = saveState;
    r->effect.restoreState = restoreState;
    r->effect.destroy = destroy;
    r->effect.object = r;
    r->effect.user = NULL;
    return &r->effect;
}
