#pragma once
// The message shown over a running stage at each split and at the finish:
// the differences to the best time of this rally ("Bst"), the overall best
// across all rallies ("Ovl") and the game's own stage record ("Stg"), as the
// [Messages] settings say (read at each message).

#include <string>

namespace zudo::ui {

struct TimeDifferences {
    float best = 0;        // to this rally's or hotlap's record
    float overall = 0;     // to the best across all rallies
    float stageRecord = 0; // to the game's own result for the stage
    bool hasStageRecord = false;
};

// The label ("S1:", "F:" with the default settings) is made by the callers
// below; this shows the message through the game interface.
void showTimeDifferences(const std::string& label, const TimeDifferences& differences);

// "S" + checkpoint + ":" and "F" + ":" with the labels of the settings.
std::string splitLabel(int checkpoint);
std::string finishLabel();

} // namespace zudo::ui
