#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lightsim
{

struct Bank
{
    std::string name;
    std::vector<std::string> presets;

    bool hasPreset(const std::string& preset) const;
};

struct Show
{
    std::string name;
    std::vector<Bank> banks;
};

using Catalogue = std::vector<Show>;

// The preset name that ends a bank's light.
extern const char* const offPreset;
// The show a fresh controller starts with.
extern const char* const defaultShowName;
// The shows file's name inside the support folder.
extern const char* const showsFileName;

// The rig the controller knows when no shows file is found or it cannot be read.
Catalogue demoCatalogue();

// Parses the text of a shows file; nothing when the text is malformed.
std::optional<Catalogue> parseShows(const std::string& text);

// Velmora's support folder, found the way the program finds it: $VELMORA_HOME,
// else $XDG_DATA_HOME/Kestrova/Velmora, else ~/.local/share/Kestrova/Velmora.
std::string supportFolder();

// The shows file of the support folder, or the demo when it is missing or bad.
Catalogue readCatalogue();

} // namespace lightsim
