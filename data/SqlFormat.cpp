#include "data/SqlFormat.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <vector>

#if JUCE_LINUX || JUCE_BSD
#include <locale.h>
#elif JUCE_MAC
#include <xlocale.h>
#endif

namespace
{
// Switches the calling thread to the C locale for one formatting call.
struct CLocaleScope
{
#if JUCE_LINUX || JUCE_BSD || JUCE_MAC
    CLocaleScope()
    {
        static locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
        if (cLocale != locale_t(0))
            previous = uselocale(cLocale);
    }
    ~CLocaleScope()
    {
        if (previous != locale_t(0))
            uselocale(previous);
    }
    locale_t previous = locale_t(0);
#endif
};
} // namespace

juce::String sqlFormat(const char* format, ...)
{
    CLocaleScope cLocale;

    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);

    std::vector<char> buffer(size_t(juce::jmax(0, size)) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    return juce::String::fromUTF8(buffer.data(), juce::jmax(0, size));
}

juce::String sqlQuote(const juce::String& text)
{
    return text.replace("'", "''");
}
