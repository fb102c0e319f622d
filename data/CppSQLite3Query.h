#pragma once

#include <juce_core/juce_core.h>

struct sqlite3;
struct sqlite3_stmt;

// A cursor over one compiled statement, positioned on its current row. It owns
// the statement and finalises it when destroyed; it moves but never copies.
// A cursor without a statement (the result of a failed query) is at its end and
// answers every field with the value given for NULL, so that a caller who reads
// the first row of a failed query gets nothing instead of an exception.
class CppSQLite3Query
{
public:
    CppSQLite3Query() = default;
    CppSQLite3Query(sqlite3* db, sqlite3_stmt* statement, bool atEnd);
    CppSQLite3Query(CppSQLite3Query&& other) noexcept;
    CppSQLite3Query& operator=(CppSQLite3Query&& other) noexcept;
    CppSQLite3Query(const CppSQLite3Query&) = delete;
    CppSQLite3Query& operator=(const CppSQLite3Query&) = delete;
    ~CppSQLite3Query();

    bool isEmpty() const { return stmt == nullptr; }
    bool eof() const { return stmt == nullptr || atEof; }
    void nextRow();
    void finalize();

    int numFields() const;
    juce::String fieldName(int col) const;
    int fieldIndex(const char* name) const;
    int fieldDataType(
        int col) const; // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB, SQLITE_NULL
    bool fieldIsNull(int col) const;

    int getIntField(int col, int nullValue = 0) const;
    double getFloatField(int col, double nullValue = 0.0) const;
    juce::String getStringField(int col, const juce::String& nullValue = {}) const;

    int getIntField(const char* name, int nullValue = 0) const;
    double getFloatField(const char* name, double nullValue = 0.0) const;
    juce::String getStringField(const char* name, const juce::String& nullValue = {}) const;

private:
    // True when the column can be read: a row is current; throws for a bad index.
    bool readable(int col) const;

    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    bool atEof = true;
};
