#pragma once

#include "data/AudioFileModel.h"
#include "data/CppSQLite3DB.h"
#include "data/CppSQLite3Statement.h"
#include "data/DbObservable.h"
#include "data/MidiEventModel.h"
#include "data/SetModel.h"

#include <juce_core/juce_core.h>

#include <map>
#include <memory>
#include <string>
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

// What a look into a database file found. Only opened, notADatabase, damaged
// and cannotOpen occur.
struct DbFileCheck
{
    DbFileResult result = DbFileResult::cannotOpen;
    int version = -1; // the schema version when opened; -1 when it cannot be read
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

    // Copies the open database into a new file at destination, as it stands after
    // its last committed edit. The copy is written beside the destination and
    // moved into place only when complete. False, after the error box, on failure;
    // an existing file at destination is then left as it was.
    bool backupTo(const juce::File& destination);
    // Looks into a database file on a read-only connection of its own: its
    // schema version and whether it holds the tables of that version. Neither the
    // open database nor the file is changed, and no error box is shown.
    static DbFileCheck inspectDbFile(const juce::File& file);

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

    // Undo machinery. Temporary triggers record, for every row change of the
    // traced tables, the statement that reverses it; edits are grouped under a
    // description, and undo and redo move whole groups between the two stacks.
    void initUndo();
    void addUndoTriggers(const juce::String& table);
    void clearUndoStack();

    // Groups nest; only the outermost opens and closes the group. Observer
    // notifications are held back while a group is open.
    void startTransaction(const juce::String& description);
    int endTransaction(); // the depth left open

    // Undo or redo the top group (or lone statement), all or nothing. False when
    // there was nothing to do, or when a step failed: then data and stacks are as
    // they were and the error has been shown (undoRedoFailed tells which).
    bool undo();
    bool redo();
    bool undoRedoFailed() const { return lastUndoRedoFailed; }

    // One row of a stack; false when the step failed.
    bool undoOneCommand(juce::String& description);
    bool redoOneCommand(juce::String& description);

private:
    VmDatabase() = default;
    void reportError(const class CppSQLite3Exception& e);
    void watchUndoStack();
    CppSQLite3Statement& cached(const char* sql);
    // Runs a step that uses cached statements; false, after the error box, on failure.
    template <typename Step> bool guarded(Step&& step);
    juce::int64 topRowId(const char* stack);
    // The top row of a stack (rowid 0 when it is empty); false after an SQL error.
    bool readTop(const char* stack, juce::int64& rowid, juce::String& description,
                 juce::String& command);
    int beginReplay();
    bool finishReplay(bool ok, int savedLastUndoTop);
    static void rowChanged(void* self, int op, const char* database, const char* table,
                           juce::int64 rowid);

    std::map<std::string, std::unique_ptr<CppSQLite3Statement>> statements;
    juce::int64 markerRowId = 0;
    bool replaying = false;     // undo or redo is writing the stacks
    bool writingMarker = false; // startTransaction is writing its marker
    bool redoStale = false;     // an edit was recorded since the last undo or redo
    bool lastUndoRedoFailed = false;

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
