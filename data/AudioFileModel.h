#pragma once

#include "data/DbModel.h"

// A track of the library: one row of AudioFiles.
class AudioFileModel : public DbModel
{
public:
    explicit AudioFileModel(int id = 0) : DbModel(id, "AudioFiles", "AudioFileID") {}
};
