#pragma once

#include "data/DbObservable.h"
#include "platform/Dialogs.h"

#include <juce_core/juce_core.h>

#include <ostream>

// Readable failure messages for JUCE's strings.
namespace juce
{
inline void PrintTo(const String& s, std::ostream* os)
{
    *os << '"' << s << '"';
}
inline void PrintTo(const StringArray& a, std::ostream* os)
{
    *os << "{" << a.joinIntoString("\", \"").quoted() << "}";
}
} // namespace juce

// Answers dialogs for one test and keeps what was asked; restores the
// fail-on-any-dialog responder afterwards.
class ScopedDialogs
{
public:
    ScopedDialogs();
    ~ScopedDialogs();

    RecordingResponder recorder;

    const std::vector<DialogRequest>& requests() const { return recorder.requests; }
    juce::StringArray titles() const;
};

// Keeps every notification of the data store as "table:id".
class RecordingObserver : public DbObserver
{
public:
    void dbChanged(const char* table, int id, DbChangeType) override
    {
        calls.add(juce::String(table) + ":" + juce::String(id));
    }
    juce::StringArray calls;
};

// A recording observer of the data store for as long as it lives.
class ScopedObserver : public RecordingObserver
{
public:
    ScopedObserver();
    ~ScopedObserver() override;
};

// A fresh, empty folder that is removed again.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    const juce::File& get() const { return folder; }
    juce::File file(const juce::String& name) const { return folder.getChildFile(name); }

private:
    juce::File folder;
};

// Every row of every table of the open database, in key order, as text:
// a whole library compared in one assertion.
juce::String dumpDatabase(const juce::StringArray& onlyTables = {});

// The tables whose changes can be undone.
extern const juce::StringArray tracedTables;

// The bytes of a file, for "left untouched" checks.
juce::MemoryBlock fileBytes(const juce::File& file);
