#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "platform/Platform.hpp"
#include "support/Installation.hpp"
#include "tools/ridoved/Ridoved.hpp"
#include "tracks/TrackFixture.hpp"

namespace zudo::tools::ridoved {
namespace {

const char* const usage =
    "Build a track listing file for Zudo stages.\n"
    "\n"
    "Usage: \n"
    "\n"
    "Ridoved\n"
    "\n"
    "    Build the track listing for all stages.\n"
    "\n"
    "\n"
    "Ridoved [stage...]\n"
    "\n"
    "    stage     List of stage numbers, separated by white space.\n"
    "\n"
    "    Build the track listing for the specified stages.\n"
    "\n";

// An installation in the current directory with the program beside it:
// stage 10 (track with one ground texture, worn textures missing) and the
// settings sections for stages 10 and 12 (12 has no track).
class RidovedRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture.writeFile("Maps/Tracks.ini", "[Map10]\nTrackName=Maps\\T\\t\nParticles=p\n[Map12]\nParticles=p\n");
        fixture.writeFile("Maps/TrackSettings.ini", "[10M_crisp_clear]\n[12E_heavyfog_heavycloud]\n[10O_crisp_clear]\n");
        fixture.writeTrackIni("Maps/T/t", "M", {{"Ground", true}});
        for (const char* surface : {"dry", "damp", "wet"}) {
            for (const char* wear : {"new", "normal"}) {
                fixture.writeFile(std::string("Maps/T/t_M_textures/") + surface + "/" + wear + "/ground.dds");
            }
        }
    }

    int run(const std::vector<std::string>& arguments)
    {
        out.str("");
        err.str("");
        return ridoved::run(arguments, out, err);
    }
    // The listing with the platform's line ends ("\r\n" on Windows) read as "\n".
    std::string csv() const
    {
        std::string text = fixture.dir.read("Ridoved.csv");
#ifdef _WIN32
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
#endif
        return text;
    }

    test::TrackFixture fixture;
    test::ExecutableAt ridoved{fixture.dir.file("Ridoved.exe")};
    std::ostringstream out;
    std::ostringstream err;
};

TEST(RidovedCommandLine, StageSelectionAndUsage)
{
    EXPECT_EQ(stageSelection({"10", "x", "0", "10", "12"}), (std::set<std::int32_t>{10, 12}));
    EXPECT_EQ(stageSelection({"-4", " 7abc", "+3"}), (std::set<std::int32_t>{-4, 3, 7}));
    EXPECT_TRUE(stageSelection({"x", "0"}).empty());
    std::ostringstream text;
    writeUsage(text);
    EXPECT_EQ(text.str(), usage);
}

