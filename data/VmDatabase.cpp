#include "data/VmDatabase.h"

#include "data/CppSQLite3Exception.h"
#include "data/DbSchema.h"
#include "data/SqlFormat.h"
#include "platform/Dialogs.h"
#include "platform/WaitCursor.h"

#include <sqlite3.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace
{
std::atomic<VmDatabase*> instance{nullptr};
std::mutex instanceLock;
bool constructing = false;

const char* const tracedTables[] = {"AudioFiles",  "GlimraCues", "LightShows", "MidiEvents",
                                    "SetElements", "Sets",       "ShowMemos"};
} // namespace

VmDatabase* VmDatabase::getInstance()
{
    if (auto* existing = instance.load())
        return existing;

    std::lock_guard<std::mutex> lock(instanceLock);
    if (auto* existing = instance.load())
        return existing;
    if (constructing)
        return nullptr;

    constructing = true;
    auto* created = new VmDatabase();
    constructing = false;
    instance.store(created);
    return created;
}

VmDatabase::~VmDatabase()
{
    statements.clear();
    db.close();
    instance.store(nullptr);
}

void VmDatabase::reportError(const CppSQLite3Exception& e)
{
    ++errorCount;
    Dialogs::showMessage(DialogIcon::none, CppSQLite3Exception::errorCodeAsString(e.errorCode()),
                         juce::String::fromUTF8(e.errorMessage()));
}

int VmDatabase::execDML(const juce::String& sql)
{
    try
    {
        return db.execDML(sql.toRawUTF8());
    }
    catch (const CppSQLite3Exception& e)
    {
        reportError(e);
        return 0;
    }
}

CppSQLite3Query VmDatabase::execQuery(const juce::String& sql)
{
    try
    {
        return db.execQuery(sql.toRawUTF8());
    }
    catch (const CppSQLite3Exception& e)
    {
        reportError(e);
        return {};
    }
}

bool VmDatabase::newMemoryDb()
{
    closeDb();
    try
    {
        db.open(":memory:");
    }
    catch (const CppSQLite3Exception& e)
    {
        reportError(e);
        return true;
    }
    execDML(dbSchemaScript);
    execQuery("PRAGMA foreign_keys = ON;");
    initUndo();
    watchUndoStack();
    isOpen = true;
    return true;
}

DbFileResult VmDatabase::openDbFile(const juce::File& file)
{
    closeDb();
    const auto path = file.getFullPathName();

    if (!file.exists())
    {
        if (!file.getParentDirectory().createDirectory())
            return DbFileResult::cannotOpen;
        try
        {
            db.open(path.toRawUTF8());
            // One transaction: a failure leaves no half-built library behind.
            db.execDML("BEGIN TRANSACTION");
            db.execDML(dbSchemaScript);
            db.execDML("COMMIT");
            return DbFileResult::created;
        }
        catch (const CppSQLite3Exception&)
        {
            db.close();
            file.deleteFile();
            return DbFileResult::cannotOpen;
        }
    }

    if (file.isDirectory())
        return DbFileResult::cannotOpen;

    try
    {
        db.openExisting(path.toRawUTF8());
    }
    catch (const CppSQLite3Exception&)
    {
        return DbFileResult::cannotOpen;
    }

    try
    {
        // Reading the header and every page finds a foreign or truncated file
        // before anything is written to it.
        auto check = db.execQuery("PRAGMA quick_check");
        if (check.eof() || check.getStringField(0) != "ok")
        {
            check.finalize();
            db.close();
            return DbFileResult::damaged;
        }
        check.finalize();
        // An empty file, or another program's database, is no library of ours.
        if (!db.tableExists("Things"))
        {
            db.close();
            return DbFileResult::notADatabase;
        }
    }
    catch (const CppSQLite3Exception& e)
    {
        db.close();
        if (e.errorCode() == SQLITE_NOTADB)
            return DbFileResult::notADatabase;
        if (e.errorCode() == SQLITE_CORRUPT)
            return DbFileResult::damaged;
        return DbFileResult::cannotOpen;
    }

    // The folder must take the journal that every write creates beside the file.
    if (db.isReadOnly() || !file.hasWriteAccess() || !file.getParentDirectory().hasWriteAccess())
    {
        db.close();
        return DbFileResult::readOnly;
    }
    return DbFileResult::opened;
}

