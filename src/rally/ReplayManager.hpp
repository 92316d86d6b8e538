#pragma once
// The replay of the last stage driven through the plug-in: saved under a name
// that describes the drive, or played back, through the game's own replay
// routines.

#include <memory>
#include <string>

#include "rally/StageTime.hpp"

namespace zudo::rally {

class ReplayManager {
public:
    static ReplayManager& instance();

    // Replaces the last result (null: none, e.g. just before a stage starts).
    void setLastResult(std::unique_ptr<StageTime> result);
    const StageTime* lastResult() const { return last_.get(); }
    bool hasReplay() const { return last_ != nullptr; }

    // "<stage>_<car>_slot<N>_<driver>_<time or DNF>_<date>", made safe as a
    // file name.
    static std::string replayName(const StageTime& result);

    // False, calling nothing in the game, without a last result.
    bool saveReplay();
    // 0 without a last result; otherwise the game's answer.
    int playReplay();

private:
    ReplayManager();
    std::unique_ptr<StageTime> last_;
};

// Enables (1) or disables (0) the two entries of the game's own menus that
// would leave a replay started by the plug-in in a broken state.
void switchReplayMenuEntries(int value);

} // namespace zudo::rally
