#include "data/CppSQLite3Query.h"

#include "data/CppSQLite3Exception.h"

#include <sqlite3.h>

CppSQLite3Query::CppSQLite3Query(sqlite3* database, sqlite3_stmt* statement, bool atEnd)
    : db(database), stmt(statement), atEof(atEnd)
{
}

CppSQLite3Query::CppSQLite3Query(CppSQLite3Query&& other) noexcept
    : db(other.db), stmt(other.stmt), atEof(other.atEof)
{
    other.stmt = nullptr;
    other.atEof = true;
}

CppSQLite3Query& CppSQLite3Query::operator=(CppSQLite3Query&& other) noexcept
{
    if (this != &other)
    {
        finalize();
        db = other.db;
        stmt = other.stmt;
        atEof = other.atEof;
        other.stmt = nullptr;
        other.atEof = true;
    }
    return *this;
}

CppSQLite3Query::~CppSQLite3Query()
{
    finalize();
}

void CppSQLite3Query::finalize()
{
    if (stmt != nullptr)
    {
        sqlite3_finalize(stmt);
        stmt = nullptr;
    }
    atEof = true;
}

void CppSQLite3Query::nextRow()
{
    if (stmt == nullptr || atEof)
        return;

    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        return;
    atEof = true;
    if (rc != SQLITE_DONE)
    {
        juce::String text = sqlite3_errmsg(db);
        finalize();
        throw CppSQLite3Exception(rc, text.toRawUTF8());
    }
}

int CppSQLite3Query::numFields() const
{
    return stmt != nullptr ? sqlite3_column_count(stmt) : 0;
}

juce::String CppSQLite3Query::fieldName(int col) const
{
    if (stmt == nullptr)
        return {};
    if (col < 0 || col >= sqlite3_column_count(stmt))
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Invalid field index requested");
    return juce::String::fromUTF8(sqlite3_column_name(stmt, col));
}

int CppSQLite3Query::fieldIndex(const char* name) const
{
    if (stmt == nullptr)
        return -1;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i)
        if (juce::String(sqlite3_column_name(stmt, i)) == juce::String(name))
            return i;
    throw CppSQLite3Exception(CPPSQLITE_ERROR, "Invalid field name requested");
}

bool CppSQLite3Query::readable(int col) const
{
    if (stmt == nullptr)
        return false;
    if (col < 0 || col >= sqlite3_column_count(stmt))
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Invalid field index requested");
    return !atEof;
}

int CppSQLite3Query::fieldDataType(int col) const
{
    return readable(col) ? sqlite3_column_type(stmt, col) : SQLITE_NULL;
}

bool CppSQLite3Query::fieldIsNull(int col) const
{
    return fieldDataType(col) == SQLITE_NULL;
}

int CppSQLite3Query::getIntField(int col, int nullValue) const
{
    if (fieldIsNull(col))
        return nullValue;
    return sqlite3_column_int(stmt, col);
}

double CppSQLite3Query::getFloatField(int col, double nullValue) const
{
    if (fieldIsNull(col))
        return nullValue;
    return sqlite3_column_double(stmt, col);
}

juce::String CppSQLite3Query::getStringField(int col, const juce::String& nullValue) const
{
    if (fieldIsNull(col))
        return nullValue;
    auto text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
    return juce::String::fromUTF8(text, sqlite3_column_bytes(stmt, col));
}

int CppSQLite3Query::getIntField(const char* name, int nullValue) const
{
    return stmt == nullptr ? nullValue : getIntField(fieldIndex(name), nullValue);
}

double CppSQLite3Query::getFloatField(const char* name, double nullValue) const
{
    return stmt == nullptr ? nullValue : getFloatField(fieldIndex(name), nullValue);
}

juce::String CppSQLite3Query::getStringField(const char* name, const juce::String& nullValue) const
{
    return stmt == nullptr ? nullValue : getStringField(fieldIndex(name), nullValue);
}
