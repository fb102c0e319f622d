/*
 * The lighting controller plug-in interface: plain C, so that a controller can
 * be built with any compiler and loaded into the program at run time.
 *
 * A plug-in is a shared library that exports one function, named by
 * GLIMRA_PLUGIN_ENTRY, of type GlimraPluginEntry. It returns the plug-in's effect
 * record, or null when the plug-in cannot run. The record lives until the host
 * calls its destroy function.
 *
 * Besides audio and MIDI, a lighting controller puts the address of its function
 * table (GlimraApi) in the record's user field. The controller is one piece of
 * hardware, so the table's functions take no instance argument. All of them may
 * be called from the host's message thread, from a worker thread (loadShow) and,
 * for selectPreset and setTempo, while the audio thread runs process: the plug-in
 * does its own locking. Returned texts belong to the plug-in and stay valid until
 * the next call of the same function on the same thread; the host copies them.
 */
#ifndef VELMORA_GLIMRA_PLUGIN_ABI_H
#define VELMORA_GLIMRA_PLUGIN_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C"
{
#endif

#define GLIMRA_PLUGIN_MAGIC 0x474c4d52 /* "GLMR" */
#define GLIMRA_PLUGIN_ABI_VERSION 1
#define GLIMRA_PLUGIN_ENTRY "glimraPluginMain"

    typedef struct GlimraEffect GlimraEffect;

    /* Host callbacks handed to the controller: no arguments, no result; they may be
       called from any thread. */
    typedef void (*GlimraHostCallback)(void);

    /* The host's table: position 0 footswitch "next", position 1 footswitch "previous". */
    typedef struct GlimraHostApi
    {
        GlimraHostCallback footswitchNext;
        GlimraHostCallback footswitchPrev;
    } GlimraHostApi;

    /* The controller's function table, by position. */
    typedef struct GlimraApi
    {
        void (*setHostCallbacks)(const GlimraHostApi* host); /* 0: the table stays valid */
        void (*setTempo)(float bpm);                         /* 1 */
        void* reserved2;                                     /* 2: never called */
        int32_t (*getNumShows)(void);                        /* 3 */
        const char* (*getCurrentShow)(void);                 /* 4: "Default Show" is the default */
        const char* (*getShowName)(int32_t index);           /* 5 */
        void (*loadShow)(const char* name);                  /* 6: returns once loaded */
        int32_t (*getNumBanks)(void);                        /* 7: banks of the current show */
        const char* (*getBankName)(int32_t index);           /* 8 */
        int32_t (*getNumPresets)(const char* bank);          /* 9 */
        const char* (*getPresetName)(const char* bank, int32_t index);                 /* 10 */
        void (*selectPreset)(const char* bank, const char* preset, float fadeSeconds); /* 11 */

        /* Beyond position 11: the live state, for the host's window onto the rig.
           The program's own code never calls these. */
        const char* (*getActivePreset)(const char* bank); /* 12: "" when none */
        float (*getBankLevel)(const char* bank);          /* 13: 0..1, follows the fades */
        float (*getTempo)(void);                          /* 14 */
        void (*pressFootswitch)(int32_t which);           /* 15: 0 next, 1 previous */
    } GlimraApi;

    struct GlimraEffect
    {
        int32_t magic;      /* GLIMRA_PLUGIN_MAGIC */
        int32_t abiVersion; /* GLIMRA_PLUGIN_ABI_VERSION */
        const char* name;
        const char* vendor;
        const char* version;
        int32_t uniqueId;
        int32_t numInputs; /* audio channels */
        int32_t numOutputs;

        /* prepare may come again, with new settings, without release in between. */
        void (*prepare)(GlimraEffect* effect, double sampleRate, int32_t maxBlockSize);
        void (*release)(GlimraEffect* effect);
        /* Audio thread; inputs and outputs may be the same buffers. */
        void (*process)(GlimraEffect* effect, const float* const* inputs, float* const* outputs,
                        int32_t numSamples);
        /* Audio thread, before process, for each MIDI message of the block. */
        void (*midiIn)(GlimraEffect* effect, const uint8_t* data, int32_t size,
                       int32_t sampleOffset);
        /* Writes the state into buffer when it fits; returns the size it needs.
           Called with a null buffer to ask for the size. When the state does not
           fit, nothing is written: it may have grown since the size was asked
           (another thread selected a preset), and the host asks again. */
        int32_t (*saveState)(GlimraEffect* effect, void* buffer, int32_t capacity);
        /* Returns 1 when the state was taken. */
        int32_t (*restoreState)(GlimraEffect* effect, const void* data, int32_t size);
        void (*destroy)(GlimraEffect* effect);

        void* object; /* the plug-in's own */
        void* user;   /* a lighting controller's GlimraApi, or null */
    };

    typedef GlimraEffect* (*GlimraPluginEntry)(void);

#ifdef __cplusplus
}
#endif

#endif
