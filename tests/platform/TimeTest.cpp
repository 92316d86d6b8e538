// Calendar and file times, and the en-US texts of dates and times.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/Platform.hpp"

namespace zudo::test {
namespace {

namespace zp = zudo::platform;

constexpr std::int64_t ticksPerSecond = 10'000'000;
constexpr std::int64_t secondsFrom1601To1970 = 11'644'473'600; // 369 years with 89 leap days

// The file time of a Unix time: seconds since 1970 moved to 1601, in 100 ns.
constexpr std::int64_t fileTimeOfUnixTime(std::int64_t seconds, std::int64_t milliseconds = 0)
{
    return (seconds + secondsFrom1601To1970) * ticksPerSecond + milliseconds * 10'000;
}

zp::CalendarTime calendar(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                          int milliseconds = 0, int dayOfWeek = 0)
{
    zp::CalendarTime time;
    time.year = static_cast<std::uint16_t>(year);
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(day);
    time.hour = static_cast<std::uint16_t>(hour);
    time.minute = static_cast<std::uint16_t>(minute);
    time.second = static_cast<std::uint16_t>(second);
    time.milliseconds = static_cast<std::uint16_t>(milliseconds);
    time.dayOfWeek = static_cast<std::uint16_t>(dayOfWeek);
    return time;
}

struct KnownDate {
    const char* label;
    zp::CalendarTime time; // with its true day of the week
    std::int64_t fileTime;
};

TEST(FileTime, KnownDatesConvertBothWays)
{
    const KnownDate dates[] = {
        {"1601-01-01, a Monday", calendar(1601, 1, 1, 0, 0, 0, 0, 1), 0},
        {"1970-01-01, a Thursday", calendar(1970, 1, 1, 0, 0, 0, 0, 4), fileTimeOfUnixTime(0)},
        {"2000-02-29, a Tuesday", calendar(2000, 2, 29, 0, 0, 0, 0, 2), fileTimeOfUnixTime(951'782'400)},
        {"2024-03-07 17:10:41.123, a Thursday", calendar(2024, 3, 7, 17, 10, 41, 123, 4),
         fileTimeOfUnixTime(1'709'831'441, 123)},
        {"2038-01-19 03:14:08, past 32-bit Unix time", calendar(2038, 1, 19, 3, 14, 8, 0, 2),
         fileTimeOfUnixTime(2'147'483'648)},
        {"the last file time, a Thursday", calendar(30828, 9, 14, 2, 48, 5, 477, 4), INT64_MAX},
    };
    for (const KnownDate& date : dates) {
        SCOPED_TRACE(date.label);
        zp::CalendarTime input = date.time;
        input.dayOfWeek = 6; // ignored on input
        std::int64_t fileTime = -1;
        if (date.fileTime != INT64_MAX) {
            ASSERT_TRUE(zp::calendarToFileTime(input, fileTime));
            EXPECT_EQ(fileTime, date.fileTime);
        }
        zp::CalendarTime back;
        ASSERT_TRUE(zp::fileTimeToCalendar(date.fileTime, back));
        EXPECT_EQ(back, date.time) << "the day of the week is computed";
    }
}

TEST(FileTime, TimesOfFileStatusBecomeFileTimes)
{
    EXPECT_EQ(zp::fileTimeOfUnixSeconds(0), 116'444'736'000'000'000);
    EXPECT_EQ(zp::fileTimeOfUnixSeconds(-secondsFrom1601To1970), 0);
    zp::CalendarTime time;
    ASSERT_TRUE(zp::fileTimeToCalendar(zp::fileTimeOfUnixSeconds(1'709'831'441), time));
    EXPECT_EQ(time, calendar(2024, 3, 7, 17, 10, 41, 0, 4));
}

TEST(FileTime, InvalidFieldsAreRejected)
{
    const struct {
        const char* label;
        zp::CalendarTime time;
    } cases[] = {
        {"month 0", calendar(2024, 0, 1)},          {"month 13", calendar(2024, 13, 1)},
        {"day 0", calendar(2024, 1, 0)},            {"April 31", calendar(2024, 4, 31)},
        {"hour 24", calendar(2024, 1, 1, 24)},      {"minute 60", calendar(2024, 1, 1, 0, 60)},
        {"second 60", calendar(2024, 1, 1, 0, 0, 60)}, {"millisecond 1000", calendar(2024, 1, 1, 0, 0, 0, 1000)},
        {"before 1601", calendar(1600, 12, 31)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::int64_t fileTime = 0;
        EXPECT_FALSE(zp::calendarToFileTime(c.time, fileTime));
    }
    zp::CalendarTime time;
    EXPECT_FALSE(zp::fileTimeToCalendar(-1, time)) << "file times are unsigned below 2^63";
}

// Windows rejects February 29 of a common year. Wine accepts it (its table
// lookup takes every February from the leap-year row), so this runs natively.
TEST(FileTime, FebruaryTwentyNinthOnlyInLeapYears)
{
#ifdef _WIN32
    GTEST_SKIP() << "Wine accepts February 29 of every year";
#endif
    std::int64_t fileTime = 0;
    EXPECT_FALSE(zp::calendarToFileTime(calendar(2023, 2, 29), fileTime));
    EXPECT_FALSE(zp::calendarToFileTime(calendar(1900, 2, 29), fileTime));
    EXPECT_TRUE(zp::calendarToFileTime(calendar(2024, 2, 29), fileTime));
}

TEST(FileTime, EveryDayOfFourCenturiesRoundTrips)
{
    // 1601 to 2001 covers every leap-year rule (1700, 1800, 1900 common; 2000 leap).
    std::int64_t previous = -1;
    int days = 0;
    for (std::int64_t fileTime = 12 * 3600 * ticksPerSecond; fileTime < fileTimeOfUnixTime(978'307'200);
         fileTime += 86'400 * ticksPerSecond) {
        zp::CalendarTime time;
        ASSERT_TRUE(zp::fileTimeToCalendar(fileTime, time));
        std::int64_t back = 0;
        ASSERT_TRUE(zp::calendarToFileTime(time, back));
        ASSERT_EQ(back, fileTime);
        ASSERT_EQ(time.dayOfWeek, (days + 1) % 7) << "1601-01-01 was a Monday";
        ASSERT_GT(back, previous);
        previous = back;
        ++days;
    }
    EXPECT_EQ(days, 400 * 365 + 97) << "days of four Gregorian centuries";
}

TEST(LocalTime, AgreesWithTheLocalFileTimeOfNow)
{
    const auto unixNow = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
    std::int64_t local = 0;
    ASSERT_TRUE(zp::fileTimeToLocal(fileTimeOfUnixTime(unixNow / 1000, unixNow % 1000), local));
    const zp::CalendarTime now = zp::localTime();
    std::int64_t localNow = 0;
    ASSERT_TRUE(zp::calendarToFileTime(now, localNow));
    EXPECT_NEAR(static_cast<double>(localNow - local), 0.0, 5.0 * ticksPerSecond);
    zp::CalendarTime check;
    ASSERT_TRUE(zp::fileTimeToCalendar(localNow, check));
    EXPECT_EQ(check.dayOfWeek, now.dayOfWeek);
}

// Windows' en-US user default: the short date "M/d/yyyy" and the time
// "h:mm:ss tt" with the hour forced to 24 hours. The AM/PM marker stays
// ("17:10:41 PM"): TIME_FORCE24HOURFORMAT changes the hour only, and callers
// that want no marker add TIME_NOTIMEMARKER. Wine gives the same texts.
TEST(TimeText, ShortDateAndTwentyFourHourTime)
{
    const struct {
        zp::CalendarTime time;
        const char* date;
        const char* clock;
    } cases[] = {
        {calendar(2024, 3, 7, 17, 10, 41, 999), "3/7/2024", "17:10:41 PM"},
        {calendar(2024, 12, 25, 9, 5, 3), "12/25/2024", "9:05:03 AM"},
        {calendar(2025, 1, 1, 0, 0, 0), "1/1/2025", "0:00:00 AM"},
        {calendar(2025, 6, 30, 12, 0, 59), "6/30/2025", "12:00:59 PM"},
        {calendar(2024, 13, 1, 10, 0, 0), "", "10:00:00 AM"}, // only the date is invalid
        {calendar(2024, 1, 1, 24, 0, 0), "1/1/2024", ""},     // only the time is invalid
        {calendar(1500, 1, 1, 1, 1, 1), "", "1:01:01 AM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(zp::formatShortDate(c.time), c.date);
        EXPECT_EQ(zp::formatTime24(c.time), c.clock);
    }
}

} // namespace
} // namespace zudo::test