void VmDatabase::makeReadyForUse()
{
    execQuery("PRAGMA foreign_keys = ON;");
    // Every commit reaches the disk before it returns.
    execQuery("PRAGMA synchronous = FULL;");
    initUndo();
    watchUndoStack();
    isOpen = true;
}

bool VmDatabase::closeDb()
{
    if (isOpen)
    {
        clearUndoStack();
        execQuery("VACUUM");
    }
    statements.clear();
    db.close();
    isOpen = false;
    transactionDepth = 0;
    transactionDesc.clear();
    lastUndoTop = 0;
    redoStale = false;
    return true;
}

namespace
{
void deleteWithJournal(const juce::File& file)
{
    file.deleteFile();
    file.getSiblingFile(file.getFileName() + "-journal").deleteFile();
}

CppSQLite3Exception errorOf(sqlite3* connection, int code)
{
    return CppSQLite3Exception(code, sqlite3_errmsg(connection));
}
} // namespace

bool VmDatabase::backupTo(const juce::File& destination)
{
    // Never an existing file's name: a failure must cost nothing but the copy.
    const auto partial = destination.getParentDirectory().getNonexistentChildFile(
        destination.getFileName() + ".part", "", false);
    try
    {
        if (!db.isOpen())
            throw CppSQLite3Exception(CPPSQLITE_ERROR, "Database not open");
        // Moving a copy over the open file would leave the connection writing to a
        // file that no longer has a name.
        const juce::String source =
            juce::String::fromUTF8(sqlite3_db_filename(db.handle(), "main"));
        if (source.isNotEmpty() &&
            juce::File(source).getLinkedTarget() == destination.getLinkedTarget())
            throw CppSQLite3Exception(CPPSQLITE_ERROR,
                                      "A backup cannot be saved over the library it is made from");
        // Only committed edits belong in a backup; the source connection cannot
        // be copied from while it writes anyway.
        if (!sqlite3_get_autocommit(db.handle()))
            throw CppSQLite3Exception(SQLITE_BUSY, "The library is in the middle of an edit");
        if (destination.isDirectory())
            throw CppSQLite3Exception(
                SQLITE_CANTOPEN,
                ("A folder has that name: " + destination.getFullPathName()).toRawUTF8());

        CppSQLite3DB copy;
        copy.open(partial.getFullPathName().toRawUTF8());
        auto* backup = sqlite3_backup_init(copy.handle(), "main", db.handle(), "main");
        if (backup == nullptr)
            throw errorOf(copy.handle(), sqlite3_errcode(copy.handle()));
        // All pages in one step, under one read lock: the copy is the library at
        // one moment, however other connections write to it.
        const int stepped = sqlite3_backup_step(backup, -1);
        const int finished = sqlite3_backup_finish(backup);
        if (stepped != SQLITE_DONE)
            throw errorOf(copy.handle(), finished != SQLITE_OK ? finished : stepped);
        if (finished != SQLITE_OK)
            throw errorOf(copy.handle(), finished);
        copy.close();

        // rename() replaces an existing destination in one step.
        if (std::rename(partial.getFullPathName().toRawUTF8(),
                        destination.getFullPathName().toRawUTF8()) != 0)
            throw CppSQLite3Exception(SQLITE_IOERR, ("Could not move the backup into place: " +
                                                     juce::String(std::strerror(errno)))
                                                        .toRawUTF8());
        return true;
    }
    catch (const CppSQLite3Exception& e)
    {
        deleteWithJournal(partial);
        reportError(e);
        return false;
    }
}

