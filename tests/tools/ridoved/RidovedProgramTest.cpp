// The listing tool as a program: copied beside a generated installation and
// run there, as a player runs it (the Windows build under Wine).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tracks/TrackFixture.hpp"

namespace {

using zudo::test::withLineEnds;

#ifdef _WIN32
constexpr const char* programName = "Ridoved.exe";
#else
constexpr const char* programName = "Ridoved";
#endif

class RidovedProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::copy_file(RIDOVED_PROGRAM, fixture.dir.path() / programName);
        fixture.writeFile("Maps/Tracks.ini", "[Map10]\nTrackName=Maps\\T\\t\nParticles=p\n");
        fixture.writeFile("Maps/TrackSettings.ini", "[10M_crisp_clear]\n[10M_noon_crisp_clear]\n");
        fixture.writeTrackIni("Maps/T/t", "M", {{"Ground", true}, {"Tree", false}});
        for (const char* surface : {"dry", "damp"}) {
            fixture.writeFile(std::string("Maps/T/T_m_Textures/") + surface + "/Tree.DDS");
            for (const char* wear : {"new", "normal", "worn"}) {
                fixture.writeFile(std::string("Maps/T/T_m_Textures/") + surface + "/" + wear + "/GROUND.dds");
            }
        }
    }

    // Runs the program in the installation with arguments; its streams go to
    // files of the installation.
    int run(const std::string& arguments)
    {
#ifdef _WIN32
        const std::string program = programName; // the command interpreter looks in the current directory
#else
        const std::string program = std::string("./") + programName;
#endif
        const std::string command = program + " " + arguments + " > stdout.txt 2> stderr.txt";
        return std::system(command.c_str());
    }

    zudo::test::TrackFixture fixture;
};

TEST_F(RidovedProgram, ListsTheInstallationAndReusesTheRecords)
{
    EXPECT_EQ(run("10"), 0);
    const std::string header = "Stage Number;Stage Name;Tint Set;Conditions;Sky;Time Of Day;Surface;Track\n";
    std::string lines;
    for (const char* timeOfDay : {"morning", "noon"}) {
        for (const char* surface : {"dry", "damp"}) {
            for (const char* wear : {"new", "normal", "worn"}) {
                lines += std::string("10;Kaihuavaara;M;crisp;clear;") + timeOfDay + ";" + surface + ";" + wear + "\n";
            }
        }
    }
    EXPECT_EQ(fixture.dir.read("Ridoved.csv"), withLineEnds(header + lines));
    EXPECT_EQ(fixture.dir.read("stdout.txt"), withLineEnds("\nRidoved.csv successfully written.\n"));

    std::string console = fixture.dir.read("stderr.txt");
#ifdef _WIN32
    // No game executable anywhere near: one line says so, then the check
    // goes on with the file system.
    const std::string notFound = "The game executable Zoraravi_SSE.exe was not found";
    ASSERT_NE(console.find(notFound), std::string::npos) << console;
    const auto lineStart = console.find(notFound);
    console.erase(lineStart, console.find('\n', lineStart) + 1 - lineStart);
#endif
    std::string expected = "\nProcessing stages\nValidating map 10 ...\n";
    const std::string validDryDamp =
        "10 --> M/dry/new valid\n10 --> M/dry/normal valid\n10 --> M/dry/worn valid\n"
        "10 --> M/damp/new valid\n10 --> M/damp/normal valid\n10 --> M/damp/worn valid\n";
    expected += validDryDamp;
    for (const char* wear : {"new", "normal", "worn"}) {
        expected += std::string("Ground in t_M_textures\\wet\\") + wear + "\\Ground.dds (mapped to t_m_textures\\wet\\" +
                    wear + "\\ground.dds) not found\n";
        expected += "Tree in t_M_textures\\wet\\Tree.dds (mapped to t_m_textures\\wet\\tree.dds) not found\n";
        expected += std::string("10 --> M/wet/") + wear + " not valid (2 textures missing)\n";
    }
    // The second weather entry of the stage finds the records of the first.
    expected += validDryDamp;
    for (const char* wear : {"new", "normal", "worn"}) {
        expected += std::string("10 --> M/wet/") + wear + " not valid (2 textures missing)\n";
    }
    expected += "10 --> OK (12)\n\n";
    EXPECT_EQ(console, withLineEnds(expected));

    // A second run takes every answer from the records: the textures may go.
    std::filesystem::remove_all(fixture.dir.path() / "Maps/T/T_m_Textures");
    EXPECT_EQ(run(""), 0);
    EXPECT_EQ(fixture.dir.read("Ridoved.csv"), withLineEnds(header + lines));
}

TEST_F(RidovedProgram, UsageAndExitStatus)
{
    EXPECT_EQ(run("x 0"), 0);
    EXPECT_EQ(fixture.dir.read("stdout.txt"),
              withLineEnds("Build a track listing file for Zudo stages.\n\nUsage: \n\nRidoved\n\n"
                           "    Build the track listing for all stages.\n\n\nRidoved [stage...]\n\n"
                           "    stage     List of stage numbers, separated by white space.\n\n"
                           "    Build the track listing for the specified stages.\n\n"));
    EXPECT_FALSE(std::filesystem::exists(fixture.dir.path() / "Ridoved.csv"));
}

TEST_F(RidovedProgram, DamagedDataNeverStopsTheRun)
{
    std::string garbage;
    std::uint32_t state = 7;
    for (int i = 0; i < 50000; ++i) {
        state = state * 1103515245u + 12345u;
        garbage += static_cast<char>(state >> 24);
    }
    fixture.writeFile("Maps/TrackSettings.ini", garbage + "\n[10M_crisp_clear]\n");
    fixture.writeFile("Maps/Tracks.ini", garbage + "\n[Map10]\nTrackName=Maps\\T\\t\nParticles=p\n");
    fixture.writeFile("Maps/TextureFilenameMap.dat", garbage);
    fixture.writeFile("Maps/T/t_M.ini", "[TextureInfo]\nNumTextures=99999999\n");
    EXPECT_EQ(run("10"), 0);
    EXPECT_NE(fixture.dir.read("Ridoved.csv").find(withLineEnds("10;invalid stage\n")), std::string::npos);
    EXPECT_NE(fixture.dir.read("stderr.txt").find("declares 99999999 textures"), std::string::npos);
    EXPECT_NE(fixture.dir.read("stdout.txt").find("Ridoved.csv successfully written."), std::string::npos);
}

} // namespace
