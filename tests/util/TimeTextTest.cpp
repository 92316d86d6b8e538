#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "util/TimeText.hpp"

using zudo::util::formatDateTime;
using zudo::util::formatTime;

TEST(FormatTime, SignColumnMinutesSecondsMilliseconds)
{
    struct Case {
        float seconds;
        bool isSigned;
        const char* expected;
    };
    const Case cases[] = {
        {83.456f, false, " 01:23.456"},
        {83.456f, true, "+01:23.456"},
        {-5.5f, true, "-00:05.500"},
        {-5.5f, false, "-00:05.500"},
        {0.0f, true, "+00:00.000"},
        {0.0f, false, " --:--.---"},
        {-0.0f, true, "+00:00.000"},
        // 1.234f lies just below 1.234: every part is truncated.
        {1.234f, false, " 00:01.233"},
        {59.9999f, false, " 00:59.999"},
        {60.0f, false, " 01:00.000"},
        {0.001f, true, "+00:00.001"},
        {6000.0f, false, " 100:00.000"},
        {3599.5f, true, "+59:59.500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.seconds << (c.isSigned ? " signed" : " unsigned"));
        EXPECT_EQ(formatTime(c.seconds, c.isSigned), c.expected);
    }
}

TEST(FormatTime, ValuesNoStageReachesStayWellFormed)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(formatTime(nan, false), " --:--.---");
    EXPECT_EQ(formatTime(nan, true), "+00:00.000");
    // Shown as the largest time the text handles, 10^12 seconds: the minutes
    // come from the single-precision factor 0.016666668 (0.0166666675359...),
    // which lies a little above 1/60.
    const std::string largest = "16666667535:40.000";
    EXPECT_EQ(formatTime(std::numeric_limits<float>::infinity(), false), " " + largest);
    EXPECT_EQ(formatTime(-std::numeric_limits<float>::max(), true), "-" + largest);
}

TEST(FormatDateTime, ShortDateBlankAndTwentyFourHourTime)
{
    zudo::platform::CalendarTime time;
    time.year = 2024;
    time.month = 3;
    time.day = 7;
    time.dayOfWeek = 4;
    time.hour = 21;
    time.minute = 5;
    time.second = 4;
    const std::string text = formatDateTime(time);
    // The tests run in the en-US locale (scripts/wine-run.sh pins it under
    // Wine); forcing 24 hours keeps Windows' AM/PM marker.
    EXPECT_EQ(text, "3/7/2024 21:05:04 PM");
}
