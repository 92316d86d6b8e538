// The hand-written number reader of the saved text forms, and the classic
// white space and letter case rules it and the rally readers share.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "util/ClassicText.hpp"
#include "util/StreamNumbers.hpp"

namespace zudo::test {
namespace {

using util::readNumber;

struct Outcome {
    std::int64_t value = 0;
    bool fail = false;
    bool eof = false;
    std::string left; // what the stream still holds afterwards
};

template <class Integer, class Read>
Outcome readFrom(const std::string& text, Integer start, Read read)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    Integer value = start;
    read(in, value);
    Outcome outcome{static_cast<std::int64_t>(value), in.fail(), in.eof(), {}};
    in.clear();
    outcome.left.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return outcome;
}

Outcome read32(const std::string& text, std::int32_t start = 77)
{
    return readFrom<std::int32_t>(text, start, [](std::istream& in, std::int32_t& v) { readNumber(in, v); });
}

Outcome read64(const std::string& text, std::int64_t start = 77)
{
    return readFrom<std::int64_t>(text, start, [](std::istream& in, std::int64_t& v) { readNumber(in, v); });
}

void expectOutcome(const Outcome& got, std::int64_t value, bool fail, bool eof, const std::string& left)
{
    EXPECT_EQ(got.value, value);
    EXPECT_EQ(got.fail, fail);
    EXPECT_EQ(got.eof, eof);
    EXPECT_EQ(got.left, left);
}

// The rules of the saved text forms' numbers, case by case: the value, the
// state and where the stream stands afterwards.
TEST(StreamNumbers, ReadsWholeNumbersByTheRulesOfTheTextForms)
{
    struct Case {
        const char* text;
        std::int64_t value;
        bool fail;
        bool eof;
        const char* left;
    };
    const std::vector<Case> cases{
        {"42 7", 42, false, false, " 7"},
        {"-42", -42, false, true, ""},                       // the end reached: eofbit, no failure
        {"+42x", 42, false, false, "x"},                     // stops at the first non-digit
        {" \t\r\n\v\f13 ", 13, false, false, " "},           // every classic white space is skipped
        {"007", 7, false, true, ""},
        {"-0", 0, false, true, ""},
        {"12.5", 12, false, false, ".5"},                    // no fractions: the dot is left
        {"2147483647", 2147483647, false, true, ""},
        {"-2147483648", -2147483648LL, false, true, ""},
        {"2147483648", 2147483647, true, true, ""},          // beyond the range: the limit, failed,
        {"-2147483649 1", -2147483648LL, true, false, " 1"}, // every digit read
        {"99999999999999999999999", 2147483647, true, true, ""},
        {"x1", 0, true, false, "x1"},                         // no digit: 0, failed, nothing taken
        {"-", 0, true, true, ""},
        {"+-1", 0, true, false, "-1"},
        {"--1", 0, true, false, "-1"},
        {"- 1", 0, true, false, " 1"},
        {"\xA0" "5", 0, true, false, "\xA0" "5"},               // a non-ASCII byte is no white space
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        expectOutcome(read32(c.text), c.value, c.fail, c.eof, c.left);
    }
    // Only white space, or nothing: eofbit and failbit, the value untouched.
    for (const char* text : {"", "   ", "\n"}) {
        SCOPED_TRACE(std::string("text \"") + text + "\"");
        expectOutcome(read32(text, 77), 77, true, true, "");
    }
}

TEST(StreamNumbers, SixtyFourBitNumbersHaveTheirOwnLimits)
{
    expectOutcome(read64("133543050415000000 3"), 133543050415000000LL, false, false, " 3");
    expectOutcome(read64("9223372036854775807"), std::numeric_limits<std::int64_t>::max(), false, true, "");
    expectOutcome(read64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min(), false, true, "");
    expectOutcome(read64("9223372036854775808"), std::numeric_limits<std::int64_t>::max(), true, true, "");
    expectOutcome(read64("-9223372036854775809"), std::numeric_limits<std::int64_t>::min(), true, true, "");
    expectOutcome(read64("2147483648"), 2147483648LL, false, true, "");
}

TEST(StreamNumbers, AFailedOrEndedStreamReadsNothing)
{
    std::istringstream in("5 6");
    std::int32_t value = 1;
    in.setstate(std::ios_base::failbit);
    readNumber(in, value);
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(in.fail());

    std::istringstream ended("5");
    readNumber(ended, value);
    EXPECT_EQ(value, 5);
    ASSERT_TRUE(ended.eof());
    EXPECT_FALSE(ended.fail());
    readNumber(ended, value); // after the end: fails like operator>>
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(ended.fail());
}

TEST(StreamNumbers, AStreamSwitchedToThrowThrowsAfterTheValueIsSet)
{
    std::istringstream in("12 x");
    in.exceptions(std::ios_base::failbit | std::ios_base::badbit);
    std::int32_t first = 0;
    readNumber(in, first);
    EXPECT_EQ(first, 12);
    std::int32_t second = 5;
    EXPECT_THROW(readNumber(in, second), std::ios_base::failure);
    EXPECT_EQ(second, 0) << "set before the failure is raised, as operator>> sets it";

    std::istringstream big("3000000000");
    big.exceptions(std::ios_base::failbit);
    std::int32_t limited = 0;
    EXPECT_THROW(readNumber(big, limited), std::ios_base::failure);
    EXPECT_EQ(limited, std::numeric_limits<std::int32_t>::max());

    std::istringstream blank("  ");
    blank.exceptions(std::ios_base::failbit);
    std::int32_t untouched = 9;
    EXPECT_THROW(readNumber(blank, untouched), std::ios_base::failure);
    EXPECT_EQ(untouched, 9);
}

// The reader stands in for the stream's own operator>>: over texts built
// from the pieces the rules name, both give the same value, state and rest.
TEST(StreamNumbers, AgreesWithTheStreamsOwnOperatorOverEveryCombination)
{
    const std::vector<std::string> leads{"", " ", "\t\n", "x"};
    const std::vector<std::string> signs{"", "-", "+", "--"};
    const std::vector<std::string> digits{"", "0", "00", "7", "2147483647", "2147483648", "4294967296",
                                          "9223372036854775807", "9223372036854775808", "123456789012345678901"};
    const std::vector<std::string> tails{"", " ", "x", ".5", std::string("\0a", 2)};
    int compared = 0;
    for (const std::string& lead : leads) {
        for (const std::string& sign : signs) {
            for (const std::string& number : digits) {
                for (const std::string& tail : tails) {
                    const std::string text = lead + sign + number + tail;
                    SCOPED_TRACE("text \"" + text + "\"");
                    const auto standard32 = readFrom<std::int32_t>(
                        text, 77, [](std::istream& in, std::int32_t& v) { in >> v; });
                    const auto standard64 = readFrom<std::int64_t>(
                        text, 77, [](std::istream& in, std::int64_t& v) { in >> v; });
                    const Outcome own32 = read32(text);
                    const Outcome own64 = read64(text);
                    EXPECT_EQ(own32.value, standard32.value);
                    EXPECT_EQ(own32.fail, standard32.fail);
                    EXPECT_EQ(own32.eof, standard32.eof);
                    EXPECT_EQ(own32.left, standard32.left);
                    EXPECT_EQ(own64.value, standard64.value);
                    EXPECT_EQ(own64.fail, standard64.fail);
                    EXPECT_EQ(own64.eof, standard64.eof);
                    EXPECT_EQ(own64.left, standard64.left);
                    ++compared;
                }
            }
        }
    }
    EXPECT_EQ(compared, 4 * 4 * 10 * 5);
}

TEST(ClassicText, TrimsClassicWhiteSpaceAndComparesAsciiLettersOnly)
{
    std::string text = " \t\v\f\r\n Car Name \r\n";
    util::trimClassicSpace(text);
    EXPECT_EQ(text, "Car Name");
    std::string inner = "\xA0name\xA0"; // not white space in the classic locale
    util::trimClassicSpace(inner);
    EXPECT_EQ(inner, "\xA0name\xA0");
    std::string blank = " \t ";
    util::trimClassicSpace(blank);
    EXPECT_EQ(blank, "");

    EXPECT_TRUE(util::equalsIgnoringClassicCase("TrackName", "trackname"));
    EXPECT_TRUE(util::equalsIgnoringClassicCase("STAGE", "stage"));
    EXPECT_FALSE(util::equalsIgnoringClassicCase("stage", "stages"));
    EXPECT_FALSE(util::equalsIgnoringClassicCase("st@ge", "st`ge")) << "only letters fold";
    EXPECT_FALSE(util::equalsIgnoringClassicCase("\xC4", "\xE4")) << "bytes above 127 are themselves";
}

} // namespace
} // namespace zudo::test
