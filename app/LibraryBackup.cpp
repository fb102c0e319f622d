#include "app/LibraryBackup.h"

#include "app/MainHostWindow.h"
#include "data/DbSchema.h"
#include "data/VmDatabase.h"
#include "platform/Dialogs.h"

#include <cstdio>

namespace LibraryBackup
{
namespace
{
juce::File documentsFolder()
{
    return juce::File::getSpecialLocation(juce::File::userDocumentsDirectory);
}

// Where a backup is checked, upgraded and made ready before it replaces the
// library: beside it, so that the last step is one rename on the same disk.
juce::File workingCopyOf(const juce::File& databaseFile)
{
    return databaseFile.getSiblingFile(databaseFile.getFileName() + ".restoring");
}

void discard(const juce::File& working)
{
    working.deleteFile();
    working.getSiblingFile(working.getFileName() + "-journal").deleteFile();
    working.getSiblingFile(working.getFileName() + ".backup").deleteFile(); // left by an upgrade
}

// rename() swaps the file in one step: the library file is always either the old
// one or the new one, never half of either.
bool renameOver(const juce::File& from, const juce::File& to)
{
    return std::rename(from.getFullPathName().toRawUTF8(), to.getFullPathName().toRawUTF8()) == 0;
}

void refuse(const juce::File& chosen, const juce::String& why)
{
    Dialogs::showMessage(DialogIcon::warning, "Cannot restore this file",
                         chosen.getFullPathName() + "\n\n" + why +
                             "\n\nYour library has not been changed.");
}

// Why a file cannot be restored; empty when it can.
juce::String reasonToRefuse(const DbFileCheck& check)
{
    switch (check.result)
    {
    case DbFileResult::opened:
        break;
    case DbFileResult::damaged:
        return "This file is damaged or incomplete (perhaps a copy that did not finish), so it "
               "cannot be restored.";
    case DbFileResult::cannotOpen:
        return "Velmora could not read this file.";
    default:
        return "This file is not a Velmora database, so it cannot be restored.";
    }
    if (check.version > currentSchemaVersion)
        return "This backup was made by a newer release of Velmora. Please upgrade Velmora to "
               "the latest version to restore it.";
    if (check.version < 1)
        return "This file is not a Velmora database, so it cannot be restored.";
    return {};
}

// After the library was closed and something went wrong: opens the library file
// again if the backup never reached it, otherwise puts the kept copy back first.
bool reopenPrevious(const juce::File& databaseFile, const juce::File& kept, bool replaced)
{
    if (!replaced && MainHostWindow::doDbOpen(databaseFile))
        return true;

    const auto working = workingCopyOf(databaseFile);
    discard(working);
    const bool ok = kept.copyFileTo(working) && renameOver(working, databaseFile) &&
                    MainHostWindow::doDbOpen(databaseFile);
    discard(working);
    return ok;
}
} // namespace

juce::File keptCopyOf(const juce::File& databaseFile)
{
    return databaseFile.getSiblingFile(databaseFile.getFileName() + ".before-restore");
}

bool doBackup()
{
    const auto proposed = documentsFolder().getChildFile(
        "Velmora backup " + juce::Time::getCurrentTime().formatted("%Y-%m-%d") + ".db");
    juce::File destination;
    if (!Dialogs::chooseFileToSave("Backup database", proposed, "*.db", destination))
        return false;

    if (VmDatabase::getInstance()->backupTo(destination))
    {
        Dialogs::showMessage(DialogIcon::info, "Backup saved",
                             "Your library has been saved to\n\n" + destination.getFullPathName() +
                                 "\n\nTo bring it back, use File > Restore from backup...");
        return true;
    }
    Dialogs::showMessage(DialogIcon::warning, "Backup failed",
                         "Velmora could not save a backup of your library to\n\n" +
                             destination.getFullPathName() +
                             "\n\nYour library itself has not been changed. Please choose another "
                             "place, such as your Documents folder.");
    return false;
}

bool doRestore(const juce::File& databaseFile)
{
    juce::File chosen;
    if (!Dialogs::chooseFileToOpen("Restore from backup", documentsFolder(), "*.db;*.backup",
                                   chosen))
        return false;

    if (!chosen.existsAsFile())
    {
        refuse(chosen, "Velmora could not read this file.");
        return false;
    }
    if (chosen == databaseFile)
    {
        refuse(chosen, "This is the library Velmora is using now, not a backup of it.");
        return false;
    }

    // The chosen file is only ever read: the checks, and an upgrade, run on a copy.
    const auto working = workingCopyOf(databaseFile);
    if (chosen == working)
    {
        refuse(chosen, "This is a file Velmora uses while restoring, not a backup.");
        return false;
    }
    discard(working);
    if (!chosen.copyFileTo(working))
    {
        discard(working);
        Dialogs::showMessage(DialogIcon::warning, "Restore failed",
                             "Velmora could not copy\n\n" + chosen.getFullPathName() +
                                 "\n\nnext to your library. Perhaps the disk is full.\n\nYour "
                                 "library has not been changed.");
        return false;
    }

    const auto check = VmDatabase::inspectDbFile(working);
    const auto reason = reasonToRefuse(check);
    if (reason.isNotEmpty())
    {
        discard(working);
        refuse(chosen, reason);
        return false;
    }

    const bool needsUpgrade = check.version < currentSchemaVersion;
    if (needsUpgrade &&
        !Dialogs::askOkCancel(DialogIcon::question, "Upgrade backup",
                              "This backup was made by an older release of Velmora. To restore "
                              "it, Velmora will upgrade a copy of it to work with this release; "
                              "the backup file itself stays as it is.\n\nOnce restored, your "
                              "library will not load into older releases of Velmora.",
                              "Upgrade and Continue", "Cancel"))
    {
        discard(working);
        return false;
    }

    const auto kept = keptCopyOf(databaseFile);
    if (!Dialogs::askOkCancel(DialogIcon::warning, "Replace your library?",
                              "Your current library\n\n" + databaseFile.getFullPathName() +
                                  "\n\nwill be replaced by the backup\n\n" +
                                  chosen.getFullPathName() +
                                  "\n\nChanges made since that backup will be gone from the "
                                  "library. A copy of your current library will be kept as\n\n" +
                                  kept.getFullPathName(),
                              "Replace Library", "Cancel"))
    {
        discard(working);
        return false;
    }

    auto* db = VmDatabase::getInstance();
    if (!db->backupTo(kept))
    {
        discard(working);
        Dialogs::showMessage(DialogIcon::warning, "Restore failed",
                             "Velmora could not keep a copy of your current library, so it has "
                             "not been replaced.\n\nYour library has not been changed.");
        return false;
    }

    // From here on the library is closed: every way out must open one again.
    db->closeDb();
    bool ready = true;
    if (needsUpgrade)
    {
        ready = db->upgradeDb(working.getFullPathName(), check.version);
        db->closeDb();
    }
    const bool replaced = ready && renameOver(working, databaseFile);
    if (replaced && MainHostWindow::doDbOpen(databaseFile))
    {
        discard(working);
        Dialogs::showMessage(DialogIcon::info, "Library restored",
                             "Your library has been restored from\n\n" + chosen.getFullPathName() +
                                 "\n\nThe library it replaced is kept as\n\n" +
                                 kept.getFullPathName());
        return true;
    }

    discard(working);
    if (reopenPrevious(databaseFile, kept, replaced))
        Dialogs::showMessage(DialogIcon::warning, "Restore failed",
                             "The backup\n\n" + chosen.getFullPathName() +
                                 "\n\ncould not be put in place, so your previous library has "
                                 "been opened again. Nothing has been lost.");
    else
        Dialogs::showMessage(DialogIcon::warning, "Restore failed",
                             "Neither the backup nor your previous library could be opened. A "
                             "copy of your previous library is kept as\n\n" +
                                 kept.getFullPathName() + "\n\nPlease quit Velmora and contact " +
                                 juce::String(supportContactAddress) + " for assistance.");
    return false;
}
} // namespace LibraryBackup
