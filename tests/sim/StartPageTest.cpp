// The plug-in's start page in zudo-sim: the frames worked out from the page's
// layout (title, selection bar, four rows, the status line at the bottom) and
// from the keys that move the bar and step the two options.

#include <gtest/gtest.h>

#include <filesystem>

#include "SimProcess.hpp"
#include "support/StartPageFrame.hpp"
#include "support/TempDir.hpp"

namespace {

using zudo::test::SimRun;

const char* const damageNames[] = {"Off", "Safe", "Reduced", "Realistic"};
const char* const transmissionNames[] = {"Manual", "Automatic"};

// A frame of the start page in the trace: its header line, then the frame.
std::string startFrame(int frame, int selection, const std::string& damage, const std::string& transmission)
{
    std::string trace = "frame " + std::to_string(frame) + " menu\n";
    for (const std::string& call : zudo::test::startPageFrame(selection, damage, transmission)) {
        trace += call + "\n";
    }
    return trace;
}

class StartPage : public ::testing::Test {
protected:
    SimRun run(const std::string& script)
    {
        std::filesystem::create_directories(dir.path() / "game");
        dir.write("script.txt", script);
        return zudo::test::runProgram(ZUDO_SIM_PROGRAM,
                                      {"--plugin", ZUZUZEVO_PLUGIN, "--install", dir.file("game"), "--script",
                                       "script.txt", "--screenshots", "shots"},
                                      dir.str());
    }

    zudo::test::TempDir dir;
};

TEST_F(StartPage, OpensAtTheFirstFrameAndIsDrawnUnchangedAfterwards)
{
    const SimRun result = run("draw 2\n");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    // The game's stored gearbox preference is 0 in a zero-filled host: the
    // page sets the transmission to automatic when it is made.
    EXPECT_EQ(result.output, "plugin \"Zuzuzevo\"\n# draw 2\n" + startFrame(1, 0, "Off", "Automatic") +
                                 startFrame(2, 0, "Off", "Automatic"));
}

TEST_F(StartPage, KeysMoveTheBarAndStepTheOptionsRoundTheirRanges)
{
    struct Step {
        const char* key;
        int selection;
        int damage;
        int transmission;
    };
    // From the top row: up wraps to the transmission row, and so on.
    const Step steps[] = {
        {"key up", 3, 0, 1},     {"key left", 3, 0, 0},   {"key left", 3, 0, 1},   {"key right", 3, 0, 0},
        {"key up", 2, 0, 0},     {"key left", 2, 3, 0},   {"key right", 2, 0, 0},  {"key right", 2, 1, 0},
        {"key select", 2, 1, 0}, {"key up", 1, 1, 0},     {"key left", 1, 1, 0},   {"key right", 1, 1, 0},
        {"key down", 2, 1, 0},   {"key down", 3, 1, 0},   {"key down", 0, 1, 0},   {"char q", 0, 1, 0},
    };
    std::string script = "draw\n";
    std::string expected = "plugin \"Zuzuzevo\"\n# draw\n" + startFrame(1, 0, "Off", "Automatic");
    int frame = 1;
    for (const Step& step : steps) {
        script += std::string(step.key) + "\ndraw\n";
        expected += "# " + std::string(step.key) + "\n# draw\n" +
                    startFrame(++frame, step.selection, damageNames[step.damage],
                               transmissionNames[step.transmission]);
    }
    const SimRun result = run(script);
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.output, expected);
}

TEST_F(StartPage, ShowsTheOptionsTheGameHoldsAndStepsOutOfRangeValuesIntoRange)
{
    const SimRun result = run("set-int 0x16607F8+1700 1   # gearbox preference: manual\n"
                              "set-int 0x16607F8+88 7\n"
                              "draw\n"
                              "set-int 0x16607F8+88 2\n"
                              "set-int 0x16607F8+28 5\n"
                              "draw                        # no key: the page is not built again\n"
                              "key down\n"
                              "draw\n"
                              "set-int 0x16607F8+88 7\n"
                              "key down\n"
                              "key left                    # 7 - 1 is above 3: Off\n"
                              "key down\n"
                              "key left                    # 5 - 1 is above 1: Manual\n"
                              "draw\n");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.output, "plugin \"Zuzuzevo\"\n"
                             "# set-int 0x16607F8+1700 1\n"
                             "# set-int 0x16607F8+88 7\n"
                             "# draw\n" +
                                 startFrame(1, 0, "Unknown", "Manual") +
                                 "# set-int 0x16607F8+88 2\n"
                                 "# set-int 0x16607F8+28 5\n"
                                 "# draw\n" +
                                 startFrame(2, 0, "Unknown", "Manual") + "# key down\n# draw\n" +
                                 startFrame(3, 1, "Reduced", "Unknown") +
                                 "# set-int 0x16607F8+88 7\n# key down\n# key left\n# key down\n# key left\n"
                                 "# draw\n" +
                                 startFrame(4, 3, "Off", "Manual"));
}

TEST_F(StartPage, TheExampleScriptRunsAndLeavesItsPictures)
{
    const std::filesystem::path example = std::filesystem::path(ZUDO_SOURCE_DIR) / "examples/scripts/start-page.txt";
    const SimRun result = run(zudo::test::readFile(example));
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_NE(result.output.find(startFrame(2, 3, "Reduced", "Manual")), std::string::npos) << result.output;
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "shots/start-page-opened.png"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "shots/start-page.png"));
}

TEST_F(StartPage, TheListsExampleScriptShowsBothLists)
{
    // One rally file; the built-in hotlaps need no file (Rally School first).
    dir.write("game/Plugins/Zuzuzevo/Forest.srp", "stage 20\nstage 21\n");
    const std::filesystem::path example = std::filesystem::path(ZUDO_SOURCE_DIR) / "examples/scripts/lists.txt";
    const SimRun result = run(zudo::test::readFile(example));
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    for (const char* line : {"DrawText 5 20 \"Hotlaps\"", "DrawText 5 50 \"Rally School\"",
                             "DrawText 190 50 \"Hotlap Details\"", "DrawText 5 20 \"Rallies\"",
                             "DrawText 5 50 \"Forest\"", "DrawText 190 50 \"Rally Details\"",
                             "DrawText 280 80 \"2\"", "DrawText 280 140 \"no\"",
                             "DrawText 5 425 \"Back\""}) {
        EXPECT_NE(result.output.find(std::string(line) + "\n"), std::string::npos) << line;
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "shots/hotlap-list.png"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "shots/rally-list.png"));
}

} // namespace
