#include "platform/WaitCursor.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
// Only the message thread of a program with a desktop has a cursor to change.
bool hasCursor()
{
    return juce::MessageManager::existsAndIsCurrentThread();
}
} // namespace

ScopedWaitCursor::ScopedWaitCursor()
{
    if (hasCursor())
        juce::MouseCursor::showWaitCursor();
}

ScopedWaitCursor::~ScopedWaitCursor()
{
    if (hasCursor())
        juce::MouseCursor::hideWaitCursor();
}
