#pragma once

#include "data/DbModel.h"

#include <vector>

class LightShowModel;

// The folder into which imported audio files are copied, ending in "/".
juce::String getVelmoraMediaFolder();

// A track of the library. Its audio lives in the media folder; Path is relative
// to it (source folder name, "/", file name).
class AudioFileModel : public DbModel
{
public:
    explicit AudioFileModel(int id = 0) : DbModel(id, "AudioFiles", "AudioFileID") {}

    // Copies the file in and adds a track with a default lightshow; this model
    // then stands for it. Nothing is added when the copy fails.
    void addNewFromPath(const juce::String& sourcePath);
    // Copies the file over this track's media file and measures it again.
    void replaceFromPath(const juce::String& sourcePath);
    // Finds the track that the source file would become.
    bool getFromPath(const juce::String& sourcePath);
    static bool copyFileToMediaFolder(const juce::String& sourcePath);

    juce::String getFullPath() const;
    juce::String getFolder() const;
    bool fileExists() const;
    // As fileExists, but offers to locate a missing file and copies it back in.
    bool checkFileExists();

    double getLengthSecs();
    double calcLengthSecs();

    std::vector<LightShowModel> getLightShows() const;
    void deleteAudioFile();
};

// The name of the folder that holds a file ("Album" for "/Music/Album/Song.wav"),
// empty when there is none.
juce::String sourceFolderName(const juce::String& sourcePath);
