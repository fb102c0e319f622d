#include "data/CppSQLite3Statement.h"

#include "data/CppSQLite3Exception.h"

#include <sqlite3.h>

CppSQLite3Statement::CppSQLite3Statement(sqlite3* database, const char* sql) : db(database)
{
    if (db == nullptr)
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Database not open");
    int rc = sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK)
        throw CppSQLite3Exception(rc, sqlite3_errmsg(db));
    if (stmt == nullptr)
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Null Virtual Machine pointer");
}

CppSQLite3Statement::~CppSQLite3Statement()
{
    sqlite3_finalize(stmt);
}

CppSQLite3Statement& CppSQLite3Statement::bind(int param, int value)
{
    sqlite3_bind_int(stmt, param, value);
    return *this;
}

CppSQLite3Statement& CppSQLite3Statement::bind(int param, juce::int64 value)
{
    sqlite3_bind_int64(stmt, param, value);
    return *this;
}

CppSQLite3Statement& CppSQLite3Statement::bind(int param, const juce::String& value)
{
    auto utf8 = value.toUTF8();
    sqlite3_bind_text(stmt, param, utf8.getAddress(), (int)utf8.sizeInBytes() - 1,
                      SQLITE_TRANSIENT);
    return *this;
}

CppSQLite3Statement& CppSQLite3Statement::bindNull(int param)
{
    sqlite3_bind_null(stmt, param);
    return *this;
}

bool CppSQLite3Statement::step()
{
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    juce::String text = sqlite3_errmsg(db);
    sqlite3_reset(stmt);
    throw CppSQLite3Exception(rc, text.toRawUTF8());
}

int CppSQLite3Statement::execDML()
{
    while (step())
    {
    }
    int changed = sqlite3_changes(db);
    reset();
    return changed;
}

void CppSQLite3Statement::reset()
{
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
}

bool CppSQLite3Statement::isNull(int col) const
{
    return sqlite3_column_type(stmt, col) == SQLITE_NULL;
}

juce::int64 CppSQLite3Statement::getInt64(int col) const
{
    return sqlite3_column_int64(stmt, col);
}

juce::String CppSQLite3Statement::getText(int col) const
{
    auto text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
    return juce::String::fromUTF8(text, sqlite3_column_bytes(stmt, col));
}
