#include "lightsim/ShowCatalogue.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#if !defined(_WIN32)
#include <pwd.h>
#include <unistd.h>
#endif

namespace lightsim
{

const char* const offPreset = "Off";
const char* const defaultShowName = "Default Show";
const char* const showsFileName = "glimra-shows.txt";

bool Bank::hasPreset(const std::string& preset) const
{
    return std::find(presets.begin(), presets.end(), preset) != presets.end();
}

Catalogue demoCatalogue()
{
    // "Specials" has no "Off" on purpose: such a bank cannot be ended by a cue,
    // and the program warns about it.
    return {
        {"Default Show",
         {{"Front Wash", {"Warm White", "Cool Blue", "Sunset", "Off"}},
          {"Back Light", {"Amber", "Deep Red", "Purple Haze", "Off"}},
          {"Specials", {"Spot Left", "Spot Right", "Mirror Ball"}},
          {"Strobe", {"Slow", "Fast", "Off"}}}},
        {"Acoustic Night",
         {{"Front Wash", {"Candle", "Soft White", "Off"}},
          {"Back Light", {"Dusk", "Night Blue", "Off"}}}},
        {"Festival",
         {{"Front Wash", {"Full White", "Rainbow Chase", "Off"}},
          {"Movers", {"Sweep", "Fan", "Ballyhoo", "Off"}},
          {"Strobe", {"Slow", "Fast", "Blinder", "Off"}},
          {"Haze", {"Light", "Thick", "Off"}}}},
    };
}

namespace
{
const size_t maxShowsFileSize = 1 << 20;

bool isValidUtf8(const std::string& s)
{
    size_t i = 0;
    while (i < s.size())
    {
        auto c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80           ? 0
                    : (c >> 5) == 0x6  ? 1
                    : (c >> 4) == 0xe  ? 2
                    : (c >> 3) == 0x1e ? 3
                                       : -1;
        if (extra < 0 || i + extra >= s.size())
            return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xc0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

std::string trim(const std::string& s)
{
    auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool hasControlCharacters(const std::string& s)
{
    return std::any_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}
} // namespace

std::optional<Catalogue> parseShows(const std::string& fileText)
{
    std::string text = fileText;
    if (text.compare(0, 3, "\xef\xbb\xbf") == 0)
        text.erase(0, 3);
    if (text.size() > maxShowsFileSize || !isValidUtf8(text))
        return std::nullopt;

    Catalogue shows;
    std::set<std::string> showNames, bankNames, presetNames;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        line = trim(line);
        if (line.empty() || line[0] == '#')
            continue;

        auto space = line.find_first_of(" \t");
        if (space == std::string::npos)
            return std::nullopt; // a keyword without a name
        auto keyword = line.substr(0, space);
        auto name = trim(line.substr(space));
        // Names travel through the saved state as tab-separated fields.
        if (name.empty() || hasControlCharacters(name))
            return std::nullopt;

        if (keyword == "show")
        {
            if (!showNames.insert(name).second)
                return std::nullopt;
            shows.push_back({name, {}});
            bankNames.clear();
        }
        else if (keyword == "bank")
        {
            if (shows.empty() || !bankNames.insert(name).second)
                return std::nullopt;
            shows.back().banks.push_back({name, {}});
            presetNames.clear();
        }
        else if (keyword == "preset")
        {
            if (shows.empty() || shows.back().banks.empty() || !presetNames.insert(name).second)
                return std::nullopt;
            shows.back().banks.back().presets.push_back(name);
        }
        else
        {
            return std::nullopt;
        }
    }
    if (shows.empty())
        return std::nullopt;
    return shows;
}

std::string supportFolder()
{
    auto env = [](const char* name) -> std::string
    {
        const char* value = std::getenv(name);
        return value != nullptr ? value : "";
    };

    auto home = env("VELMORA_HOME");
    if (!home.empty())
        return home;

#if defined(__APPLE__)
    return "/Library/Application Support/Kestrova/Velmora";
#else
    auto base = env("XDG_DATA_HOME");
    if (base.empty() || base[0] != '/')
    {
        auto userHome = env("HOME");
#if !defined(_WIN32)
        if (userHome.empty())
            if (auto* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr)
                userHome = pw->pw_dir;
#endif
        base = userHome + "/.local/share";
    }
    return base + "/Kestrova/Velmora";
#endif
}

Catalogue readCatalogue()
{
    std::ifstream file(supportFolder() + "/" + showsFileName, std::ios::binary);
    if (!file)
        return demoCatalogue();

    std::string text;
    char chunk[4096];
    while (file.read(chunk, sizeof(chunk)) || file.gcount() > 0)
    {
        text.append(chunk, static_cast<size_t>(file.gcount()));
        if (text.size() > maxShowsFileSize)
            return demoCatalogue();
    }
    if (file.bad())
        return demoCatalogue();

    auto shows = parseShows(text);
    return shows ? std::move(*shows) : demoCatalogue();
}

} // namespace lightsim
