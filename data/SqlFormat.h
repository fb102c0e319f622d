#pragma once

#include <juce_core/juce_core.h>

// printf-style SQL text. Numbers are always written the C way ("1.500000"),
// whatever locale the process runs in; %s takes UTF-8 char pointers.
juce::String sqlFormat(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// A text made safe for a single-quoted SQL literal without changing what it says.
juce::String sqlQuote(const juce::String& text);
