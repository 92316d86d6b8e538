#include "rally/Times.hpp"

#include <cmath>
#include <limits>

namespace zudo::rally {

namespace {

std::int32_t clampedToInt(double value)
{
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (!std::isfinite(value)) {
        return 0;
    }
    if (value <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

std::int32_t wholeMilliseconds(float seconds)
{
    const double milliseconds = static_cast<double>(seconds) * 1000.0;
    const double nearest = std::round(milliseconds);
    if (std::isfinite(nearest) && static_cast<float>(nearest / 1000.0) == seconds) {
        return clampedToInt(nearest);
    }
    return clampedToInt(std::trunc(milliseconds));
}

std::int32_t wholeSeconds(float seconds)
{
    return clampedToInt(std::trunc(static_cast<double>(seconds)));
}

float timeDifference(float a, float b)
{
    const auto difference = static_cast<std::int64_t>(wholeMilliseconds(a)) - wholeMilliseconds(b);
    return static_cast<float>(static_cast<double>(difference) / 1000.0);
}

} // namespace zudo::rally
