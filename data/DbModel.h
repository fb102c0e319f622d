#pragma once

#include "data/DbObservable.h"

#include <juce_core/juce_core.h>

// One row of one table, known by its key. Reads and writes single columns on
// demand and never caches; copies refer to the same row.
class DbModel
{
public:
    DbModel(int recordId, const char* tableName, const char* idColumn);
    virtual ~DbModel() = default;

    int getRecordId() const { return recordId; }
    const juce::String& getTableName() const { return tableName; }
    bool isReadOnly() const { return readOnly; }

    // Null, or a key without a row, reads as empty or 0.
    juce::String getStringField(const juce::String& field) const;
    double getFloatField(const juce::String& field) const;
    int getIntField(const juce::String& field) const;

    // Each setter writes only when the stored value differs, then tells the observers.
    void setStringField(const juce::String& field, const juce::String& value,
                        DbChangeType type = dbRecordChanged);
    void setFloatField(const juce::String& field, double value,
                       DbChangeType type = dbRecordChanged);
    void setIntField(const juce::String& field, int value, DbChangeType type = dbRecordChanged);
    void setFieldNull(const juce::String& field, DbChangeType type = dbRecordChanged);

    // From now on every setter of this model does nothing.
    DbModel& enableReadOnlyMode();

protected:
    juce::String selectFieldSql(const juce::String& field) const;
    void notifyChange(DbChangeType type) const;

    int recordId;
    juce::String tableName;
    juce::String idColumn;
    bool readOnly = false;
};
