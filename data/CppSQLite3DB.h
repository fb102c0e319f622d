#pragma once

#include "data/CppSQLite3Query.h"

struct sqlite3;

// One SQLite connection. Every failure throws CppSQLite3Exception.
class CppSQLite3DB
{
public:
    CppSQLite3DB() = default;
    ~CppSQLite3DB();
    CppSQLite3DB(const CppSQLite3DB&) = delete;
    CppSQLite3DB& operator=(const CppSQLite3DB&) = delete;

    // Opens (and creates when missing) a database file, or ":memory:".
    void open(const char* fileName);
    // Opens a file that must exist already; nothing is created.
    void openExisting(const char* fileName);
    // Opens a file that must exist, for reading only.
    void openReadOnly(const char* fileName);
    void close();
    bool isOpen() const { return db != nullptr; }

    // Runs every statement of the text; the rows changed by the last one.
    int execDML(const char* sql);
    // Compiles the first statement and steps it once.
    CppSQLite3Query execQuery(const char* sql);
    // The first column of the first row, as an int.
    int execScalar(const char* sql);
    bool tableExists(const char* table);

    // True when the file could only be opened for reading.
    bool isReadOnly() const;
    sqlite3* handle() const { return db; }

    static constexpr int busyTimeoutMs = 60000;

private:
    void openWithFlags(const char* fileName, int flags);
    void checkOpen() const;

    sqlite3* db = nullptr;
};
