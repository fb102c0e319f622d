#include "data/DbModel.h"

#include "data/SqlFormat.h"
#include "data/VmDatabase.h"

DbModel::DbModel(int id, const char* table, const char* keyColumn)
    : recordId(id), tableName(table), idColumn(keyColumn)
{
}

juce::String DbModel::selectFieldSql(const juce::String& field) const
{
    return sqlFormat("SELECT %s FROM %s WHERE %s = %d", field.toRawUTF8(), tableName.toRawUTF8(),
                     idColumn.toRawUTF8(), recordId);
}

juce::String DbModel::getStringField(const juce::String& field) const
{
    return VmDatabase::getInstance()->execQuery(selectFieldSql(field)).getStringField(0);
}

double DbModel::getFloatField(const juce::String& field) const
{
    return VmDatabase::getInstance()->execQuery(selectFieldSql(field)).getFloatField(0);
}

int DbModel::getIntField(const juce::String& field) const
{
    return VmDatabase::getInstance()->execQuery(selectFieldSql(field)).getIntField(0);
}

void DbModel::setStringField(const juce::String& field, const juce::String& value,
                             DbChangeType type)
{
    if (readOnly)
        return;
    // Compare with the text as it will be stored, so that a quote in the text
    // does not make every save look like a change.
    juce::String stored = value;
    cleanupPathString(stored);
    if (getStringField(field) == stored)
        return;

    juce::String cleaned = value;
    cleanStringForDb(cleaned);
    VmDatabase::getInstance()->execQuery("UPDATE " + tableName + " SET " + field + "='" + cleaned +
                                         "' WHERE " + idColumn + "=" + juce::String(recordId));
    notifyChange(type);
}

void DbModel::setFloatField(const juce::String& field, double value, DbChangeType type)
{
    if (readOnly)
        return;
    {
        // Stored with six decimals: compare at that precision.
        auto q = VmDatabase::getInstance()->execQuery(selectFieldSql(field));
        bool missing = q.eof();
        if (missing ? value == 0.0
                    : !q.fieldIsNull(0) &&
                          sqlFormat("%f", q.getFloatField(0)) == sqlFormat("%f", value))
            return;
    }
    VmDatabase::getInstance()->execQuery(sqlFormat("UPDATE %s SET %s=%f WHERE %s=%d",
                                                   tableName.toRawUTF8(), field.toRawUTF8(), value,
                                                   idColumn.toRawUTF8(), recordId));
    notifyChange(type);
}

void DbModel::setIntField(const juce::String& field, int value, DbChangeType type)
{
    if (readOnly)
        return;
    {
        auto q = VmDatabase::getInstance()->execQuery(selectFieldSql(field));
        bool missing = q.eof();
        if (missing ? value == 0 : !q.fieldIsNull(0) && q.getIntField(0) == value)
            return;
    }
    VmDatabase::getInstance()->execQuery(sqlFormat("UPDATE %s SET %s=%d WHERE %s=%d",
                                                   tableName.toRawUTF8(), field.toRawUTF8(), value,
                                                   idColumn.toRawUTF8(), recordId));
    notifyChange(type);
}

void DbModel::setFieldNull(const juce::String& field, DbChangeType type)
{
    if (readOnly)
        return;
    VmDatabase::getInstance()->execQuery(sqlFormat("UPDATE %s SET %s=NULL WHERE %s=%d",
                                                   tableName.toRawUTF8(), field.toRawUTF8(),
                                                   idColumn.toRawUTF8(), recordId));
    notifyChange(type);
}

DbModel& DbModel::enableReadOnlyMode()
{
    readOnly = true;
    return *this;
}

void DbModel::notifyChange(DbChangeType type) const
{
    VmDatabase::getInstance()->updateObs(tableName.toRawUTF8(), recordId, type);
}
