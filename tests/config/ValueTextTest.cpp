// Text forms of setting values, fed as strings.
#include <gtest/gtest.h>

#include <climits>
#include <locale>

#include "config/ValueText.hpp"

using namespace zudo::config;

TEST(SettingText, BoolReadsTrueFalseOrTheLeadingIntegerOne)
{
    for (const char* text : {"true", "TRUE", "True", "1", "01", "+1", "1abc", "1.9"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(parsedSetting<bool>(text));
    }
    for (const char* text : {"false", "FALSE", "yes", "on", "2", "-1", "0", "", "truth", "x1"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parsedSetting<bool>(text));
    }
    EXPECT_EQ(settingText(true), "1");
    EXPECT_EQ(settingText(false), "0");
}

TEST(SettingText, IntIsTheLeadingDecimalIntegerClampedToItsRange)
{
    const std::pair<const char*, int> cases[] = {
        {"42", 42},        {"  -7x", -7},       {"+5", 5},           {"abc", 0},
        {"", 0},           {"- 5", 0},          {"3.9", 3},          {"0x10", 0},
        {"2147483647", INT_MAX}, {"99999999999", INT_MAX}, {"-2147483648", INT_MIN},
        {"-99999999999999999999999", INT_MIN},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parsedSetting<int>(text), expected);
    }
    EXPECT_EQ(settingText(-40), "-40");
}

TEST(SettingText, UnsignedAndFloatAreStreamExtractions)
{
    const std::pair<const char*, unsigned> counts[] = {
        {"42", 42u}, {"4294967295", 4294967295u}, {"4294967296", 0u}, {"-1", 0u},
        {"abc", 0u}, {"", 0u},                    {" 7 8", 7u},
    };
    for (const auto& [text, expected] : counts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parsedSetting<unsigned>(text), expected);
    }
    const std::pair<const char*, float> numbers[] = {
        {"1.25", 1.25f}, {"0,5", 0.0f}, {"-2.5", -2.5f}, {"1e3", 1000.0f},
        {".5", 0.5f},    {"x", 0.0f},   {"", 0.0f},      {"1e999", 0.0f},
    };
    for (const auto& [text, expected] : numbers) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parsedSetting<float>(text), expected);
    }
    EXPECT_EQ(settingText(4000000000u), "4000000000");
    EXPECT_EQ(settingText(1.3f), "1.3");
    EXPECT_EQ(settingText(58.0f), "58");
    EXPECT_EQ(settingText(0.1f), "0.1");
    EXPECT_EQ(settingText(1234567.0f), "1.23457e+06");
    EXPECT_EQ(settingText(-0.000125f), "-0.000125");
}

TEST(SettingText, VectorsAndListsAreSeparatedByWhiteSpace)
{
    EXPECT_EQ(parsedSetting<Vector3>("1 2.5 -3"), (Vector3{1.0f, 2.5f, -3.0f}));
    EXPECT_EQ(parsedSetting<Vector3>(" 1\t2   3 "), (Vector3{1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(parsedSetting<Vector3>("1 2"), (Vector3{1.0f, 2.0f, 0.0f}));
    EXPECT_EQ(parsedSetting<Vector3>("1 x 3"), (Vector3{1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(parsedSetting<Vector3>(""), Vector3{});
    EXPECT_EQ(settingText(Vector3{0.0f, 1.0f, 0.5f}), "0 1 0.5");

    EXPECT_EQ(parsedSetting<FloatList>("0.5 1 2"), (FloatList{0.5f, 1.0f, 2.0f}));
    EXPECT_EQ(parsedSetting<FloatList>("1 x 2"), (FloatList{1.0f}));
    EXPECT_TRUE(parsedSetting<FloatList>("").empty());
    EXPECT_EQ(settingText(FloatList{0.25f, 1.0f, 4.0f}), "0.25 1 4");
    EXPECT_EQ(settingText(FloatList{}), "");
}

namespace {
struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};
} // namespace

TEST(SettingText, TheUsersLocaleChangesNothing)
{
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
    const std::string written = settingText(1234.5f);
    const float read = parsedSetting<float>("0.5");
    const float comma = parsedSetting<float>("0,5");
    const Vector3 vector = parsedSetting<Vector3>("1.5 2.5 3.5");
    const std::string count = settingText(1234567);
    std::locale::global(previous);

    EXPECT_EQ(written, "1234.5");
    EXPECT_EQ(read, 0.5f);
    EXPECT_EQ(comma, 0.0f);
    EXPECT_EQ(vector, (Vector3{1.5f, 2.5f, 3.5f}));
    EXPECT_EQ(count, "1234567");
}
