#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// What happened to a record. The program only ever reports that a row was
// added or changed; deletions are not announced.
enum DbChangeType
{
    dbRecordChanged = 0
};

class DbObserver
{
public:
    virtual ~DbObserver() = default;
    virtual void dbChanged(const char* table, int recordId, DbChangeType type) = 0;
};

// The data store's observer list. While paused, only the latest notification is
// kept and delivered on resume, so a burst of writes costs one refresh.
class DbObservable
{
public:
    virtual ~DbObservable() = default;

    void addObs(DbObserver* observer);
    void deleteObs(DbObserver* observer);
    const std::vector<DbObserver*>& getObs() const { return observers; }

    void updateObs(const char* table, int recordId, DbChangeType type);
    void pause(bool shouldPause);
    bool isPaused() const { return paused; }

protected:
    void deliverPending();

    std::vector<DbObserver*> observers;
    bool paused = false;
    bool pendingChange = false;
    juce::String pendingTable;
    int pendingId = 0;
    DbChangeType pendingType = dbRecordChanged;
};