TEST(RidovedListing, LinesForEveryOption)
{
    tracks::TrackCondition condition(legacy::support::WeatherEntry{10, 0, 0, 0, 0, 0}, 0);
    tracks::TrackCondition unset(legacy::support::WeatherEntry{99, -1, 3, 1, 9, 2}, 2);
    struct Case {
        ListingOptions options;
        const char* expected;
    };
    const Case cases[] = {
        {{false, false, false},
         "Stage Number;Stage Name;Tint Set;Conditions;Sky;Time Of Day;Surface;Track\n"
         "10;Kaihuavaara;M;crisp;clear;morning;dry;new\n"
         "99;Stage 99;;heavyfog;heavycloud;noon;wet;worn\n"
         "99;invalid stage\n"},
        {{true, false, false},
         "Stage Number;Stage Name;Tint Set;Conditions;Sky;Time Of Day;Surface;Track\n"
         "10;Kaihuavaara;0;0;0;0;0;0\n"
         "99;Stage 99;-1;9;3;1;2;2\n"
         "99;invalid stage\n"},
        {{true, true, true},
         "Stage Number;Tint Set;Conditions;Sky;Time Of Day;Surface;Track\n"
         "10;0;0;0;0;0;0\n"
         "99;-1;9;3;1;2;2\n"
         "99\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        std::ostringstream csv;
        ListingWriter writer(csv);
        writer.writeHeader(c.options.omitName);
        writer.writeCondition(condition, c.options);
        writer.writeCondition(unset, c.options);
        writer.writeInvalidStage(99, c.options);
        EXPECT_EQ(csv.str(), c.expected);
    }
}

TEST_F(RidovedRun, AllStagesWithTheirConsole)
{
    EXPECT_EQ(run({}), 0);
    EXPECT_EQ(csv(),
              "Stage Number;Stage Name;Tint Set;Conditions;Sky;Time Of Day;Surface;Track\n"
              "10;Kaihuavaara;M;crisp;clear;morning;dry;new\n"
              "10;Kaihuavaara;M;crisp;clear;morning;dry;normal\n"
              "10;Kaihuavaara;M;crisp;clear;morning;damp;new\n"
              "10;Kaihuavaara;M;crisp;clear;morning;damp;normal\n"
              "10;Kaihuavaara;M;crisp;clear;morning;wet;new\n"
              "10;Kaihuavaara;M;crisp;clear;morning;wet;normal\n"
              "12;invalid stage\n");
    EXPECT_EQ(out.str(), "\nRidoved.csv successfully written.\n");
    EXPECT_EQ(err.str(),
              "invalid TrackSettings section '10O_crisp_clear'\n"
              "\nProcessing stages\n"
              "Validating map 10 ...\n"
              "10 --> M/dry/new valid\n"
              "10 --> M/dry/normal valid\n"
              "Ground in t_M_textures\\dry\\worn\\Ground.dds (mapped to t_m_textures\\dry\\worn\\ground.dds) not found\n"
              "10 --> M/dry/worn not valid (1 textures missing)\n"
              "10 --> M/damp/new valid\n"
              "10 --> M/damp/normal valid\n"
              "Ground in t_M_textures\\damp\\worn\\Ground.dds (mapped to t_m_textures\\damp\\worn\\ground.dds) not found\n"
              "10 --> M/damp/worn not valid (1 textures missing)\n"
              "10 --> M/wet/new valid\n"
              "10 --> M/wet/normal valid\n"
              "Ground in t_M_textures\\wet\\worn\\Ground.dds (mapped to t_m_textures\\wet\\worn\\ground.dds) not found\n"
              "10 --> M/wet/worn not valid (1 textures missing)\n"
              "10 --> OK (6)\n"
              "Validating map 12 ...\n"
              "12 --> invalid\n"
              "\n");
    // The records are beside the program and make the second run check nothing.
    EXPECT_NE(fixture.dir.read("Maps/TrackValidation.ini").find("M/wet/worn=0"), std::string::npos);
}

TEST_F(RidovedRun, NamedStagesAndOptions)
{
    fixture.writeFile("Viduzuz.ini", "[Ridoved]\nemitNumbers=1\nomitName=true\nomitInvalid=0\n");
    run({"12", "99", "x", "10", "12"});
    EXPECT_EQ(csv(),
              "Stage Number;Tint Set;Conditions;Sky;Time Of Day;Surface;Track\n"
              "10;0;0;0;0;0;0\n10;0;0;0;0;0;1\n10;0;0;0;0;1;0\n10;0;0;0;0;1;1\n10;0;0;0;0;2;0\n10;0;0;0;0;2;1\n"
              "12\n99\n");
    const std::string console = err.str();
    EXPECT_NE(console.find("Validating map 99 ...\n99 --> invalid\n"), std::string::npos);
    EXPECT_LT(console.find("Validating map 10"), console.find("Validating map 12"));

    fixture.writeFile("Viduzuz.ini", "[Ridoved]\nomitInvalid=1\n");
    run({"99"});
    EXPECT_EQ(csv(), "Stage Number;Stage Name;Tint Set;Conditions;Sky;Time Of Day;Surface;Track\n");
    // Named stages: the settings are read when the first stage needs them.
    EXPECT_EQ(err.str(), "\nProcessing stages\nValidating map 99 ...\n"
                         "invalid TrackSettings section '10O_crisp_clear'\n99 --> invalid\n\n");
}

TEST_F(RidovedRun, UsageMissingTracksFileAndUnwritableListing)
{
    run({"x", "0"});
    EXPECT_EQ(out.str(), usage);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(csv(), "") << "no listing is written";

    fixture.writeFile("Ridoved.csv", "old listing");
    std::filesystem::remove(fixture.dir.path() / "Maps/Tracks.ini");
    run({});
    const std::string expectedPath = platform::fullPath("Maps\\Tracks.ini").value();
    EXPECT_EQ(err.str(), "Tracks file '" + expectedPath + "' not found.\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(csv(), "old listing") << "the listing is not touched";

    fixture.writeFile("Maps/Tracks.ini", "");
    std::filesystem::remove(fixture.dir.path() / "Ridoved.csv");
    std::filesystem::create_directory(fixture.dir.path() / "Ridoved.csv");
    run({});
    EXPECT_EQ(err.str(), "Could not open file 'Ridoved.csv' for writing!\n");
    EXPECT_EQ(out.str(), "");
}

TEST_F(RidovedRun, SettingsWithoutValidSectionsGiveOnlyTheHeader)
{
    fixture.writeFile("Maps/TrackSettings.ini", "[7_crisp_clear]\n[10M_foggy_clear]\n");
    run({});
    EXPECT_EQ(csv(), "Stage Number;Stage Name;Tint Set;Conditions;Sky;Time Of Day;Surface;Track\n");
    EXPECT_EQ(err.str(), "section '10M_foggy_clear' has unknown conditions value: 'foggy'\n"
                         "\nProcessing stages\n\n");
    EXPECT_EQ(out.str(), "\nRidoved.csv successfully written.\n");
}

} // namespace
} // namespace zudo::tools::ridoved
