#include <ctime>

#include "platform/posix/PosixEmulation.hpp"

namespace zudo::platform {

CalendarTime localTime()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    ::localtime_r(&now.tv_sec, &local);
    CalendarTime time;
    time.year = static_cast<std::uint16_t>(local.tm_year + 1900);
    time.month = static_cast<std::uint16_t>(local.tm_mon + 1);
    time.dayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
    time.day = static_cast<std::uint16_t>(local.tm_mday);
    time.hour = static_cast<std::uint16_t>(local.tm_hour);
    time.minute = static_cast<std::uint16_t>(local.tm_min);
    time.second = static_cast<std::uint16_t>(local.tm_sec);
    time.milliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1'000'000);
    return time;
}

bool calendarToFileTime(const CalendarTime& time, std::int64_t& fileTime)
{
    return detail::calendarToFileTime(time, fileTime);
}

bool fileTimeToCalendar(std::int64_t fileTime, CalendarTime& time) { return detail::fileTimeToCalendar(fileTime, time); }

// The offset of the zone's rules at that instant. (Windows applies the offset
// in force now to every time, so around a change of daylight saving time its
// answer can differ by an hour; the rules give the time a person expects.)
bool fileTimeToLocal(std::int64_t utcFileTime, std::int64_t& localFileTime)
{
    if (utcFileTime < 0) {
        return false;
    }
    const auto seconds =
        static_cast<std::time_t>(utcFileTime / detail::fileTimeTicksPerSecond - detail::unixEpochInFileTimeSeconds);
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) {
        return false;
    }
    const std::int64_t shifted = utcFileTime + static_cast<std::int64_t>(local.tm_gmtoff) * detail::fileTimeTicksPerSecond;
    if (shifted < 0) {
        return false;
    }
    localFileTime = shifted;
    return true;
}

std::string formatShortDate(const CalendarTime& time) { return detail::formatShortDateEnUs(time); }

std::string formatTime24(const CalendarTime& time) { return detail::formatTime24EnUs(time); }

namespace detail {

std::uint32_t systemTickCount()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000 + static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000;
    return static_cast<std::uint32_t>(milliseconds); // wraps like GetTickCount
}

} // namespace detail

} // namespace zudo::platform
