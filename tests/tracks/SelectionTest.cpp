#include <gtest/gtest.h>

#include <algorithm>

#include "TrackFixture.hpp"
#include "tracks/ConditionSelection.hpp"

namespace zudo::tracks {
namespace {

// conditions codes: 0 crisp, 3 lightrain, 4 heavyrain, 5 nosnow, 7 heavysnow, 9 heavyfog
TrackConditionPtr condition(std::int32_t conditions, std::int32_t surface, std::int32_t sky = 0,
                            std::int32_t track = 0)
{
    auto made = std::make_shared<TrackCondition>(legacy::support::WeatherEntry{10, 0, sky, 0, conditions, surface},
                                                 track);
    made->valid = true;
    return made;
}

TrackConditionList sorted(TrackConditionList list)
{
    std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return *a < *b; });
    return list;
}

TEST(ConditionSelection, ModesOverSortedLists)
{
    const auto lightDry = condition(3, 0);
    const auto lightWet = condition(3, 2);
    const auto heavyDry = condition(4, 0);
    const auto heavyDamp = condition(4, 1);
    const auto crispDry = condition(0, 0);
    const auto crispWet = condition(0, 2);
    const auto noSnowDamp = condition(5, 1);
    const auto noSnowDry = condition(5, 0);
    const auto heavySnowWet = condition(7, 2);
    const auto fogWet = condition(9, 2);
    struct Case {
        const char* what;
        TrackConditionList list;
        TrackConditionPtr good;
        TrackConditionPtr bad;
    };
    const Case cases[] = {
        {"rain only: the first for Good, the wettest heavy rain for Bad",
         {heavyDamp, lightWet, heavyDry, lightDry}, lightDry, heavyDamp},
        {"crisp only: dry for Good, wet for Bad", {crispWet, crispDry}, crispDry, crispWet},
        {"a heavy code met later does not replace the first heavy one",
         {heavySnowWet, heavyDry, fogWet}, heavyDry, heavyDry},
        {"good weather: the highest conditions code, then the wettest surface",
         {crispWet, noSnowDry, noSnowDamp, crispDry}, crispDry, noSnowDamp},
        {"not-good weather beats good weather", {crispWet, lightDry, noSnowDamp}, crispWet, lightDry},
        {"heavy weather beats light weather", {lightWet, heavySnowWet, crispDry}, crispDry, heavySnowWet},
        {"one condition", {lightDry}, lightDry, lightDry},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TrackConditionList list = sorted(c.list);
        EXPECT_EQ(conditionForMode(list, 0), c.good);
        EXPECT_EQ(conditionForMode(list, 1), c.good) << "Random chooses like Good";
        EXPECT_EQ(conditionForMode(list, 2), c.bad);
    }
}

TEST(ConditionSelection, ClosestCondition)
{
    const auto a = condition(0, 0, 0, 0);
    const auto b = condition(4, 2, 3, 2);
    const auto c = condition(4, 2, 3, 1);
    const TrackConditionList list{a, b, c};

    EXPECT_EQ(closestCondition(list, *c), c) << "an equal condition is found";
    EXPECT_EQ(closestCondition(list, TrackCondition(*c, 0)), b)
        << "b and c share six attributes; the earlier one wins";
    TrackCondition wanted(legacy::support::WeatherEntry{10, 0, 0, 0, 4, 2}, 1);
    EXPECT_EQ(closestCondition(list, wanted), c) << "c shares stage, tint, time, conditions, surface, wear";

    const TrackCondition stranger(legacy::support::WeatherEntry{55, 3, 2, 2, 8, 1}, -1);
    EXPECT_EQ(closestCondition(list, stranger), a) << "nothing in common: the first of the list";
}

TEST(ConditionSelection, TracksWithoutConditionsGiveTheStageAlone)
{
    test::TrackFixture fixture;
    const auto parser = fixture.makeParser();
    const TrackConditionPtr selected = selectTrackCondition(*parser, TrackOverride{33, "", ""}, 2);
    ASSERT_TRUE(selected);
    EXPECT_EQ(*selected, TrackCondition(33));
    EXPECT_FALSE(selected->valid);

    EXPECT_EQ(closestTrackCondition(*parser, TrackOverride{33, "", ""}, nullptr), nullptr);
    const auto wanted = std::make_shared<TrackCondition>(legacy::support::WeatherEntry{34, 0, 0, 0, 0, 0}, 1);
    const TrackConditionPtr closest = closestTrackCondition(*parser, TrackOverride{33, "", ""}, wanted);
    ASSERT_TRUE(closest);
    EXPECT_EQ(*closest, TrackCondition(34));
}

TEST(ConditionSelection, SelectsAmongTheParsersConditions)
{
    test::TrackFixture fixture;
    fixture.writeFile("Maps/Tracks.ini", "[Map10]\nTrackName=t\nParticles=p\n");
    fixture.writeFile("Maps/TrackSettings.ini", "[10M_crisp_clear]\n[10M_heavyrain_heavycloud]\n");
    fixture.writeTrackIni("t", "M", {{"Ground", true}});
    for (const char* surface : {"dry", "damp", "wet"}) {
        fixture.writeFile(std::string("t_M_textures/") + surface + "/new/ground.dds");
    }
    const auto parser = fixture.makeParser();
    const TrackConditionPtr good = selectTrackCondition(*parser, TrackOverride{10, "", ""}, 0);
    const TrackConditionPtr bad = selectTrackCondition(*parser, TrackOverride{10, "", ""}, 2);
    EXPECT_EQ(*good, TrackCondition(legacy::support::WeatherEntry{10, 0, 0, 0, 0, 0}, 0));
    EXPECT_EQ(*bad, TrackCondition(legacy::support::WeatherEntry{10, 0, 3, 0, 4, 2}, 0));
    EXPECT_TRUE(bad->valid);
}

} // namespace
} // namespace zudo::tracks
