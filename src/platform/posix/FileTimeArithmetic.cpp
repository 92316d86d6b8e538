#include <cstdio>
#include <limits>

#include "platform/posix/PosixEmulation.hpp"

namespace zudo::platform::detail {

namespace {

constexpr std::int64_t secondsPerDay = 86'400;
constexpr std::int64_t ticksPerMillisecond = 10'000;

bool isLeapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(std::int64_t year, int month)
{
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (month == 2 && isLeapYear(year)) ? 29 : lengths[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468;
}

void civilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day)
{
    days += 719'468;
    const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const std::int64_t dayOfEra = days - era * 146'097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

bool isValidDate(const CalendarTime& time)
{
    return time.year >= 1601 && time.month >= 1 && time.month <= 12 && time.day >= 1 &&
           time.day <= daysInMonth(time.year, time.month);
}

bool isValidTimeOfDay(const CalendarTime& time)
{
    return time.hour < 24 && time.minute < 60 && time.second < 60 && time.milliseconds < 1000;
}

} // namespace

std::int64_t unixTimeToFileTime(std::int64_t seconds, std::int64_t nanoseconds)
{
    return (seconds + unixEpochInFileTimeSeconds) * fileTimeTicksPerSecond + nanoseconds / 100;
}

bool calendarToFileTime(const CalendarTime& time, std::int64_t& fileTime)
{
    if (!isValidDate(time) || !isValidTimeOfDay(time)) {
        return false;
    }
    const std::int64_t days = daysFromCivil(time.year, time.month, time.day);
    const std::int64_t seconds = days * secondsPerDay + time.hour * 3600 + time.minute * 60 + time.second;
    // The last file time is in September 30828: check the seconds first so
    // that nothing overflows, then the exact ticks.
    const std::int64_t lastSecond = std::numeric_limits<std::int64_t>::max() / fileTimeTicksPerSecond;
    if (seconds + unixEpochInFileTimeSeconds > lastSecond) {
        return false;
    }
    const auto ticks = static_cast<std::uint64_t>(seconds + unixEpochInFileTimeSeconds) *
                           static_cast<std::uint64_t>(fileTimeTicksPerSecond) +
                       static_cast<std::uint64_t>(time.milliseconds * ticksPerMillisecond);
    if (ticks > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return false;
    }
    fileTime = static_cast<std::int64_t>(ticks);
    return true;
}

bool fileTimeToCalendar(std::int64_t fileTime, CalendarTime& time)
{
    if (fileTime < 0) {
        return false;
    }
    const std::int64_t totalSeconds = fileTime / fileTimeTicksPerSecond - unixEpochInFileTimeSeconds;
    std::int64_t days = totalSeconds / secondsPerDay;
    std::int64_t secondOfDay = totalSeconds % secondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += secondsPerDay;
        --days;
    }
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    civilFromDays(days, year, month, day);
    time.year = static_cast<std::uint16_t>(year);
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(day);
    time.dayOfWeek = static_cast<std::uint16_t>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday (4)
    time.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
    time.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
    time.second = static_cast<std::uint16_t>(secondOfDay % 60);
    time.milliseconds = static_cast<std::uint16_t>(fileTime % fileTimeTicksPerSecond / ticksPerMillisecond);
    return true;
}

std::string formatShortDateEnUs(const CalendarTime& time)
{
    CalendarTime date = time; // the time of day plays no part in a date
    date.hour = date.minute = date.second = date.milliseconds = 0;
    if (!isValidDate(date)) {
        return {};
    }
    char text[32];
    std::snprintf(text, sizeof text, "%u/%u/%u", unsigned{date.month}, unsigned{date.day}, unsigned{date.year});
    return text;
}

std::string formatTime24EnUs(const CalendarTime& time)
{
    if (!isValidTimeOfDay(time)) {
        return {};
    }
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u:%02u %s", unsigned{time.hour}, unsigned{time.minute},
                  unsigned{time.second}, time.hour < 12 ? "AM" : "PM");
    return text;
}

} // namespace zudo::platform::detail

namespace zudo::platform {

std::int64_t fileTimeOfUnixSeconds(std::int64_t seconds) { return detail::unixTimeToFileTime(seconds, 0); }

} // namespace zudo::platform
