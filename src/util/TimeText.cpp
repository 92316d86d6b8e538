#include "util/TimeText.hpp"

#include <cmath>
#include <cstdint>
#include <iomanip>
#include <locale>
#include <sstream>

namespace zudo::util {

namespace {

// The host's own factor for minutes, in single precision.
constexpr float minutesPerSecond = 0.016666668f;
// Larger values are shown as this many seconds: the arithmetic below stays in
// range, and no stage time comes near it (about 31,700 years).
constexpr double largestSeconds = 1e12;
// Texts are limited to what the platform's 1000-character buffers hold.
constexpr std::string::size_type longestFormattedText = 999;

std::string limited(std::string text)
{
    if (text.size() > longestFormattedText) {
        text.resize(longestFormattedText);
    }
    return text;
}

} // namespace

std::string formatTime(float seconds, bool isSigned)
{
    char sign = isSigned ? '+' : ' ';
    if (seconds < 0.0f) {
        sign = '-';
    }
    if (seconds == 0.0f || std::isnan(seconds)) {
        return std::string(1, sign) + (isSigned ? "00:00.000" : "--:--.---");
    }
    // The products are taken with more precision than a float has, as the
    // host's arithmetic does: 1.234f lies just below 1.234 and shows 233 ms.
    const double magnitude = std::fmin(std::fabs(static_cast<double>(seconds)), largestSeconds);
    const auto minutes = static_cast<std::int64_t>(magnitude * double{minutesPerSecond});
    const auto wholeSeconds = static_cast<std::int64_t>(magnitude) % 60;
    const auto milliseconds = static_cast<std::int64_t>(magnitude * 1000.0) % 1000;

    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << sign << std::setfill('0') << std::setw(2) << minutes << ':' << std::setw(2)
         << wholeSeconds << '.' << std::setw(3) << milliseconds;
    return text.str();
}

std::string formatDateTime(const platform::CalendarTime& localTime)
{
    return limited(platform::formatShortDate(localTime)) + " " +
           limited(platform::formatTime24(localTime));
}

} // namespace zudo::util
