#include <gtest/gtest.h>

#include "TrackFixture.hpp"

namespace zudo::legacy::support {
namespace {

using test::TrackFixture;

WeatherEntry entry(std::int32_t stage, std::int32_t tintSet, std::int32_t sky, std::int32_t timeOfDay,
                   std::int32_t conditions)
{
    return WeatherEntry{stage, tintSet, sky, timeOfDay, conditions, 0};
}

TEST(TrackWeatherParser, SectionNamesBecomeWeatherEntries)
{
    TrackFixture fixture;
    fixture.writeFile("Maps/TrackSettings.ini",
                      "[10M_crisp_clear]\n"
                      "[10M_noon_lightrain_heavycloud]\n"
                      "[anything_21E_evening_crisp_clear]\n"
                      "[10O_crisp_clear]\n"
                      "[10_noon_crisp_clear]\n"
                      "[7_crisp_clear]\n"
                      "[10M__crisp_clear]\n"
                      "[5M_crisp_clear]\n"
                      "[10M_crisp_Clear]\n"
                      "[10M_drizzle_clear]\n"
                      "[10M_morn_crisp_clear]\n"
                      "[10M_xyz_crisp_clear]\n"
                      "[12S_noon_hazy_partcloud]\n"
                      "[10X_noon_nosnow_clear]\n"
                      "[crisp_clear]\n"
                      "[]\n"
                      "[M_crisp_clear]\n"
                      "[33N_crisp_clear_extra]\n");
    const auto parser = fixture.makeParser();

    std::vector<WeatherEntry> entries;
    for (const auto& e : parser->entries()) {
        entries.push_back(*e);
    }
    const std::vector<WeatherEntry> expected{
        entry(10, 0, 0, 0, 0),  // 10M_crisp_clear
        entry(10, 0, 3, 1, 3),  // 10M_noon_lightrain_heavycloud
        entry(21, 2, 0, 2, 0),  // anything_21E_evening_crisp_clear
        entry(10, 0, 0, 0, 0),  // 10M__crisp_clear: empty time of day, taken from the tint letter
        entry(5, 0, 0, 0, 0),   // 5M_crisp_clear
        entry(10, 0, 0, 0, 0),  // 10M_morn_crisp_clear: prefix match
        entry(10, 0, 0, -1, 0), // 10M_xyz_crisp_clear: no such time of day, still accepted
        entry(12, 4, 1, 1, 1),  // 12S_noon_hazy_partcloud
        entry(10, -1, 0, 1, 5), // 10X_noon_nosnow_clear: no such tint set
    };
    EXPECT_EQ(entries, expected);
    // 33N_crisp_clear_extra: map token 33N, time of day "crisp", conditions
    // "clear", sky "extra": the sky is tested first.
    EXPECT_EQ(fixture.takeReports(),
              "invalid TrackSettings section '10O_crisp_clear'\n"
              "invalid TrackSettings section '10_noon_crisp_clear'\n"
              "section '10M_crisp_Clear' has unknown sky value: 'Clear'\n"
              "section '10M_drizzle_clear' has unknown conditions value: 'drizzle'\n"
              "section '33N_crisp_clear_extra' has unknown sky value: 'extra'\n");

    std::set<std::int32_t> stages{99};
    parser->stages(stages);
    EXPECT_EQ(stages, (std::set<std::int32_t>{5, 10, 12, 21, 99}));
}

TEST(TrackWeatherParser, MissingOrGarbageSettingsGiveNoEntries)
{
    {
        TrackFixture fixture;
        const auto parser = fixture.makeParser();
        EXPECT_TRUE(parser->entries().empty());
        tracks::TrackConditionList list;
        EXPECT_FALSE(parser->trackConditions(tracks::TrackOverride{10, "", ""}, list));
        EXPECT_TRUE(list.empty());
    }
    {
        TrackFixture fixture;
        std::string garbage;
        for (int i = 0; i < 20000; ++i) {
            garbage += static_cast<char>((i * 7919) % 256);
        }
        garbage += "\n[10M_crisp_clear]\n[10M_crisp_clear]\n[" + std::string(100000, '_') + "]\n";
        fixture.writeFile("Maps/TrackSettings.ini", garbage);
        const auto parser = fixture.makeParser();
        ASSERT_FALSE(parser->entries().empty());
        EXPECT_EQ(*parser->entries().back(), entry(10, 0, 0, 0, 0));
    }
}

} // namespace
} // namespace zudo::legacy::support