DbFileCheck VmDatabase::inspectDbFile(const juce::File& file)
{
    DbFileCheck check;
    if (!file.existsAsFile())
        return check;

    CppSQLite3DB conn;
    try
    {
        conn.openReadOnly(file.getFullPathName().toRawUTF8());
        {
            auto q = conn.execQuery("PRAGMA quick_check");
            if (q.eof() || juce::String(q.getStringField(0)) != "ok")
            {
                check.result = DbFileResult::damaged;
                return check;
            }
        }
        if (!conn.tableExists("Things"))
        {
            check.result = DbFileResult::notADatabase;
            return check;
        }

        // The rule of the start-up check: exactly one row, and it holds a number.
        juce::StringArray values;
        for (auto q = conn.execQuery("SELECT Value FROM Things WHERE Name='SchemaVersion'");
             !q.eof(); q.nextRow())
            values.add(q.getStringField(0));
        int version = 0;
        if (values.size() == 1 && std::sscanf(values[0].toRawUTF8(), "%d", &version) == 1)
            check.version = version;

        // A file of a version this release knows must hold that version's tables.
        if (check.version >= 1 && check.version <= currentSchemaVersion)
        {
            juce::StringArray tables = {"AudioFiles", "GlimraCues", "LightShows", "SetElements",
                                        "Sets",       "ShowMemos",  "Things"};
            if (check.version >= 2)
                tables.addArray(juce::StringArray{"MidiEvents", "MidiMessages"});
            for (auto& t : tables)
                if (!conn.tableExists(t.toRawUTF8()))
                {
                    check.result = DbFileResult::notADatabase;
                    return check;
                }
        }
        check.result = DbFileResult::opened;
    }
    catch (const CppSQLite3Exception& e)
    {
        const int code = e.errorCode() & 0xff;
        check.result = code == SQLITE_NOTADB    ? DbFileResult::notADatabase
                       : code == SQLITE_CORRUPT ? DbFileResult::damaged
                                                : DbFileResult::cannotOpen;
    }
    return check;
}

std::vector<AudioFileModel> VmDatabase::getAudioFiles()
{
    std::vector<AudioFileModel> result;
    if (!isOpen)
        return result;
    for (auto q = execQuery("SELECT AudioFileID FROM AudioFiles ORDER BY Name"); !q.eof();
         q.nextRow())
        result.emplace_back(q.getIntField(0));
    return result;
}

std::vector<SetModel> VmDatabase::getSets()
{
    std::vector<SetModel> result;
    if (!isOpen)
        return result;
    for (auto q = execQuery("SELECT SetID FROM Sets ORDER BY Name"); !q.eof(); q.nextRow())
        result.emplace_back(q.getIntField(0));
    return result;
}

std::vector<MidiEventModel> VmDatabase::getMidiEvents()
{
    std::vector<MidiEventModel> result;
    if (!isOpen)
        return result;
    for (auto q = execQuery("SELECT MidiEventID FROM MidiEvents ORDER BY Category,Name"); !q.eof();
         q.nextRow())
        result.emplace_back(q.getIntField(0));
    return result;
}

int VmDatabase::countAudioFiles()
{
    if (!isOpen)
        return 0;
    return execQuery("SELECT COUNT(AudioFileID) FROM AudioFiles").getIntField(0);
}

bool VmDatabase::upgradeDb(const juce::String& path, int version)
{
    if (version != 1 && version != 2)
        return true;

    juce::File file(path);
    file.copyFileTo(juce::File(path + ".backup")); // a failed copy does not stop the upgrade

    closeDb();
    try
    {
        db.openExisting(path.toRawUTF8());
    }
    catch (const CppSQLite3Exception& e)
    {
        reportError(e);
        return false;
    }

    // All steps or none: a half-upgraded file would be marked current and then
    // fail wherever the missing tables or columns are used.
    const int errorsBefore = errorCount;
    execDML("BEGIN TRANSACTION");
    if (version == 1)
    {
        execDML("CREATE TABLE MidiEvents ( MidiEventID  integer PRIMARY KEY AUTOINCREMENT NOT "
                "NULL, Name         varchar(50), Category     varchar(50)) ;");
        execDML("CREATE TABLE MidiMessages ( MidiMessageID  integer PRIMARY KEY NOT NULL, "
                "MidiEventID    integer, Time         float(50) NOT NULL DEFAULT 0, OutDevice      "
                "varchar(50), Channel        integer NOT NULL DEFAULT 0, Message        integer "
                "NOT NULL DEFAULT 192, Data1          integer NOT NULL DEFAULT 0, Data2          "
                "integer NOT NULL DEFAULT 0, FOREIGN KEY (MidiEventID) REFERENCES "
                "MidiEvents(MidiEventID) ON DELETE CASCADE ON UPDATE CASCADE );");
        execDML("ALTER TABLE ShowMemos ADD COLUMN StartMidiEventID integer REFERENCES "
                "MidiEvents(MidiEventID) ON DELETE SET NULL ON UPDATE CASCADE");
        execDML("ALTER TABLE ShowMemos ADD COLUMN EndMidiEventID integer REFERENCES "
                "MidiEvents(MidiEventID) ON DELETE SET NULL ON UPDATE CASCADE");
    }
    execDML("ALTER TABLE LightShows ADD COLUMN TrimStart float(50) DEFAULT 0");
    execDML("ALTER TABLE LightShows ADD COLUMN TrimEnd float(50) DEFAULT 0");
    execQuery(
        sqlFormat("UPDATE Things SET Value=%d WHERE Name='SchemaVersion'", currentSchemaVersion));

    if (errorCount != errorsBefore)
    {
        execDML("ROLLBACK");
        Dialogs::showMessage(DialogIcon::warning, "Upgrade failed",
                             "Your database could not be upgraded and has been left as it "
                             "was.\n\nA copy of it is in " +
                                 path + ".backup");
        return false;
    }
    execDML("COMMIT");

    Dialogs::showMessage(DialogIcon::info, "Upgrade successful!",
                         "Your database has been upgraded to work with this release of Velmora");
    return true;
}

