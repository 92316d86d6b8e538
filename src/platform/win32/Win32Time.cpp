#include <windows.h>

#include <cstddef>
#include <cstring>

#include "platform/PlatformDetail.hpp"

namespace zudo::platform {

namespace {

// CalendarTime has SYSTEMTIME's layout, field for field.
static_assert(sizeof(SYSTEMTIME) == sizeof(CalendarTime));
static_assert(offsetof(SYSTEMTIME, wDayOfWeek) == offsetof(CalendarTime, dayOfWeek));
static_assert(offsetof(SYSTEMTIME, wDay) == offsetof(CalendarTime, day));
static_assert(offsetof(SYSTEMTIME, wMilliseconds) == offsetof(CalendarTime, milliseconds));

SYSTEMTIME toSystemTime(const CalendarTime& time)
{
    SYSTEMTIME result;
    std::memcpy(static_cast<void*>(&result), &time, sizeof result);
    return result;
}

CalendarTime fromSystemTime(const SYSTEMTIME& time)
{
    CalendarTime result;
    std::memcpy(static_cast<void*>(&result), &time, sizeof result);
    return result;
}

FILETIME toFileTime(std::int64_t value)
{
    const auto bits = static_cast<std::uint64_t>(value);
    FILETIME result;
    result.dwLowDateTime = static_cast<DWORD>(bits);
    result.dwHighDateTime = static_cast<DWORD>(bits >> 32);
    return result;
}

std::int64_t fromFileTime(const FILETIME& value)
{
    return static_cast<std::int64_t>((std::uint64_t{value.dwHighDateTime} << 32) | value.dwLowDateTime);
}

} // namespace

CalendarTime localTime()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return fromSystemTime(now);
}

bool calendarToFileTime(const CalendarTime& time, std::int64_t& fileTime)
{
    const SYSTEMTIME system = toSystemTime(time);
    FILETIME result;
    if (::SystemTimeToFileTime(&system, &result) == 0) {
        return false;
    }
    fileTime = fromFileTime(result);
    return true;
}

bool fileTimeToCalendar(std::int64_t fileTime, CalendarTime& time)
{
    const FILETIME file = toFileTime(fileTime);
    SYSTEMTIME result;
    if (::FileTimeToSystemTime(&file, &result) == 0) {
        return false;
    }
    time = fromSystemTime(result);
    return true;
}

std::int64_t fileTimeOfUnixSeconds(std::int64_t seconds)
{
    // 1970-01-01 00:00 UTC as Windows counts it, then 100 ns units.
    static const std::int64_t unixEpoch = [] {
        SYSTEMTIME epoch{};
        epoch.wYear = 1970;
        epoch.wMonth = 1;
        epoch.wDay = 1;
        FILETIME result{};
        ::SystemTimeToFileTime(&epoch, &result);
        return fromFileTime(result);
    }();
    return unixEpoch + seconds * 10'000'000;
}

bool fileTimeToLocal(std::int64_t utcFileTime, std::int64_t& localFileTime)
{
    const FILETIME utc = toFileTime(utcFileTime);
    FILETIME local;
    if (::FileTimeToLocalFileTime(&utc, &local) == 0) {
        return false;
    }
    localFileTime = fromFileTime(local);
    return true;
}

std::string formatShortDate(const CalendarTime& time)
{
    const SYSTEMTIME system = toSystemTime(time);
    char buffer[1000] = {};
    if (::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &system, nullptr, buffer, sizeof buffer - 1) == 0) {
        return {};
    }
    return buffer;
}

std::string formatTime24(const CalendarTime& time)
{
    const SYSTEMTIME system = toSystemTime(time);
    char buffer[1000] = {};
    if (::GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_FORCE24HOURFORMAT, &system, nullptr, buffer, sizeof buffer - 1) == 0) {
        return {};
    }
    return buffer;
}

namespace detail {

std::uint32_t systemTickCount() { return ::GetTickCount(); }

} // namespace detail

} // namespace zudo::platform
