#pragma once

#include "data/DbModel.h"

// One song of a show: the lightshow it plays, its place and whether it starts by itself.
class SetElementModel : public DbModel
{
public:
    explicit SetElementModel(int id = 0) : DbModel(id, "SetElements", "SetElementID") {}

    void deleteSetElement();
};