void VmDatabase::initUndo()
{
    try
    {
        if (db.tableExists("UndoStack"))
            execDML("DROP TABLE UndoStack");
        if (db.tableExists("RedoStack"))
            execDML("DROP TABLE RedoStack");
    }
    catch (const CppSQLite3Exception& e)
    {
        reportError(e);
    }
    execDML("CREATE TABLE UndoStack (Desc varchar(50),Command varchar(1000));");
    execDML("CREATE TABLE RedoStack (Desc varchar(50),Command varchar(1000));");
    for (auto* table : tracedTables)
        addUndoTriggers(table);
}

void VmDatabase::addUndoTriggers(const juce::String& t)
{
    juce::StringArray columns;
    for (auto q = execQuery("PRAGMA table_info('" + t + "')"); !q.eof(); q.nextRow())
        columns.add(q.getStringField(1));

    execQuery("CREATE TEMP TRIGGER _" + t + "_it AFTER INSERT ON " + t + " BEGIN " +
              "INSERT INTO UndoStack VALUES(NULL, 'DELETE FROM " + t +
              " WHERE rowid='||new.rowid); " + "END;");

    juce::String update = "CREATE TEMP TRIGGER _" + t + "_ut AFTER UPDATE ON " + t + " BEGIN " +
                          "INSERT INTO UndoStack VALUES(NULL, 'UPDATE " + t + " " + "SET ";
    for (int i = 0; i < columns.size(); ++i)
    {
        update += columns[i] + "='||quote(old." + columns[i] + ")||'";
        if (i < columns.size() - 1)
            update += ",";
    }
    update += " WHERE rowid='||old.rowid); END;";
    execQuery(update);

    juce::String del = "CREATE TEMP TRIGGER _" + t + "_dt BEFORE DELETE ON " + t + " BEGIN " +
                       "INSERT INTO UndoStack VALUES(NULL, 'INSERT INTO " + t + "(rowid," +
                       columns.joinIntoString(",") + ") VALUES('||old.rowid||','";
    for (int i = 0; i < columns.size(); ++i)
    {
        del += "||quote(old." + columns[i] + ")||";
        if (i < columns.size() - 1)
            del += "','";
    }
    del += "')'); END;";
    execQuery(del);
}

void VmDatabase::clearUndoStack()
{
    if (!isOpen)
        return;
    execQuery("DELETE FROM UndoStack");
    execQuery("DELETE FROM RedoStack");
    redoStale = false;
    lastUndoTop = 0;
}

void VmDatabase::watchUndoStack()
{
    sqlite3_update_hook(db.handle(), &VmDatabase::rowChanged, this);
}

// Any row that reaches the undo stack outside undo and redo is a new edit, which
// makes the redo stack stale. Rowids of the stack are reused, so comparing them
// cannot tell this; watching every insert can.
void VmDatabase::rowChanged(void* self, int op, const char*, const char* table, juce::int64)
{
    auto* me = static_cast<VmDatabase*>(self);
    if (op == SQLITE_INSERT && std::strcmp(table, "UndoStack") == 0 && !me->replaying &&
        !me->writingMarker)
        me->redoStale = true;
}

