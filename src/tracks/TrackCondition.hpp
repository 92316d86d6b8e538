#pragma once
// A weather of a stage together with the wear of the track surface, and
// whether the game's data for it is complete (every texture found); and the
// identity of a track as the game will load it.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "tracks/WeatherEntry.hpp"

namespace zudo::tracks {

class TrackCondition : public legacy::support::WeatherEntry {
public:
    // Stage 71, everything else unset.
    TrackCondition() = default;
    // Only the stage is known.
    explicit TrackCondition(std::int32_t stageNumber);
    // The weather of entry on a surface of the given wear.
    TrackCondition(const WeatherEntry& entry, std::int32_t trackWear);

    // For log records: the weather entry's form, then "  track = " code " / " word.
    std::string describe() const;

    std::int32_t track = -1; // wear: 0 new, 1 normal, 2 worn
    bool valid = false;      // all textures of the game's data were found
};

// First the weather entry order, then the wear; validity takes no part.
bool operator<(const TrackCondition& a, const TrackCondition& b);
bool operator==(const TrackCondition& a, const TrackCondition& b);

// Saved text form (embedded in the rally engine's records): the weather
// entry's five numbers, then the wear, each followed by one blank. Stage and
// validity are not written; a condition read back is not valid.
std::ostream& operator<<(std::ostream& out, const TrackCondition& condition);
// A failure is logged and leaves the stream failed for the caller to test.
std::istream& operator>>(std::istream& in, TrackCondition& condition);

using TrackConditionPtr = std::shared_ptr<TrackCondition>;
// Conditions are shared between the track weather parser's cache and every
// list it hands out.
using TrackConditionList = std::vector<TrackConditionPtr>;

// A track as the game will load it: the stage, and replacements for the
// "TrackName" and "Particles" of its Maps/Tracks.ini section (empty: keep
// the section's value).
struct TrackOverride {
    std::int32_t map = 0;
    std::string trackName;
    std::string particles;
};

// By map, then track name, then particles.
bool operator<(const TrackOverride& a, const TrackOverride& b);
bool operator==(const TrackOverride& a, const TrackOverride& b);

} // namespace zudo::tracks
