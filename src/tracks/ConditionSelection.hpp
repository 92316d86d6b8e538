#pragma once
// Choosing the track condition a stage is driven in: the first suitable one
// for a weather mode (0 Good, 1 Random, 2 Bad), or the valid one closest to a
// condition that is wanted but not valid.

#include <cstdint>

#include "tracks/TrackCondition.hpp"

namespace zudo::legacy::support {
class TrackWeatherParser;
}

namespace zudo::tracks {

// The condition for mode among the track's conditions (the process's track
// weather parser); a condition holding only the stage number when the track
// has none. Never null.
TrackConditionPtr selectTrackCondition(const TrackOverride& spec, std::int32_t mode);
// The track's condition with the most attributes equal to wanted's; null when
// wanted is null; a condition holding only wanted's stage when the track has
// none.
TrackConditionPtr closestTrackCondition(const TrackOverride& spec, const TrackConditionPtr& wanted);

// The same over a given parser.
TrackConditionPtr selectTrackCondition(legacy::support::TrackWeatherParser& parser, const TrackOverride& spec,
                                       std::int32_t mode);
TrackConditionPtr closestTrackCondition(legacy::support::TrackWeatherParser& parser, const TrackOverride& spec,
                                        const TrackConditionPtr& wanted);

// The choices over a sorted, non-empty list.
// Good and Random: the first good-weather condition, else the first one. Bad:
// not-good weather before good, heavy before other not-good weather, the
// first heavy conditions code met and within it the wettest surface; among
// good weather the highest conditions code, then the wettest surface.
TrackConditionPtr conditionForMode(const TrackConditionList& sorted, std::int32_t mode);
// Counts equal attributes (stage, conditions, sky, time of day, surface,
// wear, tint set); the first of the highest count wins, the list's first when
// nothing matches at all.
TrackConditionPtr closestCondition(const TrackConditionList& list, const TrackCondition& wanted);

} // namespace zudo::tracks
