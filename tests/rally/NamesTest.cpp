#include <gtest/gtest.h>

#include "rally/Names.hpp"

using namespace zudo::rally;

TEST(Names, TyreWordsMatchEitherOrderAndShortened)
{
    struct Case {
        const char* first;
        const char* second;
        int index;
    };
    const Case cases[] = {
        {"gravel", "wet", 5}, {"wet", "gravel", 5},  {"snow", "", 6},     {"SNOW", "tyres", 6},
        {"Wet", "", 2},       {"g", "", 3},          {"int", "tar", 1},   {"t", "i", 1},
        {"", "", 0},          {"dry", "", 0},        {"gravel", "x", -1}, {"ice", "", -1},
        {"snowy", "", -1},    {"Gravel Wet", "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + "|" + c.second);
        EXPECT_EQ(tyreIndexForWords(c.first, c.second), c.index);
    }
}

TEST(Names, SkillTextsMatchTheFirstNameTheyStart)
{
    EXPECT_EQ(skillName(0), "Inexperienced"); // outside 1..5: the name of 1
    EXPECT_EQ(skillCodeForText("Exp"), 5);
    EXPECT_EQ(skillCodeForText("competent"), 3);
    EXPECT_EQ(skillCodeForText("S"), 4);
    EXPECT_EQ(skillCodeForText(""), 1);
    EXPECT_EQ(skillCodeForText("none"), 0);
    EXPECT_EQ(skillCodeForText("Experts"), 0);
}
