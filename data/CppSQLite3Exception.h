#pragma once

#include <string>

// An error from SQLite, or from the wrapper itself (code 1000).
class CppSQLite3Exception
{
public:
    CppSQLite3Exception(int errorCode, const char* errorText);

    int errorCode() const { return code; }
    const char* errorMessage() const { return message.c_str(); }

    static const char* errorCodeAsString(int errorCode);

private:
    int code;
    std::string message;
};

// Code of the wrapper's own errors.
constexpr int CPPSQLITE_ERROR = 1000;
