#include "library/LibraryPanel.h"

#include "app/AppGlobals.h"

LibraryPanel::LibraryPanel() : PlaceholderPanel("LibraryPanel", "Track and show library")
{
    library = this;
}

LibraryPanel::~LibraryPanel()
{
    if (library == this)
        library = nullptr;
}
