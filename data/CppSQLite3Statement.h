#pragma once

#include <juce_core/juce_core.h>

struct sqlite3;
struct sqlite3_stmt;

// A compiled statement kept for reuse, with bound parameters (numbered from 1).
// Texts are bound exactly as given: no quoting, no changes.
class CppSQLite3Statement
{
public:
    CppSQLite3Statement(sqlite3* db, const char* sql);
    ~CppSQLite3Statement();
    CppSQLite3Statement(const CppSQLite3Statement&) = delete;
    CppSQLite3Statement& operator=(const CppSQLite3Statement&) = delete;

    CppSQLite3Statement& bind(int param, int value);
    CppSQLite3Statement& bind(int param, juce::int64 value);
    CppSQLite3Statement& bind(int param, const juce::String& value);
    CppSQLite3Statement& bindNull(int param);

    // Steps once: true while a row is current.
    bool step();
    // Runs to the end and resets; the rows changed.
    int execDML();
    // Ready to run again; the bindings are cleared.
    void reset();

    bool isNull(int col) const;
    juce::int64 getInt64(int col) const;
    juce::String getText(int col) const;

private:
    sqlite3* db;
    sqlite3_stmt* stmt = nullptr;
};
