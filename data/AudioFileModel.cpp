#include "data/AudioFileModel.h"

#include "app/FormatManager.h"
#include "data/LightShowModel.h"
#include "data/SqlFormat.h"
#include "data/VmDatabase.h"
#include "platform/Dialogs.h"
#include "platform/SupportFolder.h"

namespace
{
juce::String mediaFolder;

void reportMediaError(const juce::String& title, const juce::String& text)
{
    Dialogs::showMessage(DialogIcon::warning, title,
                         text + "\n\nPlease report this issue to " + supportContactAddress);
}

juce::String fileNameOf(const juce::String& path)
{
    return path.fromLastOccurrenceOf("/", false, false);
}

juce::String relativePathOf(const juce::String& sourcePath)
{
    return sourceFolderName(sourcePath) + "/" + fileNameOf(sourcePath);
}
} // namespace

juce::String getVelmoraMediaFolder()
{
    if (mediaFolder.isEmpty())
        mediaFolder = getSupportFolder().getChildFile("Media Files").getFullPathName() + "/";
    return mediaFolder;
}

juce::String sourceFolderName(const juce::String& sourcePath)
{
    auto parent = sourcePath.upToLastOccurrenceOf("/", false, false);
    if (!parent.contains("/"))
        return {};
    return parent.fromLastOccurrenceOf("/", false, false);
}

bool AudioFileModel::copyFileToMediaFolder(const juce::String& sourcePath)
{
    juce::File media(getVelmoraMediaFolder());
    if (!media.isDirectory() && !media.createDirectory())
    {
        reportMediaError("Velmora Fatal Error", "[#2001] Could not create Velmora media folder.");
        return false;
    }

    auto folder = media.getChildFile(sourceFolderName(sourcePath));
    if (!folder.isDirectory() && !folder.createDirectory())
    {
        reportMediaError("File Error", "[#2002] Could not create Velmora media subfolder.");
        return false;
    }

    juce::File source(sourcePath);
    auto destination = folder.getChildFile(fileNameOf(sourcePath));
    if (source != destination)
    {
        // Through a temporary file: a copy that fails half way leaves the old
        // audio of the track in place.
        juce::TemporaryFile temporary(destination);
        if (!source.existsAsFile() || !source.copyFileTo(temporary.getFile()) ||
            !temporary.overwriteTargetFileWithTemporary())
        {
            reportMediaError("File Error",
                             "[#2003] Could not copy audio file into Velmora media folder.");
            return false;
        }
    }

    juce::File thumbnail(destination.getFullPathName() + ".glimra");
    if (!thumbnail.deleteFile())
    {
        reportMediaError("File Error", "[#2004] Could not remove old wave thumbnail file.");
        return false;
    }
    return true;
}

void AudioFileModel::addNewFromPath(const juce::String& sourcePath)
{
    juce::String source = sourcePath;
    cleanupPathString(source);

    // Another track's audio is never replaced without asking: the library asks
    // before it calls replaceFromPath. A file that is in already is that track.
    if (getFromPath(source))
        return;
    if (!copyFileToMediaFolder(source))
        return;

    auto* db = VmDatabase::getInstance();
    juce::String relativePath = relativePathOf(source);
    juce::String name = juce::File(source).getFileNameWithoutExtension();
    cleanStringForDb(relativePath);
    cleanStringForDb(name);
    db->execQuery("INSERT INTO AudioFiles(Name, Path) VALUES('" + name + "','" + relativePath +
                  "')");
    recordId = db->execQuery("SELECT last_insert_rowid()").getIntField(0);

    LightShowModel().createLightShow(recordId, "Default lightshow", {}, {}, 120);
    db->updateObs("AudioFiles", recordId, dbRecordChanged);
}

void AudioFileModel::replaceFromPath(const juce::String& sourcePath)
{
    juce::String source = sourcePath;
    cleanupPathString(source);
    if (copyFileToMediaFolder(source))
        calcLengthSecs();
}

bool AudioFileModel::getFromPath(const juce::String& sourcePath)
{
    juce::String source = sourcePath;
    cleanStringForDb(source);
    int id = VmDatabase::getInstance()
                 ->execQuery("SELECT AudioFileID FROM AudioFiles WHERE Path='" +
                             relativePathOf(source) + "'")
                 .getIntField(0);
    if (id <= 0)
        return false;
    recordId = id;
    return true;
}

juce::String AudioFileModel::getFullPath() const
{
    return getVelmoraMediaFolder() + getStringField("Path");
}

juce::String AudioFileModel::getFolder() const
{
    return getStringField("Path").upToLastOccurrenceOf("/", false, false);
}

bool AudioFileModel::fileExists() const
{
    return juce::File(getFullPath()).existsAsFile();
}

bool AudioFileModel::checkFileExists()
{
    if (fileExists())
        return true;

    juce::File missing(getFullPath());
    auto fileName = missing.getFileName();
    Dialogs::showMessage(DialogIcon::info, "Audio file not found in Velmora media folder",
                         "File '" + fileName +
                             "' not found - please locate it in the next "
                             "window...");

    juce::File chosen;
    auto start =
        juce::File::getSpecialLocation(juce::File::userHomeDirectory).getChildFile(fileName);
    if (!Dialogs::chooseFileToOpen("Locate " + fileName, start, "*" + missing.getFileExtension(),
                                   chosen))
        return false;

    if (chosen.existsAsFile() && chosen.getFileName() == fileName)
    {
        juce::String chosenPath = chosen.getFullPathName();
        cleanupPathString(chosenPath);
        // A copy that failed has shown its box; the track still has no audio.
        if (!copyFileToMediaFolder(chosenPath))
            return false;
        setStringField("Path", relativePathOf(chosenPath));
        return true;
    }
    Dialogs::showMessage(DialogIcon::warning, "Audio file not found",
                         "Could not find '" + fileName + "' in your chosen location.");
    return false;
}

double AudioFileModel::getLengthSecs()
{
    double stored = getFloatField("LengthSecs");
    return stored != 0.0 ? stored : calcLengthSecs();
}

double AudioFileModel::calcLengthSecs()
{
    std::unique_ptr<juce::AudioFormatReader> reader(
        formatManager.createReaderFor(juce::File(getFullPath())));
    if (reader == nullptr || reader->sampleRate <= 0)
        return 0.0;
    double length = (double)reader->lengthInSamples / reader->sampleRate;
    setFloatField("LengthSecs", length);
    return length;
}

std::vector<LightShowModel> AudioFileModel::getLightShows() const
{
    std::vector<LightShowModel> shows;
    for (auto q = VmDatabase::getInstance()->execQuery(
             sqlFormat("SELECT LightShowID FROM LightShows WHERE AudioFileID=%d", recordId));
         !q.eof(); q.nextRow())
        shows.emplace_back(q.getIntField(0));
    return shows;
}

void AudioFileModel::deleteAudioFile()
{
    VmDatabase::getInstance()->execQuery(
        sqlFormat("DELETE FROM AudioFiles WHERE AudioFileID=%d", recordId));
}
