#include "data/DbObservable.h"

#include <algorithm>

void DbObservable::addObs(DbObserver* observer)
{
    observers.push_back(observer);
}

void DbObservable::deleteObs(DbObserver* observer)
{
    auto it = std::find(observers.begin(), observers.end(), observer);
    if (it != observers.end())
        observers.erase(it);
}

void DbObservable::updateObs(const char* table, int recordId, DbChangeType type)
{
    if (paused)
    {
        pendingChange = true;
        pendingTable = table;
        pendingId = recordId;
        pendingType = type;
        return;
    }
    // Copy: an observer may remove itself while being told.
    auto current = observers;
    for (auto* o : current)
        o->dbChanged(table, recordId, type);
    pendingChange = false;
}

void DbObservable::pause(bool shouldPause)
{
    paused = shouldPause;
    if (!paused && pendingChange)
        deliverPending();
}

void DbObservable::deliverPending()
{
    pendingChange = false;
    auto table = pendingTable;
    auto current = observers;
    for (auto* o : current)
        o->dbChanged(table.toRawUTF8(), pendingId, pendingType);
}
