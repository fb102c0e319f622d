#include "lightsim/Controller.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>

namespace lightsim
{

namespace
{
const char* const stateHeader = "GLIMRA state 1";
const size_t maxStateSize = 1 << 20;

size_t defaultShowIndex(const Catalogue& shows)
{
    for (size_t i = 0; i < shows.size(); ++i)
        if (shows[i].name == defaultShowName)
            return i;
    return 0;
}

std::optional<size_t> findShow(const Catalogue& shows, const std::string& name)
{
    for (size_t i = 0; i < shows.size(); ++i)
        if (shows[i].name == name)
            return i;
    return std::nullopt;
}

// Numbers in the state are written and read without the C locale getting a say.
std::string numberText(double value)
{
    char text[64];
    auto result = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, result.ptr);
}

std::optional<double> numberFrom(const std::string& text)
{
    double value = 0.0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;)
    {
        auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}
} // namespace

Controller& Controller::get()
{
    static Controller rig;
    return rig;
}

Controller::Controller()
    : catalogue(readCatalogue()), current(defaultShowIndex(catalogue)),
      banks(catalogue[current].banks.size()), lastTick(Clock::now())
{
}

void Controller::setHostCallbacks(const GlimraHostApi* newHost)
{
    host.store(newHost);
}

void Controller::pressFootswitch(int which)
{
    // Called without the lock: the host may well call back into the rig.
    auto* h = host.load();
    if (h == nullptr)
        return;
    auto callback = which == 0 ? h->footswitchNext : which == 1 ? h->footswitchPrev : nullptr;
    if (callback != nullptr)
        callback();
}

void Controller::setTempo(float bpm)
{
    if (std::isfinite(bpm) && bpm > 0.0f)
        tempo.store(bpm);
}

float Controller::getTempo() const
{
    return tempo.load();
}

int Controller::numShows()
{
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<int>(catalogue.size());
}

std::string Controller::currentShow()
{
    std::lock_guard<std::mutex> lock(mutex);
    return showLocked().name;
}

std::string Controller::showName(int index)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (index < 0 || static_cast<size_t>(index) >= catalogue.size())
        return {};
    return catalogue[static_cast<size_t>(index)].name;
}

void Controller::loadShow(const std::string& name)
{
    // The file is read and the new banks made before taking the lock, so the
    // audio thread never misses a block's fades over file work.
    auto shows = readCatalogue();
    auto index = findShow(shows, name);
    if (!index)
        return;
    std::vector<BankState> dark(shows[*index].banks.size());

    {
        std::lock_guard<std::mutex> lock(mutex);
        followClockLocked();
        catalogue.swap(shows);
        banks.swap(dark);
        current = *index;
    }
    // The old show is freed here, outside the lock.
}

int Controller::numBanks()
{
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<int>(showLocked().banks.size());
}

std::string Controller::bankName(int index)
{
    std::lock_guard<std::mutex> lock(mutex);
    auto& show = showLocked();
    if (index < 0 || static_cast<size_t>(index) >= show.banks.size())
        return {};
    return show.banks[static_cast<size_t>(index)].name;
}

int Controller::findBankLocked(const std::string& bank) const
{
    auto& show = showLocked();
    for (size_t i = 0; i < show.banks.size(); ++i)
        if (show.banks[i].name == bank)
            return static_cast<int>(i);
    return -1;
}

int Controller::numPresets(const std::string& bank)
{
    std::lock_guard<std::mutex> lock(mutex);
    auto b = findBankLocked(bank);
    return b < 0 ? 0 : static_cast<int>(showLocked().banks[static_cast<size_t>(b)].presets.size());
}

std::string Controller::presetName(const std::string& bank, int index)
{
    std::lock_guard<std::mutex> lock(mutex);
    auto b = findBankLocked(bank);
    if (b < 0)
        return {};
    auto& presets = showLocked().banks[static_cast<size_t>(b)].presets;
    if (index < 0 || static_cast<size_t>(index) >= presets.size())
        return {};
    return presets[static_cast<size_t>(index)];
}

void Controller::selectPreset(const std::string& bank, const std::string& preset, float fadeSeconds)
{
    std::lock_guard<std::mutex> lock(mutex);
    followClockLocked();
    auto b = findBankLocked(bank);
    // A bank can only be switched off through its own "Off" preset; names the
    // bank does not have are ignored, as the hardware would.
    if (b < 0 || !showLocked().banks[static_cast<size_t>(b)].hasPreset(preset))
        return;

    auto& state = banks[static_cast<size_t>(b)];
    bool off = preset == offPreset;
    state.preset = off ? std::string() : preset;
    state.target = off ? 0.0 : 1.0;
    if (std::isfinite(fadeSeconds) && fadeSeconds > 0.0f)
    {
        state.rate = std::abs(state.target - state.level) / fadeSeconds;
    }
    else
    {
        state.level = state.target;
        state.rate = 0.0;
    }
}

