#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "rally/DefinitionLine.hpp"

using zudo::rally::DefinitionLine;
using zudo::rally::parseDefinitionLine;
using zudo::rally::parseWholeNumber;

namespace {

DefinitionLine parsed(const std::string& line)
{
    const auto parts = parseDefinitionLine(line);
    EXPECT_TRUE(parts.has_value()) << line;
    return parts.value_or(DefinitionLine{});
}

} // namespace

TEST(DefinitionLine, CommentsAndBlanksAroundAreCut)
{
    const DefinitionLine stage = parsed("stage 23 My Stage   # comment");
    EXPECT_EQ(stage.key, "stage");
    EXPECT_TRUE(stage.isNumeric);
    EXPECT_EQ(stage.number, 23);
    EXPECT_EQ(stage.rest, "My Stage");

    const DefinitionLine padded = parsed(" \t weather bad\r");
    EXPECT_EQ(padded.key, "weather");
    EXPECT_EQ(padded.value, "bad");
    EXPECT_FALSE(padded.isNumeric);
    EXPECT_EQ(padded.number, -1);
    EXPECT_EQ(padded.rest, "");

    EXPECT_FALSE(parseDefinitionLine("# stage 5").has_value());
    EXPECT_FALSE(parseDefinitionLine("   ").has_value());
    EXPECT_FALSE(parseDefinitionLine("").has_value());
    EXPECT_FALSE(parseDefinitionLine("stage#5").has_value());
    EXPECT_FALSE(parseDefinitionLine("stage").has_value());
}

TEST(DefinitionLine, OnlySingleBlanksSeparate)
{
    // Two blanks make an empty value; the rest keeps its inner spacing.
    const DefinitionLine doubled = parsed("stage  5");
    EXPECT_EQ(doubled.value, "");
    EXPECT_FALSE(doubled.isNumeric);
    EXPECT_EQ(doubled.number, -1);
    EXPECT_EQ(doubled.rest, "5");

    const DefinitionLine inner = parsed("stage 5 Forest  Run  II");
    EXPECT_EQ(inner.rest, "Forest  Run  II");

    // A tab is part of a token.
    const DefinitionLine tabbed = parsed("stage\t5 x");
    EXPECT_EQ(tabbed.key, "stage\t5");
    EXPECT_EQ(tabbed.value, "x");
    EXPECT_FALSE(parseDefinitionLine("stage\t5").has_value());
}

TEST(DefinitionLine, NumbersAreWhole32BitIntegers)
{
    struct Case {
        const char* text;
        bool numeric;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"+7", true, 7},
        {"-12", true, -12},
        {"2147483647", true, std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", true, std::numeric_limits<std::int32_t>::min()},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999999", false, 0},
        {"12x", false, 0},
        {"1.5", false, 0},
        {"0x10", false, 0},
        {"-", false, 0},
        {"+", false, 0},
        {"", false, 0},
        {"--1", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::int32_t value = 0;
        EXPECT_EQ(parseWholeNumber(c.text, value), c.numeric);
        if (c.numeric) {
            EXPECT_EQ(value, c.value);
        }
        const DefinitionLine line = parsed(std::string("key ") + c.text + " tail");
        EXPECT_EQ(line.isNumeric, c.numeric);
        EXPECT_EQ(line.number, c.numeric ? c.value : -1);
    }
}

TEST(DefinitionLine, GarbageNeverBreaksTheSplit)
{
    // Whatever the bytes, the key, value and rest put back together with single
    // blanks are the comment-free line between its trimmed ends.
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 300);
    for (int round = 0; round < 3000; ++round) {
        std::string line(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : line) {
            c = static_cast<char>(byte(random) % 4 == 0 ? ' ' : byte(random));
        }
        const auto parts = parseDefinitionLine(line);
        if (!parts) {
            continue;
        }
        EXPECT_EQ(parts->key.find(' '), std::string::npos);
        EXPECT_EQ(parts->value.find(' '), std::string::npos);
        EXPECT_EQ(parts->key.find('#'), std::string::npos);
        EXPECT_EQ(parts->rest.find('#'), std::string::npos);
        if (!parts->isNumeric) {
            EXPECT_EQ(parts->number, -1);
        }
    }
    const std::string enormous = "stage 5 " + std::string(1 << 20, 'x');
    EXPECT_EQ(parsed(enormous).rest.size(), std::size_t(1) << 20);
}
