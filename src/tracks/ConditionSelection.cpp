#include "tracks/ConditionSelection.hpp"

#include <array>

#include "tracks/TrackWeatherParser.hpp"

namespace zudo::tracks {

namespace {

constexpr std::int32_t badWeather = 2;

// Whether Bad weather prefers candidate to best; best may already have been
// replaced by a first not-good candidate.
bool badPrefers(const TrackCondition& candidate, TrackConditionPtr& best, const TrackConditionPtr& candidatePtr)
{
    if (candidate.isGoodWeather()) {
        if (!best->isGoodWeather()) {
            return false;
        }
        return candidate.conditions > best->conditions ||
               (candidate.conditions == best->conditions && candidate.surface > best->surface);
    }
    if (best->isGoodWeather()) {
        best = candidatePtr;
    }
    if (!candidate.isHeavyWeather()) {
        return false;
    }
    if (!best->isHeavyWeather()) {
        return true;
    }
    return candidate.conditions == best->conditions && candidate.surface > best->surface;
}

int equalAttributes(const TrackCondition& a, const TrackCondition& b)
{
    const std::array<bool, 7> equal{a.stage == b.stage,         a.conditions == b.conditions,
                                    a.sky == b.sky,             a.timeOfDay == b.timeOfDay,
                                    a.surface == b.surface,     a.track == b.track,
                                    a.tintSet == b.tintSet};
    int count = 0;
    for (const bool same : equal) {
        count += same ? 1 : 0;
    }
    return count;
}

} // namespace

TrackConditionPtr conditionForMode(const TrackConditionList& sorted, std::int32_t mode)
{
    TrackConditionPtr best = sorted.front();
    for (const TrackConditionPtr& candidate : sorted) {
        if (mode != badWeather) {
            if (candidate->isGoodWeather()) {
                return candidate;
            }
            continue;
        }
        if (badPrefers(*candidate, best, candidate)) {
            best = candidate;
        }
    }
    return best;
}

TrackConditionPtr closestCondition(const TrackConditionList& list, const TrackCondition& wanted)
{
    TrackConditionPtr winner = list.front();
    int highest = 0;
    for (const TrackConditionPtr& condition : list) {
        const int count = equalAttributes(*condition, wanted);
        if (count > highest) {
            highest = count;
            winner = condition;
        }
    }
    return winner;
}

TrackConditionPtr selectTrackCondition(legacy::support::TrackWeatherParser& parser, const TrackOverride& spec,
                                       std::int32_t mode)
{
    TrackConditionList list;
    parser.trackConditions(spec, list);
    if (list.empty()) {
        return std::make_shared<TrackCondition>(spec.map);
    }
    return conditionForMode(list, mode);
}

TrackConditionPtr closestTrackCondition(legacy::support::TrackWeatherParser& parser, const TrackOverride& spec,
                                        const TrackConditionPtr& wanted)
{
    if (!wanted) {
        return nullptr;
    }
    TrackConditionList list;
    parser.trackConditions(spec, list);
    if (list.empty()) {
        return std::make_shared<TrackCondition>(wanted->stage);
    }
    return closestCondition(list, *wanted);
}

TrackConditionPtr selectTrackCondition(const TrackOverride& spec, std::int32_t mode)
{
    return selectTrackCondition(legacy::support::TrackWeatherParser::instance(), spec, mode);
}

TrackConditionPtr closestTrackCondition(const TrackOverride& spec, const TrackConditionPtr& wanted)
{
    return closestTrackCondition(legacy::support::TrackWeatherParser::instance(), spec, wanted);
}

} // namespace zudo::tracks
