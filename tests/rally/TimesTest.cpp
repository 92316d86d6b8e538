#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "rally/Times.hpp"

using zudo::rally::timeDifference;
using zudo::rally::wholeMilliseconds;
using zudo::rally::wholeSeconds;

TEST(Times, ValuesBetweenMillisecondsAreCutTowardZero)
{
    EXPECT_EQ(wholeMilliseconds(61.2345F), 61234);
    EXPECT_EQ(wholeMilliseconds(-61.2345F), -61234);
    EXPECT_EQ(wholeMilliseconds(0.0009F), 0);
    // The float just below 1.234's nearest float lies between milliseconds.
    EXPECT_EQ(wholeMilliseconds(std::nextafter(1.234F, 0.0F)), 1233);
    EXPECT_EQ(wholeSeconds(10.7F), 10);
    EXPECT_EQ(wholeSeconds(-10.7F), -10);
}

TEST(Times, WholeMillisecondsReadBackStayWhole)
{
    // A reader turns n milliseconds into n * 0.001 held as a float; writing
    // that float again must give n, across the whole range of stage times.
    for (std::int32_t milliseconds = 0; milliseconds <= 4 * 3600 * 1000; milliseconds += 997) {
        const auto seconds = static_cast<float>(milliseconds * 0.001);
        ASSERT_EQ(wholeMilliseconds(seconds), milliseconds) << seconds;
    }
    // 1.234's float lies below 1.234: cutting its product would give 1233.
    static_assert(static_cast<double>(1.234F) < 1.234);
    EXPECT_EQ(wholeMilliseconds(1.234F), 1234);
}

TEST(Times, ValuesOutsideTheIntRangeAreHeld)
{
    EXPECT_EQ(wholeMilliseconds(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(wholeMilliseconds(std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(wholeMilliseconds(1e30F), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(wholeMilliseconds(-1e30F), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(wholeSeconds(-1e30F), std::numeric_limits<std::int32_t>::min());
}

TEST(Times, DifferencesAreTakenInWholeMilliseconds)
{
    // 62.0004 is cut to 62000 ms, 61.9996 to 61999 ms.
    EXPECT_FLOAT_EQ(timeDifference(62.0004F, 61.9996F), 0.001F);
    EXPECT_FLOAT_EQ(timeDifference(61.9996F, 62.0004F), -0.001F);
    EXPECT_FLOAT_EQ(timeDifference(61.2349F, 61.2341F), 0.0F);
    EXPECT_FLOAT_EQ(timeDifference(61.234F, 60.0F), 1.234F);
    EXPECT_FLOAT_EQ(timeDifference(0.0F, 75.5F), -75.5F);
}
