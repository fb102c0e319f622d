#pragma once

#include "data/DbModel.h"

// A show of the library: one row of Sets.
class SetModel : public DbModel
{
public:
    explicit SetModel(int id = 0) : DbModel(id, "Sets", "SetID") {}
};
