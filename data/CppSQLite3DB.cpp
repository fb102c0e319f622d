#include "data/CppSQLite3DB.h"

#include "data/CppSQLite3Exception.h"

#include <sqlite3.h>

CppSQLite3DB::~CppSQLite3DB()
{
    close();
}

void CppSQLite3DB::open(const char* fileName)
{
    openWithFlags(fileName, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

void CppSQLite3DB::openExisting(const char* fileName)
{
    openWithFlags(fileName, SQLITE_OPEN_READWRITE);
}

void CppSQLite3DB::openReadOnly(const char* fileName)
{
    openWithFlags(fileName, SQLITE_OPEN_READONLY);
}

void CppSQLite3DB::openWithFlags(const char* fileName, int flags)
{
    close();
    int rc = sqlite3_open_v2(fileName, &db, flags, nullptr);
    if (rc != SQLITE_OK)
    {
        juce::String text = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
        close();
        throw CppSQLite3Exception(rc, text.toRawUTF8());
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
}

void CppSQLite3DB::close()
{
    if (db != nullptr)
    {
        // Statements still alive are finalised by their owners; close_v2 waits for them.
        sqlite3_close_v2(db);
        db = nullptr;
    }
}

void CppSQLite3DB::checkOpen() const
{
    if (db == nullptr)
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Database not open");
}

int CppSQLite3DB::execDML(const char* sql)
{
    checkOpen();
    char* error = nullptr;
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    if (rc != SQLITE_OK)
    {
        juce::String text = error != nullptr ? error : sqlite3_errmsg(db);
        sqlite3_free(error);
        throw CppSQLite3Exception(rc, text.toRawUTF8());
    }
    return sqlite3_changes(db);
}

CppSQLite3Query CppSQLite3DB::execQuery(const char* sql)
{
    checkOpen();
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        throw CppSQLite3Exception(rc, sqlite3_errmsg(db));
    if (stmt == nullptr) // only whitespace or a comment
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Null Virtual Machine pointer");

    rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE)
        return CppSQLite3Query(db, stmt, true);
    if (rc == SQLITE_ROW)
        return CppSQLite3Query(db, stmt, false);

    juce::String text = sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
    throw CppSQLite3Exception(rc, text.toRawUTF8());
}

int CppSQLite3DB::execScalar(const char* sql)
{
    auto q = execQuery(sql);
    if (q.eof() || q.numFields() < 1)
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Invalid scalar query");
    return q.getIntField(0);
}

bool CppSQLite3DB::tableExists(const char* table)
{
    auto sql = juce::String("select count(*) from sqlite_master where type='table' and name='") +
               juce::String::fromUTF8(table).replace("'", "''") + "'";
    return execScalar(sql.toRawUTF8()) > 0;
}

bool CppSQLite3DB::isReadOnly() const
{
    return db != nullptr && sqlite3_db_readonly(db, "main") == 1;
}
