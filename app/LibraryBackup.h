#pragma once

#include "platform/SupportFolder.h"

#include <juce_core/juce_core.h>

// Saving a copy of the library, and putting such a copy back in its place.
// Both talk to the user only through Dialogs, so they run without a window.
namespace LibraryBackup
{
// Asks where to save a backup of the open library and saves it there. True when
// a backup was saved; false when the user cancelled or it failed (after a box).
bool doBackup();

// Asks for a backup file, checks it, asks before replacing the library in
// databaseFile with it (an older backup is upgraded on a copy first), keeps the
// replaced library beside it as "<name>.before-restore" and opens the restored
// one for use. True when the library was replaced and every view must reload;
// false when nothing changed, or when a failure put the previous library back.
bool doRestore(const juce::File& databaseFile = getDatabaseFile());

// Where the replaced library is kept by a restore.
juce::File keptCopyOf(const juce::File& databaseFile);
} // namespace LibraryBackup