CppSQLite3Statement& VmDatabase::cached(const char* sql)
{
    auto& slot = statements[sql];
    if (slot == nullptr)
        slot = std::make_unique<CppSQLite3Statement>(db.handle(), sql);
    return *slot;
}

template <typename Step> bool VmDatabase::guarded(Step&& step)
{
    try
    {
        step();
        return true;
    }
    catch (const CppSQLite3Exception& e)
    {
        reportError(e);
        return false;
    }
}

juce::int64 VmDatabase::topRowId(const char* stack)
{
    juce::int64 top = 0;
    guarded(
        [&]
        {
            auto& q =
                cached(std::strcmp(stack, "UndoStack") == 0 ? "SELECT MAX(rowid) FROM UndoStack"
                                                            : "SELECT MAX(rowid) FROM RedoStack");
            if (q.step() && !q.isNull(0))
                top = q.getInt64(0);
            q.reset();
        });
    return top;
}

bool VmDatabase::readTop(const char* stack, juce::int64& rowid, juce::String& description,
                         juce::String& command)
{
    return guarded(
        [&]
        {
            auto& top = cached(std::strcmp(stack, "UndoStack") == 0
                                   ? "SELECT rowid,Desc,Command FROM UndoStack WHERE rowid = "
                                     "(SELECT MAX(rowid) FROM UndoStack)"
                                   : "SELECT rowid,Desc,Command FROM RedoStack WHERE rowid = "
                                     "(SELECT MAX(rowid) FROM RedoStack)");
            if (top.step())
            {
                rowid = top.getInt64(0);
                description = top.getText(1);
                command = top.getText(2);
            }
            top.reset();
        });
}

void VmDatabase::startTransaction(const juce::String& description)
{
    if (++transactionDepth > 1)
        return;
    pause(true);
    execQuery("BEGIN TRANSACTION");
    transactionDesc = description;
    writingMarker = true;
    execQuery("INSERT INTO UndoStack(Desc,Command) VALUES('" + sqlQuote(description) + "', '')");
    writingMarker = false;
    markerRowId = topRowId("UndoStack");
}

int VmDatabase::endTransaction()
{
    if (transactionDepth == 0)
        return 0;
    if (--transactionDepth > 0)
        return transactionDepth;

    // A group that changed nothing leaves nothing behind, so that one undo always
    // takes back one real edit.
    if (topRowId("UndoStack") == markerRowId)
        execQuery("DELETE FROM UndoStack WHERE rowid = " + juce::String(markerRowId));
    else
        execQuery("UPDATE UndoStack SET Desc = '" + sqlQuote(transactionDesc) +
                  "' WHERE rowid = (SELECT MAX(rowid) FROM UndoStack)");
    execQuery("COMMIT");
    transactionDesc.clear();
    markerRowId = 0;
    pause(false);
    return 0;
}

bool VmDatabase::undoOneCommand(juce::String& description)
{
    juce::int64 rowid = 0;
    juce::String cmd;
    if (!readTop("UndoStack", rowid, description, cmd) || rowid == 0)
        return false;
    bool ok = true;

    // The statement's own triggers write its reverse (with a cascade, several) on
    // top of the stack; those move to the redo stack exactly as written.
    juce::StringArray reverses;
    if (cmd.isNotEmpty())
    {
        int errorsBefore = errorCount;
        execQuery(cmd);
        if (errorCount != errorsBefore)
            return false;
        ok = guarded(
            [&]
            {
                auto& above =
                    cached("SELECT Command FROM UndoStack WHERE rowid > ? ORDER BY rowid");
                above.bind(1, rowid);
                while (above.step())
                    reverses.add(above.getText(0));
                above.reset();
                cached("DELETE FROM UndoStack WHERE rowid > ?").bind(1, rowid).execDML();
            });
        if (!ok)
            return false;
        if (reverses.isEmpty())
        {
            // The row it should have changed is not there: the stack no longer
            // matches the library, and undoing further would make things worse.
            Dialogs::showMessage(DialogIcon::warning, "Undo failed",
                                 "\"" + description +
                                     "\" could not be undone because the records it changed "
                                     "are no longer there. Nothing has been changed.");
            return false;
        }
    }
    else
        reverses.add({});

    ok = guarded(
        [&]
        {
            auto& push = cached("INSERT INTO RedoStack(Desc,Command) VALUES(?,?)");
            for (int i = 0; i < reverses.size(); ++i)
                push.bind(1, i == 0 ? description : juce::String()).bind(2, reverses[i]).execDML();
            cached("DELETE FROM UndoStack WHERE rowid = ?").bind(1, rowid).execDML();
        });
    lastUndoTop = (int)topRowId("UndoStack");
    return ok;
}

