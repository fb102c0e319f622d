#include "data/SetElementModel.h"

#include "data/SqlFormat.h"
#include "data/VmDatabase.h"

void SetElementModel::deleteSetElement()
{
    VmDatabase::getInstance()->execQuery(
        sqlFormat("DELETE FROM SetElements WHERE SetElementID=%d", recordId));
}
