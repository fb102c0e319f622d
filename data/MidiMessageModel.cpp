#include "data/MidiMessageModel.h"

#include "data/SqlFormat.h"
#include "data/VmDatabase.h"

void MidiMessageModel::deleteMidiMessage()
{
    VmDatabase::getInstance()->execQuery(
        sqlFormat("DELETE FROM MidiMessages WHERE MidiMessageID=%d", recordId));
}
