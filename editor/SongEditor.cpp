#include "editor/SongEditor.h"

#include "app/AppGlobals.h"

SongEditor::SongEditor() : PlaceholderPanel("SongEditor", "Lightshow editor")
{
    songEditor = this;
}

SongEditor::~SongEditor()
{
    if (songEditor == this)
        songEditor = nullptr;
}
