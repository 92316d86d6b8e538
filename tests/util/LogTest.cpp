// Log records with the logging switch on: the line format, the file name and
// the directory.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <vector>

#include "platform/Platform.hpp"
#include "support/LogCapture.hpp"
#include "util/Log.hpp"

namespace {

using namespace zudo::util;

std::string textOf(const Hex& hex)
{
    std::ostringstream out;
    out << hex;
    return out.str();
}

class LogFile : public ::testing::Test {
protected:
    std::vector<std::string> linesOf(const std::string& name) const { return capture.lines(name); }

    zudo::test::LogCapture capture;
    const zudo::test::TempDir& directory = capture.directory();
};

} // namespace

TEST(Hex, PadsToTheWidthWithZeros)
{
    EXPECT_EQ(textOf(Hex(255, 8)), "0x000000ff");
    EXPECT_EQ(textOf(Hex(255, 0)), "0xff");
    EXPECT_EQ(textOf(Hex(255)), "0xff");
    EXPECT_EQ(textOf(Hex(0xABCDEF12u, 4)), "0xabcdef12"); // never cut
    EXPECT_EQ(textOf(Hex(0, 2)), "0x00");
    EXPECT_EQ(textOf(Hex(static_cast<std::uint32_t>(-1))), "0xffffffff");
    EXPECT_EQ(textOf(Hex(reinterpret_cast<const void*>(std::uintptr_t{0x7eac48}))),
              "0x007eac48");
}

TEST(LogLinePrefix, FixedWidthFieldsAndYearAsItIs)
{
    zudo::platform::CalendarTime time;
    time.year = 2024;
    time.month = 3;
    time.day = 7;
    time.hour = 9;
    time.minute = 5;
    time.second = 4;
    time.milliseconds = 7;
    EXPECT_EQ(logLinePrefix(time, 12, 345), "07.03.2024 09:05:04.007 [12:345]:");

    time.year = 987;
    time.month = 12;
    time.day = 31;
    time.hour = 23;
    time.minute = 59;
    time.second = 58;
    time.milliseconds = 999;
    EXPECT_EQ(logLinePrefix(time, 4294967295u, 0), "31.12.987 23:59:58.999 [4294967295:0]:");
}

TEST_F(LogFile, EachEndedRecordIsOneLineWithItsOwnPrefix)
{
    Log log;
    ASSERT_TRUE(log.isEnabled());
    log << "zudo::io::Example::run() - " << "flag = " << true << "  other = " << false
        << "  count = " << 42 << "  hex = " << Hex(255, 8) << endLog;
    log << "second" << endLog;

    const auto lines = linesOf("Zuzuzevo.log");
    ASSERT_EQ(lines.size(), 2u);
    const std::string ids = "\\[" + std::to_string(zudo::platform::processId()) + ":" +
                            std::to_string(zudo::platform::threadId()) + "\\]:";
    const std::string stamp = "\\d{2}\\.\\d{2}\\.\\d{4} \\d{2}:\\d{2}:\\d{2}\\.\\d{3} ";
    EXPECT_TRUE(std::regex_match(
        lines[0], std::regex(stamp + ids +
                             " zudo::io::Example::run\\(\\) - flag = true  other = false"
                             "  count = 42  hex = 0x000000ff")))
        << lines[0];
    // The record was cleared: the second line holds only its own text.
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(stamp + ids + " second"))) << lines[1];
}

TEST_F(LogFile, LinesAreAppendedToWhatTheFileHolds)
{
    directory.write("Zuzuzevo.log", "earlier line\n");
    Log log;
    log << "new" << endLog;
    const auto lines = linesOf("Zuzuzevo.log");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "earlier line");
}

TEST_F(LogFile, TheListingToolWritesItsOwnFile)
{
    EXPECT_EQ(logFileName(), "Zuzuzevo.log");
    useListingToolLog();
    EXPECT_EQ(logFileName(), "Ridoved.log");
    Log log;
    log << "tool" << endLog;
    EXPECT_EQ(linesOf("Ridoved.log").size(), 1u);
    EXPECT_TRUE(linesOf("Zuzuzevo.log").empty());
}

TEST_F(LogFile, DefaultsToTheUsersTemporaryDirectory)
{
    setLogDirectory("");
    EXPECT_EQ(logFilePath(), zudo::platform::tempDirectory() + "Zuzuzevo.log");
}

TEST_F(LogFile, ALineThatCannotBeWrittenIsLostQuietly)
{
    setLogDirectory(directory.file("missing/"));
    Log log;
    EXPECT_NO_THROW(log << "lost" << endLog);
    EXPECT_TRUE(log.str().empty());
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "missing"));
}
