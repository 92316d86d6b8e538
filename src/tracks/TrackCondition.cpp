#include "tracks/TrackCondition.hpp"

#include <istream>
#include <ostream>
#include <tuple>

#include "tracks/StageCatalogue.hpp"
#include "tracks/TextForms.hpp"

namespace zudo::tracks {

TrackCondition::TrackCondition(std::int32_t stageNumber)
{
    stage = stageNumber;
}

TrackCondition::TrackCondition(const WeatherEntry& entry, std::int32_t trackWear)
    : WeatherEntry(entry), track(trackWear)
{
}

std::string TrackCondition::describe() const
{
    return WeatherEntry::describe() + "  track = " + std::to_string(track) + " / " +
           StageCatalogue::instance().trackWord(track);
}

bool operator<(const TrackCondition& a, const TrackCondition& b)
{
    const legacy::support::WeatherEntry& weatherA = a;
    const legacy::support::WeatherEntry& weatherB = b;
    if (weatherA < weatherB) {
        return true;
    }
    if (weatherB < weatherA) {
        return false;
    }
    return a.track < b.track;
}

bool operator==(const TrackCondition& a, const TrackCondition& b)
{
    return static_cast<const legacy::support::WeatherEntry&>(a) ==
               static_cast<const legacy::support::WeatherEntry&>(b) &&
           a.track == b.track;
}

std::ostream& operator<<(std::ostream& out, const TrackCondition& condition)
{
    writeCodes(out, {condition.tintSet, condition.sky, condition.timeOfDay, condition.conditions,
                     condition.surface, condition.track});
    return out;
}

std::istream& operator>>(std::istream& in, TrackCondition& condition)
{
    condition.valid = false;
    readCodes(in,
              {&condition.tintSet, &condition.sky, &condition.timeOfDay, &condition.conditions,
               &condition.surface, &condition.track},
              "operator>>(istream,TrackCondition)", [&](const std::string& error) {
                  return "failed to de-serialize TrackCondition " + std::to_string(condition.track) + ": " +
                         error;
              });
    return in;
}

bool operator<(const TrackOverride& a, const TrackOverride& b)
{
    return std::tie(a.map, a.trackName, a.particles) < std::tie(b.map, b.trackName, b.particles);
}

bool operator==(const TrackOverride& a, const TrackOverride& b)
{
    return std::tie(a.map, a.trackName, a.particles) == std::tie(b.map, b.trackName, b.particles);
}

} // namespace zudo::tracks