std::string Controller::activePreset(const std::string& bank)
{
    std::lock_guard<std::mutex> lock(mutex);
    followClockLocked();
    auto b = findBankLocked(bank);
    return b < 0 ? std::string() : banks[static_cast<size_t>(b)].preset;
}

float Controller::bankLevel(const std::string& bank)
{
    std::lock_guard<std::mutex> lock(mutex);
    followClockLocked();
    auto b = findBankLocked(bank);
    return b < 0 ? 0.0f : static_cast<float>(banks[static_cast<size_t>(b)].level);
}

void Controller::audioStarted()
{
    std::lock_guard<std::mutex> lock(mutex);
    followClockLocked(); // the clock's time up to now still counts
    ++preparedRecords;
}

void Controller::audioStopped()
{
    std::lock_guard<std::mutex> lock(mutex);
    if (--preparedRecords == 0)
        lastTick = Clock::now(); // the clock takes over from here
}

void Controller::advanceAudio(double seconds) noexcept
{
    if (!mutex.try_lock())
    {
        auto pending = pendingAudioSeconds.load();
        while (!pendingAudioSeconds.compare_exchange_weak(pending, pending + seconds))
        {
        }
        return;
    }
    advanceLocked(seconds + pendingAudioSeconds.exchange(0.0));
    lastTick = Clock::now();
    mutex.unlock();
}

void Controller::followClockLocked()
{
    auto now = Clock::now();
    if (preparedRecords.load() == 0)
    {
        pendingAudioSeconds.store(0.0); // the clock covers that time too
        advanceLocked(std::chrono::duration<double>(now - lastTick).count());
    }
    lastTick = now;
}

void Controller::advanceLocked(double seconds) noexcept
{
    if (!(seconds > 0.0))
        return;
    for (auto& b : banks)
    {
        if (b.level == b.target)
            continue;
        auto step = b.rate * seconds;
        b.level = b.level < b.target ? std::min(b.target, b.level + step)
                                     : std::max(b.target, b.level - step);
    }
}

std::string Controller::saveState()
{
    std::lock_guard<std::mutex> lock(mutex);
    followClockLocked();
    std::string state = std::string(stateHeader) + "\n";
    state += "tempo\t" + numberText(tempo.load()) + "\n";
    state += "show\t" + showLocked().name + "\n";
    auto& show = showLocked();
    for (size_t i = 0; i < banks.size(); ++i)
    {
        auto& b = banks[i];
        state += "bank\t" + show.banks[i].name + "\t" + b.preset + "\t" + numberText(b.level) +
                 "\t" + numberText(b.target) + "\t" + numberText(b.rate) + "\n";
    }
    return state;
}

bool Controller::restoreState(const std::string& state)
{
    if (state.empty() || state.size() > maxStateSize)
        return false;

    auto lines = split(state, '\n');
    if (lines.back().empty())
        lines.pop_back(); // the last line's newline
    if (lines.size() < 3 || lines[0] != stateHeader)
        return false;

    auto tempoFields = split(lines[1], '\t');
    if (tempoFields.size() != 2 || tempoFields[0] != "tempo")
        return false;
    auto bpm = numberFrom(tempoFields[1]);
    if (!bpm || *bpm <= 0.0 || *bpm > 1000.0)
        return false;

    auto showFields = split(lines[2], '\t');
    if (showFields.size() != 2 || showFields[0] != "show" || showFields[1].empty())
        return false;

    std::map<std::string, BankState> saved;
    for (size_t i = 3; i < lines.size(); ++i)
    {
        auto f = split(lines[i], '\t');
        if (f.size() != 6 || f[0] != "bank" || f[1].empty())
            return false;
        auto level = numberFrom(f[3]), target = numberFrom(f[4]), rate = numberFrom(f[5]);
        if (!level || !target || !rate || *level < 0.0 || *level > 1.0 || *target < 0.0 ||
            *target > 1.0 || *rate < 0.0)
            return false;
        if (!saved.emplace(f[1], BankState{f[2], *level, *target, *rate}).second)
            return false;
    }

    std::lock_guard<std::mutex> lock(mutex);
    auto index = findShow(catalogue, showFields[1]);
    if (!index)
        return false;

    // Banks or presets that the show no longer has (the shows file may have
    // changed since) are left dark.
    auto& show = catalogue[*index];
    std::vector<BankState> restored(show.banks.size());
    for (size_t i = 0; i < show.banks.size(); ++i)
    {
        auto it = saved.find(show.banks[i].name);
        if (it == saved.end())
            continue;
        auto& s = it->second;
        if (s.preset.empty() || show.banks[i].hasPreset(s.preset))
            restored[i] = s;
    }

    followClockLocked();
    current = *index;
    banks.swap(restored);
    tempo.store(static_cast<float>(*bpm));
    return true;
}

} // namespace lightsim
