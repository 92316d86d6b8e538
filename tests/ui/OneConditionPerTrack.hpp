#pragma once
// A condition choice for page tests: every track has one condition, crisp,
// clear, morning, damp, normal (tint set M), valid.

#include <memory>

#include "rally/ConditionChoice.hpp"

namespace zudo::test {

inline rally::TrackConditionPtr theTracksCondition(std::int32_t stage)
{
    auto condition = std::make_shared<tracks::TrackCondition>(stage);
    condition->tintSet = 0;
    condition->conditions = 0;
    condition->sky = 0;
    condition->timeOfDay = 0;
    condition->surface = 1;
    condition->track = 1;
    condition->valid = true;
    return condition;
}

inline void useOneConditionPerTrack()
{
    rally::useConditionChoice(rally::ConditionChoice{
        [](const tracks::TrackOverride& track, int) { return theTracksCondition(track.map); },
        [](const tracks::TrackOverride& track, const rally::TrackConditionPtr&) {
            return theTracksCondition(track.map);
        },
        [](const tracks::TrackOverride& track) { return tracks::TrackConditionList{theTracksCondition(track.map)}; },
    });
}

} // namespace zudo::test
