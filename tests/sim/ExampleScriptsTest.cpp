// The example scripts of a whole hotlap and a whole rally, run by zudo-sim on
// the sample installation as scripts/run-sample.sh runs them: what the
// driver sees at each step (messages, status texts, rows) and the files the
// plug-in leaves (records, progress).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "SimProcess.hpp"
#include "support/TempDir.hpp"

namespace {

using zudo::test::SimRun;

class ExampleScripts : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string command = "bash \"" ZUDO_SOURCE_DIR "/examples/make-installation.sh\" \"" +
                                    dir.file("game") + "\" >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    SimRun run(const std::string& script)
    {
        return zudo::test::runProgram(ZUDO_SIM_PROGRAM,
                                      {"--plugin", ZUZUZEVO_PLUGIN, "--install", dir.file("game"), "--script",
                                       ZUDO_SOURCE_DIR "/examples/scripts/" + script, "--screenshots", "shots"},
                                      dir.str());
    }

    static std::vector<std::string> lines(const std::string& text)
    {
        std::vector<std::string> result;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            result.push_back(line);
        }
        return result;
    }
    static std::vector<std::string> matching(const std::string& trace, const std::string& prefix)
    {
        std::vector<std::string> found;
        for (const std::string& line : lines(trace)) {
            if (line.rfind(prefix, 0) == 0) {
                found.push_back(line);
            }
        }
        return found;
    }
    // Whether the line occurs in the trace after the script line `after`.
    static bool drawnAfter(const std::string& trace, const std::string& after, const std::string& line)
    {
        const std::size_t start = trace.find("\n# " + after + "\n");
        return start != std::string::npos && trace.find("\n" + line + "\n", start) != std::string::npos;
    }
    std::string pluginFile(const std::string& name) const
    {
        return zudo::test::readFile(dir.path() / "game" / "Plugins" / "Zuzuzevo" / name);
    }

    zudo::test::TempDir dir;
};

TEST_F(ExampleScripts, AWholeHotlap)
{
    const SimRun result = run("hotlap.txt");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const std::string& trace = result.output;
    EXPECT_EQ(matching(trace, "HostCall startStage ").size(), 1U);
    // A first drive: no record, no best of other rallies, no result of the
    // game: every difference is 0, green, and "Stg" is left out.
    EXPECT_EQ(matching(trace, "ShowMessage"),
              (std::vector<std::string>{"ShowMessage \"S1: Bst +00:00.000 Ovl +00:00.000\" 20 2 2",
                                        "ShowMessage \"S2: Bst +00:00.000 Ovl +00:00.000\" 20 2 2",
                                        "ShowMessage \"F: Bst +00:00.000 Ovl +00:00.000\" 20 2 2"}));
    EXPECT_EQ(matching(trace, "BeginPage 0 0 640 240").size(), 2U) << "the results over both result frames";
    // Back in the menus after the results.
    EXPECT_TRUE(drawnAfter(trace, "draw 2", "DrawText 5 25 \"Save Hotlap Record\""));
    EXPECT_TRUE(drawnAfter(trace, "draw 2", "DrawText 2 465 \"Hotlap finished. Time improved.\""));
    EXPECT_NE(trace.find("DrawText 2 465 \"Hotlap record saved.\""), std::string::npos);

    const std::filesystem::path shots = dir.path() / "shots";
    for (const char* shot : {"hotlap-list", "hotlap-page", "weather-options", "hotlap-ready", "results",
                             "hotlap-finished", "hotlap-record-saved"}) {
        EXPECT_TRUE(std::filesystem::exists(shots / (std::string(shot) + ".png"))) << shot;
    }
}

TEST_F(ExampleScripts, AWholeRallyWithServiceADnfAndSavedProgress)
{
    const SimRun result = run("rally.txt");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const std::string& trace = result.output;
    EXPECT_EQ(matching(trace, "HostCall startStage ").size(), 4U) << "stage 2 twice";
    EXPECT_NE(trace.find("HostCall serviceParkShow"), std::string::npos) << "the game's service park after stage 1";
    EXPECT_NE(trace.find("HostCall loadRepairIni \"Cars\\\\Car00\\\\repair.ini\""), std::string::npos);
    EXPECT_NE(trace.find("DrawText 2 465 \"Save Progress succeeded.\""), std::string::npos);
    EXPECT_NE(trace.find("DrawText 2 465 \"Load Progress succeeded.\""), std::string::npos);
    EXPECT_NE(trace.find("DrawText 184 227 \"DNF\""), std::string::npos) << "stage 2's time in the standings";
    EXPECT_NE(trace.find("DrawText 2 465 \"Rally finished. Time improved.\""), std::string::npos);
    EXPECT_NE(trace.find("DrawText 2 465 \"Rally record saved.\""), std::string::npos);

    // The record: one line per stage with its finish time in milliseconds.
    const std::vector<std::string> records = lines(pluginFile("Three Stage Rally.tm2"));
    ASSERT_EQ(records.size(), 3U);
    EXPECT_EQ(records[0].rfind("3 41 0 28500 57750 88500 ", 0), 0U) << records[0];
    EXPECT_EQ(records[1].rfind("3 20 0 31000 62500 94250 ", 0), 0U) << records[1];
    EXPECT_EQ(records[2].rfind("3 10 0 25500 51000 79750 ", 0), 0U) << records[2];
    // The progress saved after stage 1: stage 1 driven, the others not.
    const std::vector<std::string> progress = lines(pluginFile("Three Stage Rally.prs"));
    ASSERT_EQ(progress.size(), 3U);

    const std::filesystem::path shots = dir.path() / "shots";
    for (const char* shot : {"rally-list", "rally-page", "rally-results", "service-park", "progress-saved",
                             "stage-dnf", "progress-loaded", "rally-finished", "rally-record-saved"}) {
        EXPECT_TRUE(std::filesystem::exists(shots / (std::string(shot) + ".png"))) << shot;
    }
}

} // namespace
