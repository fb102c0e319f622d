#pragma once

#include "data/AudioFileModel.h"
#include "data/CppSQLite3DB.h"
#include "data/DbObservable.h"
#include "data/MidiEventModel.h"
#include "data/SetModel.h"

#include <juce_core/juce_core.h>

#include <vector>

// What opening a database file found.
enum class DbFileResult
{
    opened,       // an existing SQLite database, ready for its version check
    created,      // a new file built from the schema script
    notADatabase, // not an SQLite file
    damaged,      // SQLite, but it fails its integrity check (a truncated copy, say)
    readOnly,     // the file cannot be written
    cannotOpen    // missing folder, no permission, disk full...
};

// The data store: the one SQLite connection, SQL errors shown to the user, the
// observer list, and the undo machinery that lives inside the database.
class VmDatabase : public DbObservable
{
public:
    static VmDatabase* getInstance();
    ~VmDatabase() override;

    // A new database in memory, built from the schema script and ready for use.
    bool newMemoryDb();
    // Opens a database file for its version check; a missing file is created
    // from the schema script. Nothing in an existing file is changed.
    DbFileResult openDbFile(const juce::File& file);
    // Makes the database opened by openDbFile ready for use: foreign keys, undo.
    void makeReadyForUse();
    // Empties the undo and redo stacks, compacts and closes.
    bool closeDb();
    bool isClosed() const { return !isOpen; }
    // True while a connection is open, also one that is not yet ready for use.
    bool hasConnection() const { return db.isOpen(); }

    // SQL text; an error shows its message box and yields 0 or an empty cursor.
    int execDML(const juce::String& sql);
    CppSQLite3Query execQuery(const juce::String& sql);
    // How many SQL errors have been shown so far.
    int getErrorCount() const { return errorCount; }

    std::vector<AudioFileModel> getAudioFiles();
    std::vector<SetModel> getSets();
    std::vector<MidiEventModel> getMidiEvents();
    int countAudioFiles();

    // Brings the database file at path from an older version to the current one.
    // Returns false, with the file as it was, when a step fails.
    bool upgradeDb(const juce::String& path, int version);

    // Undo machinery.
    void initUndo();
    void addUndoTriggers(const juce::String& table);
    void clearUndoStack();

private:
    VmDatabase() = default;
    void reportError(const class CppSQLite3Exception& e);

    juce::String transactionDesc;
    int lastUndoTop = 0;
    CppSQLite3DB db;
    bool isOpen = false;
    int transactionDepth = 0;
    int errorCount = 0;
};

// Makes a text safe inside a single-quoted SQL literal: "'" doubles, and
// backslashes become "/".
void cleanStringForDb(juce::String& text);
// Every backslash becomes "/".
void cleanupPathString(juce::String& text);
