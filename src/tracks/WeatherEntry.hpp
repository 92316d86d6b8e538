#pragma once
// One weather of a stage as the game's weather table holds it: six 32-bit
// codes (stage number, tint set, sky, time of day, conditions, surface), -1
// where unset. The layout is the game's, so it must stay exactly 24 bytes.

#include <cstdint>
#include <iosfwd>
#include <string>

namespace zudo::legacy::support {

struct WeatherEntry {
    std::int32_t stage = 71;
    std::int32_t tintSet = -1;
    std::int32_t sky = -1;
    std::int32_t timeOfDay = -1;
    std::int32_t conditions = -1;
    std::int32_t surface = -1;

    // Conditions crisp, hazy, norain or nosnow.
    bool isGoodWeather() const;
    // Conditions heavyrain, heavysnow or heavyfog.
    bool isHeavyWeather() const;

    // For log records: "  stage = 10 / Kaihuavaara  tintSet = 0 / M ... "
    // "  good weather = true", words and names from the stage catalogue.
    std::string describe() const;
};
static_assert(sizeof(WeatherEntry) == 24, "the game's weather table entry is 24 bytes");

// By stage, then conditions, sky, time of day, surface, tint set.
bool operator<(const WeatherEntry& a, const WeatherEntry& b);
bool operator==(const WeatherEntry& a, const WeatherEntry& b);

// Saved text form: tint set, sky, time of day, conditions and surface, each
// in decimal and followed by one blank; the stage is not written.
std::ostream& operator<<(std::ostream& out, const WeatherEntry& entry);
// Reads the five numbers. A failure is logged and leaves the stream failed
// (its exception mask as it was) for the caller to test.
std::istream& operator>>(std::istream& in, WeatherEntry& entry);

} // namespace zudo::legacy::support
