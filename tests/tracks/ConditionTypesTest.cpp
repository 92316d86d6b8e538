#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tracks/TrackCondition.hpp"

namespace zudo::tracks {
namespace {

using legacy::support::WeatherEntry;

WeatherEntry entry(std::int32_t stage, std::int32_t tintSet, std::int32_t sky, std::int32_t timeOfDay,
                   std::int32_t conditions, std::int32_t surface)
{
    return WeatherEntry{stage, tintSet, sky, timeOfDay, conditions, surface};
}

TEST(WeatherEntry, DefaultsAndWeatherClasses)
{
    const WeatherEntry defaults;
    EXPECT_EQ(defaults, entry(71, -1, -1, -1, -1, -1));
    for (std::int32_t conditions = -1; conditions <= 10; ++conditions) {
        SCOPED_TRACE(conditions);
        const WeatherEntry e = entry(10, 0, 0, 0, conditions, 0);
        const bool good = conditions == 0 || conditions == 1 || conditions == 2 || conditions == 5;
        const bool heavy = conditions == 4 || conditions == 7 || conditions == 9;
        EXPECT_EQ(e.isGoodWeather(), good);
        EXPECT_EQ(e.isHeavyWeather(), heavy);
    }
}

TEST(WeatherEntry, OrderIsStageConditionsSkyTimeOfDaySurfaceTintSet)
{
    // Each pair differs in one field, and in an earlier field the other way
    // round than in later ones, so a wrong field order gives a wrong answer.
    const WeatherEntry base = entry(10, 4, 3, 3, 5, 2);
    EXPECT_LT(base, entry(11, 0, 0, 0, 0, 0));
    EXPECT_LT(base, entry(10, 0, 0, 0, 6, 0));
    EXPECT_LT(base, entry(10, 0, 4, 0, 5, 0));
    EXPECT_LT(base, entry(10, 0, 3, 4, 5, 0));
    EXPECT_LT(base, entry(10, 0, 3, 3, 5, 3));
    EXPECT_LT(base, entry(10, 5, 3, 3, 5, 2));
    EXPECT_FALSE(base < base);
    EXPECT_FALSE(base == entry(10, 4, 3, 3, 5, 1));
}

TEST(WeatherEntry, TextFormWritesFiveCodesWithoutTheStage)
{
    std::ostringstream out;
    out << entry(33, 1, 0, 2, 4, 1);
    EXPECT_EQ(out.str(), "1 0 2 4 1 ");

    WeatherEntry read = entry(33, -1, -1, -1, -1, -1);
    std::istringstream in("2 3 1 9 0 ");
    in >> read;
    EXPECT_TRUE(in);
    EXPECT_EQ(read, entry(33, 2, 3, 1, 9, 0));
}

TEST(WeatherEntry, FailedReadLeavesTheStreamFailedWithItsMask)
{
    WeatherEntry read;
    std::istringstream in("2 3 x 9 0");
    in >> read;
    EXPECT_TRUE(in.fail());
    EXPECT_EQ(in.exceptions(), std::ios_base::goodbit);
    EXPECT_EQ(read.tintSet, 2);
    EXPECT_EQ(read.sky, 3);

    std::istringstream throwing("1 2");
    throwing.exceptions(std::ios_base::badbit);
    throwing >> read;
    EXPECT_TRUE(throwing.fail());
    EXPECT_EQ(throwing.exceptions(), std::ios_base::badbit);
}

TEST(TrackCondition, ConstructorsOrderAndEquality)
{
    const TrackCondition defaults;
    EXPECT_EQ(static_cast<const WeatherEntry&>(defaults), WeatherEntry());
    EXPECT_EQ(defaults.track, -1);
    EXPECT_FALSE(defaults.valid);

    const TrackCondition stageOnly(42);
    EXPECT_EQ(static_cast<const WeatherEntry&>(stageOnly), entry(42, -1, -1, -1, -1, -1));
    EXPECT_EQ(stageOnly.track, -1);
    EXPECT_FALSE(stageOnly.valid);

    TrackCondition a(entry(10, 0, 0, 0, 0, 2), 1);
    EXPECT_EQ(a.track, 1);
    EXPECT_FALSE(a.valid);
    TrackCondition b = a;
    b.valid = true;
    EXPECT_EQ(a, b) << "validity takes no part in equality";
    EXPECT_FALSE(a < b || b < a);

    const TrackCondition worn(entry(10, 0, 0, 0, 0, 0), 2);
    const TrackCondition wetNew(entry(10, 0, 0, 0, 0, 1), 0);
    EXPECT_LT(worn, wetNew) << "the weather decides before the wear";
    const TrackCondition sameWeatherNew(entry(10, 0, 0, 0, 0, 0), 0);
    EXPECT_LT(sameWeatherNew, worn);
    EXPECT_FALSE(sameWeatherNew == worn);
}

TEST(TrackCondition, TextFormRoundTripAndFailure)
{
    TrackCondition written(entry(10, 1, 0, 2, 4, 1), 2);
    written.valid = true;
    std::ostringstream out;
    out << written << written;
    EXPECT_EQ(out.str(), "1 0 2 4 1 2 1 0 2 4 1 2 ");

    std::istringstream in(out.str());
    TrackCondition first(10);
    TrackCondition second(10);
    first.valid = true;
    in >> first >> second;
    EXPECT_TRUE(in);
    EXPECT_EQ(first, written);
    EXPECT_EQ(second, written);
    EXPECT_FALSE(first.valid) << "a condition read back is not valid";

    std::istringstream truncated("1 0 2 4 1");
    TrackCondition broken(10);
    truncated >> broken;
    EXPECT_TRUE(truncated.fail());
    EXPECT_EQ(truncated.exceptions(), std::ios_base::goodbit);
}

TEST(TrackOverride, OrderByMapThenTrackNameThenParticles)
{
    const TrackOverride plain{10, "", ""};
    const TrackOverride named{10, "Maps\\a", ""};
    const TrackOverride namedParticles{10, "Maps\\a", "p"};
    const TrackOverride otherMap{9, "Maps\\z", "z"};
    std::vector<TrackOverride> all{namedParticles, plain, otherMap, named};
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<TrackOverride>{otherMap, plain, named, namedParticles}));
    EXPECT_FALSE(plain == named);
}

} // namespace
} // namespace zudo::tracks
