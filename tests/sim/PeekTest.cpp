// Scripts that read the simulated game's memory: peek and peek-crc, read as
// script lines and run by zudo-sim with the echo plug-in (which reads nothing
// of the game, so every value is the simulated game's own or the script's).

#include <gtest/gtest.h>

#include <filesystem>

#include "SimProcess.hpp"
#include "sim/driver/Script.hpp"
#include "support/TempDir.hpp"

namespace {

using zudo::sim::ScriptError;
using zudo::sim::parseScriptLine;
namespace event = zudo::sim::event;

TEST(PeekLine, TargetsCountsAndLengths)
{
    const auto peek = std::get<event::Peek>(parseScriptLine("peek *0x7C36A8+80 2  # both counts", 1)->event);
    EXPECT_TRUE(peek.indirect);
    EXPECT_EQ(peek.address, 0x7C36A8u);
    EXPECT_EQ(peek.offset, 80u);
    EXPECT_EQ(peek.count, 2u);
    EXPECT_EQ(peek.target, "*0x7C36A8+80");
    EXPECT_EQ(std::get<event::Peek>(parseScriptLine("peek 0x16607F8", 1)->event).count, 1u);

    const auto crc = std::get<event::PeekCrc>(parseScriptLine("peek-crc 0x7D34C8 7656", 1)->event);
    EXPECT_FALSE(crc.indirect);
    EXPECT_EQ(crc.address, 0x7D34C8u);
    EXPECT_EQ(crc.offset, 0u);
    EXPECT_EQ(crc.length, 7656u);

    for (const char* bad : {"peek", "peek 0x10 0", "peek 0x10 4097", "peek 0x10 1 2", "peek \"0x10\"",
                            "peek 0x10+x", "peek-crc 0x10", "peek-crc 0x10 0", "peek-crc *zz 4"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(parseScriptLine(bad, 7), ScriptError);
    }
}

class PeekProgram : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(dir.path() / "game"); }

    zudo::test::SimRun run(const std::string& script)
    {
        dir.write("script.txt", script);
        return zudo::test::runProgram(
            ZUDO_SIM_PROGRAM, {"--plugin", ECHO_PLUGIN, "--install", dir.file("game"), "--script", "script.txt"},
            dir.str());
    }

    zudo::test::TempDir dir;
};

TEST_F(PeekProgram, ValuesAndChecksumsOfTheGamesMemoryGoToTheTrace)
{
    const zudo::test::SimRun result = run("set-int 0x16607F8+12 41\n"
                                          "set-int 0x16607F8+16 -3\n"
                                          "peek 0x16607F8+12 3\n"
                                          "peek *0x7C36A8+80 2\n"
                                          "set-int 0x500000 0x64636261\n"
                                          "peek-crc 0x500000 4\n"
                                          "peek-crc 0x7D34C8 24\n");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.output, "plugin \"Echo\"\n"
                             "# set-int 0x16607F8+12 41\n"
                             "# set-int 0x16607F8+16 -3\n"
                             "# peek 0x16607F8+12 3\n"
                             "Peek 0x16607F8+12 41 -3 0\n"
                             "# peek *0x7C36A8+80 2\n"
                             "Peek *0x7C36A8+80 4 6\n" // the simulated game's good and bad list lengths
                             "# set-int 0x500000 0x64636261\n"
                             "# peek-crc 0x500000 4\n"
                             "PeekCrc 0x500000 4 0xED82CD11\n" // "abcd"
                             "# peek-crc 0x7D34C8 24\n"
                             "PeekCrc 0x7D34C8 24 0x22E4AF07\n"); // entry 0: stage 1, all else 0
}

TEST_F(PeekProgram, MemoryOutsideTheGameStopsTheScript)
{
    for (const char* line : {"peek 0x7FFFFFF0", "peek *0x10", "peek 0x17FFFFC 2", "peek-crc 0xFFFFFFF0 32"}) {
        SCOPED_TRACE(line);
        const zudo::test::SimRun result = run(std::string(line) + "\n");
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.errors.find("line 1"), std::string::npos) << result.errors;
        EXPECT_NE(result.errors.find("outside the simulated host memory"), std::string::npos) << result.errors;
    }
}

} // namespace
