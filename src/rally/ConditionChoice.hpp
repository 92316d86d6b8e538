#pragma once
// Where the stage model gets its track conditions from: the condition for a
// weather mode, the valid condition closest to a wanted one, and all valid
// conditions of a track (a random weather is drawn from them). All come from
// the track knowledge (the valid conditions of each track); tests may put
// their own choice in place.

#include <functional>
#include <memory>

#include "tracks/TrackCondition.hpp"

namespace zudo::rally {

using TrackConditionPtr = std::shared_ptr<tracks::TrackCondition>;
using TrackOverridePtr = std::shared_ptr<tracks::TrackOverride>;

struct ConditionChoice {
    // The first suitable condition of the track for a weather mode.
    std::function<TrackConditionPtr(const tracks::TrackOverride&, int weatherMode)> select;
    // The valid condition of the track closest to wanted.
    std::function<TrackConditionPtr(const tracks::TrackOverride&, const TrackConditionPtr& wanted)> closest;
    // Every valid condition of the track, sorted; empty when it has none.
    std::function<tracks::TrackConditionList(const tracks::TrackOverride&)> all;
};

// The choice in use: the track knowledge's unless another was put in place.
const ConditionChoice& conditionChoice();
// Puts a choice in place; what it leaves empty is the track knowledge's.
void useConditionChoice(ConditionChoice choice);

} // namespace zudo::rally
