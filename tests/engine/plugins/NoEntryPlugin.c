/* A shared library without the Glimra entry point. */

#if defined(_WIN32)
#define EXPORTED __declspec(dllexport)
#else
#define EXPORTED __attribute__((visibility("default")))
#endif

EXPORTED int somethingElseEntirely(void)
{
    return 42;
}
