#pragma once

// The statements that build a new, empty library at the current schema version.
extern const char* const dbSchemaScript;

// The schema version this release reads and writes.
constexpr int currentSchemaVersion = 3;
