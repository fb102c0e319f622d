#pragma once

#include "engine/GlimraPluginAbi.h"
#include "lightsim/ShowCatalogue.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace lightsim
{

// The lighting rig: its shows, the live state of the current show's banks and
// the tempo. There is one rig however many effect records the host makes.
//
// Fades advance with the audio that the records process while any of them is
// prepared; otherwise with a steady clock, brought up to date by every call
// that reads or changes the banks. process never waits for the lock: when the
// message thread holds it, the block's time is kept and applied next block.
class Controller
{
public:
    static Controller& get();

    void setHostCallbacks(const GlimraHostApi* host);
    void pressFootswitch(int which);

    void setTempo(float bpm);
    float getTempo() const;

    int numShows();
    std::string currentShow();
    std::string showName(int index);
    // Reads the shows file again and switches to the named show with all banks dark;
    // an unknown name changes nothing.
    void loadShow(const std::string& name);

    int numBanks();
    std::string bankName(int index);
    int numPresets(const std::string& bank);
    std::string presetName(const std::string& bank, int index);
    void selectPreset(const std::string& bank, const std::string& preset, float fadeSeconds);
    std::string activePreset(const std::string& bank);
    float bankLevel(const std::string& bank);

    // A record was prepared or released: while any is prepared, audio drives the fades.
    void audioStarted();
    void audioStopped();
    // Audio thread: never blocks, never allocates.
    void advanceAudio(double seconds) noexcept;

    std::string saveState();
    // False, and nothing changed, unless the whole state is readable and names a
    // show of the rig.
    bool restoreState(const std::string& state);

private:
    Controller();

    struct BankState
    {
        std::string preset; // "" while the bank is off
        double level = 0.0;
        double target = 0.0;
        double rate = 0.0; // level change per second
    };

    using Clock = std::chrono::steady_clock;

    void followClockLocked();
    void advanceLocked(double seconds) noexcept;
    const Show& showLocked() const { return catalogue[current]; }
    int findBankLocked(const std::string& bank) const;

    mutable std::mutex mutex;
    Catalogue catalogue;
    size_t current = 0;
    std::vector<BankState> banks; // one per bank of the current show
    Clock::time_point lastTick;   // fades are accounted for up to here

    std::atomic<float> tempo{120.0f};
    std::atomic<int> preparedRecords{0};
    std::atomic<double> pendingAudioSeconds{0.0};
    std::atomic<const GlimraHostApi*> host{nullptr};
};

} // namespace lightsim
