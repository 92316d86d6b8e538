// The log records of the track knowledge, with logging switched on.
#include <gtest/gtest.h>

#include <sstream>

#include "TrackFixture.hpp"
#include "support/LogCapture.hpp"

namespace zudo::legacy::support {
namespace {

TEST(TrackLogForms, DescriptionsOfEntriesAndConditions)
{
    const WeatherEntry entry{10, 0, 3, 1, 4, 2};
    EXPECT_EQ(entry.describe(),
              "  stage = 10 / Kaihuavaara  tintSet = 0 / M  sky = 3 / heavycloud  timeOfDay = 1 / noon"
              "  conditions = 4 / heavyrain  surface = 2 / wet  good weather = false");
    const tracks::TrackCondition unset(99);
    EXPECT_EQ(unset.describe(),
              "  stage = 99 / Stage 99  tintSet = -1 /   sky = -1 /   timeOfDay = -1 /   conditions = -1 / "
              "  surface = -1 /   good weather = false  track = -1 / ");
}

TEST(TrackLogForms, FailedReadsNameTheFormAndItsStage)
{
    const test::LogCapture capture;
    WeatherEntry entry;
    entry.stage = 23;
    std::istringstream cutEntry("0 1 x");
    cutEntry >> entry;
    tracks::TrackCondition condition(41);
    condition.track = 2;
    std::istringstream cutCondition("0 1 2 3 4");
    cutCondition >> condition;

    EXPECT_TRUE(cutEntry.fail());
    EXPECT_TRUE(cutCondition.fail());
    // Both streams are left failed, and throw nothing afterwards.
    EXPECT_EQ(cutEntry.exceptions(), std::ios_base::goodbit);
    EXPECT_EQ(cutCondition.exceptions(), std::ios_base::goodbit);
    const std::string log = capture.messageText();
    EXPECT_NE(log.find("operator>>(istream,WeatherEntry) - failed to de-serialize WeatherEntry 23: "),
              std::string::npos)
        << log;
    // The wear is the field the cut form did not reach: it keeps its value.
    EXPECT_NE(log.find("operator>>(istream,TrackCondition) - failed to de-serialize TrackCondition 2: "),
              std::string::npos)
        << log;
}

TEST(TrackLogForms, RecordsOfTheParser)
{
    test::TrackFixture fixture;
    const test::LogCapture capture;
    fixture.writeFile("Maps/Tracks.ini", "[Map12]\nTrackName=t\nParticles=p\n[Map13]\nTrackName=t\n");
    fixture.writeFile("Maps/TrackSettings.ini", "[12M_crisp_clear]\n[10_noon_crisp_clear]\n[13M_crisp_clear]\n");
    fixture.writeTrackIni("t", "M", {{"Rock", false}});
    fixture.writeFile("t_M_textures/dry/rock.dds");
    const auto parser = fixture.makeParser();
    tracks::TrackConditionList list{std::make_shared<tracks::TrackCondition>(5)};
    parser->trackConditions(tracks::TrackOverride{12, "", ""}, list);
    parser->trackConditions(tracks::TrackOverride{13, "", ""}, list);

    const std::string read = "zudo::legacy::support::TrackWeatherParser::readTrackSettings() - ";
    const std::string check = "zudo::legacy::support::TrackWeatherParser::processSurfaces() - ";
    const std::string list12 = "zudo::legacy::support::TrackWeatherParser::trackConditions() - ";
    const std::string create = "zudo::legacy::support::TrackWeatherParser::createTrackConditions() - ";
    const std::string expected =
        read + "parsing of section 12M_crisp_clear returned 3 tokens\n" +
        read + "section '12M_crisp_clear' is valid: values are  map = 12  tintSet = M  sky = clear  conditions = crisp  timeOfDay = M\n" +
        read + "validation yielded a positive result: values are  map = 12  tintSet = 0  sky = 0  conditions = 0  timeOfDay = 0\n" +
        read + "parsing of section 10_noon_crisp_clear returned 4 tokens\n" +
        read + "section '10_noon_crisp_clear' is invalid: values are  map = 10  tintSet =   sky = clear  conditions = crisp  timeOfDay = noon\n" +
        read + "parsing of section 13M_crisp_clear returned 3 tokens\n" +
        read + "section '13M_crisp_clear' is valid: values are  map = 13  tintSet = M  sky = clear  conditions = crisp  timeOfDay = M\n" +
        read + "validation yielded a positive result: values are  map = 13  tintSet = 0  sky = 0  conditions = 0  timeOfDay = 0\n" +
        check + "found track ini file t_M.ini for tintSet M\n" +
        check + "found texture Rock in t_M_textures\\dry\\Rock.dds (mapped to t_m_textures\\dry\\rock.dds)\n" +
        check + "12 --> M/dry/new valid\n";
    const std::string log = capture.messageText();
    EXPECT_EQ(log.substr(0, expected.size()), expected);
    EXPECT_NE(log.find(check + "Rock in t_M_textures\\wet\\Rock.dds (mapped to t_m_textures\\wet\\rock.dds) not found, skipping\n" +
                       check + "12 --> M/wet/worn not valid (1 textures missing)\n"),
              std::string::npos);
    EXPECT_NE(log.find(list12 + "inserted 3 elements into track conditions list: \n0:   stage = 5 / Stage 5"), std::string::npos);
    EXPECT_NE(log.find("\n3:   stage = 12 / Sikakama  tintSet = 0 / M  sky = 0 / clear  timeOfDay = 0 / morning"
                       "  conditions = 0 / crisp  surface = 0 / dry  good weather = true  track = 2 / worn\n"),
              std::string::npos);
    EXPECT_NE(log.find(create + "track 13 has no particles defined, skipping\n" + list12 +
                       "inserted 0 elements into track conditions list: \n0: "),
              std::string::npos);
}

} // namespace
} // namespace zudo::legacy::support