bool VmDatabase::redoOneCommand(juce::String& description)
{
    juce::int64 rowid = 0;
    juce::String cmd;
    if (!readTop("RedoStack", rowid, description, cmd) || rowid == 0)
        return false;
    bool ok = true;

    if (description.isNotEmpty() && cmd.isEmpty())
        ok = guarded(
            [&] {
                cached("INSERT INTO UndoStack(Desc,Command) VALUES(?, '')")
                    .bind(1, description)
                    .execDML();
            });
    if (ok && cmd.isNotEmpty())
    {
        int errorsBefore = errorCount;
        execQuery(cmd);
        ok = errorCount == errorsBefore;
        if (ok && description.isNotEmpty())
            ok = guarded(
                [&]
                {
                    cached("UPDATE UndoStack SET Desc = ? WHERE rowid = (SELECT MAX(rowid) FROM "
                           "UndoStack)")
                        .bind(1, description)
                        .execDML();
                });
    }
    if (ok)
        ok = guarded([&]
                     { cached("DELETE FROM RedoStack WHERE rowid = ?").bind(1, rowid).execDML(); });
    lastUndoTop = (int)topRowId("UndoStack");
    return ok;
}

// Opens the transaction of an undo or redo; the stack top to go back to on failure.
int VmDatabase::beginReplay()
{
    replaying = true;
    execQuery("BEGIN TRANSACTION");
    // Rows removed by a cascade were recorded after their parent, so they come
    // back before it: foreign keys are checked once the whole group is back.
    execQuery("PRAGMA defer_foreign_keys = ON");
    return lastUndoTop;
}

// Commits a replay, or rolls all of it back so that data and stacks are exactly
// as before the command.
bool VmDatabase::finishReplay(bool ok, int savedLastUndoTop)
{
    if (ok)
    {
        int errorsBefore = errorCount;
        execQuery("COMMIT"); // deferred foreign-key checks happen here
        ok = errorCount == errorsBefore;
    }
    if (!ok)
    {
        execQuery("ROLLBACK");
        lastUndoTop = savedLastUndoTop;
    }
    else
        redoStale = false;
    replaying = false;
    lastUndoRedoFailed = !ok;
    return ok;
}

bool VmDatabase::undo()
{
    lastUndoRedoFailed = false;
    if (!isOpen || transactionDepth > 0 || !sqlite3_get_autocommit(db.handle()) ||
        topRowId("UndoStack") == 0)
        return false;

    ScopedWaitCursor waitCursor;
    const int savedLastUndoTop = beginReplay();
    if (redoStale)
        execQuery("DELETE FROM RedoStack");

    juce::String description;
    bool ok = undoOneCommand(description);
    if (ok && description.isNotEmpty())
    {
        const juce::String first = description;
        do
            ok = undoOneCommand(description);
        while (ok && lastUndoTop != 0 && description != first);
    }
    return finishReplay(ok, savedLastUndoTop);
}

bool VmDatabase::redo()
{
    lastUndoRedoFailed = false;
    if (!isOpen || transactionDepth > 0 || !sqlite3_get_autocommit(db.handle()))
        return false;
    if (redoStale)
    {
        execQuery("DELETE FROM RedoStack");
        redoStale = false;
    }
    if (topRowId("RedoStack") == 0)
        return false;

    ScopedWaitCursor waitCursor;
    const int savedLastUndoTop = beginReplay();

    juce::String description;
    bool ok = redoOneCommand(description);
    if (ok && description.isNotEmpty())
    {
        const juce::String first = description;
        do
            ok = redoOneCommand(description);
        while (ok && topRowId("RedoStack") != 0 && description != first);
    }
    return finishReplay(ok, savedLastUndoTop);
}

void cleanStringForDb(juce::String& text)
{
    text = text.replace("'", "''").replace("\\", "/");
}

void cleanupPathString(juce::String& text)
{
    text = text.replace("\\", "/");
}
