#include <gtest/gtest.h>

#include "support/TempDir.hpp"
#include "tracks/StageCatalogue.hpp"

namespace zudo::tracks {
namespace {

StageCatalogue catalogueFrom(const test::TempDir& dir, const std::string& tracksIni)
{
    return StageCatalogue(dir.write("Maps/Tracks.ini", tracksIni));
}

TEST(StageCatalogue, BuiltInNamesAndTheFallbackName)
{
    const test::TempDir dir;
    const StageCatalogue catalogue(dir.file("Maps/Tracks.ini")); // no such file
    EXPECT_EQ(catalogue.stageName(99), "Stage 99");
    EXPECT_EQ(catalogue.stageName(5), "Stage 5");
    EXPECT_EQ(catalogue.stageName(-3), "Stage -3");
    EXPECT_EQ(catalogue.stageName(107), "PTD Rally Sprint");
    EXPECT_EQ(catalogue.stageName(10), "Kaihuavaara");
    EXPECT_EQ(catalogue.stageName(30), "Greenhills II");
    EXPECT_EQ(catalogue.stageName(32), "Greenhills");
    EXPECT_EQ(catalogue.stageName(41), "Cote D'Arbroz");
    EXPECT_EQ(catalogue.stageName(87), "Basic Driving and Changing Gear");
    EXPECT_EQ(catalogue.stageNames().size(), 72u);
    // The gaps of the table have no name.
    for (const int number : {1, 9, 18, 19, 28, 29, 38, 39, 40, 49, 58, 59, 70, 91, 92, 93, 95, 106}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(catalogue.stageNames().count(number), 0u);
    }
}

TEST(StageCatalogue, TracksIniSectionsCompleteTheNames)
{
    const test::TempDir dir;
    const StageCatalogue catalogue = catalogueFrom(dir,
        "[Map99]\nStageName=Test\n"
        "[MAP10]\nStageName = Frozen Lake \n"
        "[Map]\nStageName=no number\n"
        "[Map00]\nStageName=zero\n"
        "[Mapxy]\nStageName=letters\n"
        "[Map-3]\nStageName=negative\n"
        "[Map12b]\nStageName=Twelve\n"
        "[map13]\nStageName=\n"
        "[Map7]\nStageName=first seven\n"
        "[Map07]\nStageName=second seven\n"
        "[Xmap20]\nStageName=not a map\n");
    EXPECT_EQ(catalogue.stageName(99), "Test");
    EXPECT_EQ(catalogue.stageName(10), "Frozen Lake");
    EXPECT_EQ(catalogue.stageName(12), "Twelve");
    EXPECT_EQ(catalogue.stageName(13), "Autiovaara") << "an empty name keeps the built-in one";
    EXPECT_EQ(catalogue.stageName(7), "second seven") << "the last section of a number wins";
    EXPECT_EQ(catalogue.stageName(0), "Stage 0");
    EXPECT_EQ(catalogue.stageName(-3), "Stage -3");
    EXPECT_EQ(catalogue.stageName(20), "Harwood Forest");
    EXPECT_EQ(catalogue.stageNames().size(), 72u + 2u); // 99 and 7 are new; 10 and 12 replaced
}

TEST(StageCatalogue, WordsByCode)
{
    const test::TempDir dir;
    const StageCatalogue catalogue(dir.file("none.ini"));
    EXPECT_EQ(catalogue.tintSetWord(4), "S");
    EXPECT_EQ(catalogue.skyWord(3), "heavycloud");
    EXPECT_EQ(catalogue.skyWord(4), "");
    EXPECT_EQ(catalogue.skyWord(-1), "");
    EXPECT_EQ(catalogue.timeOfDayWord(3), "default");
    EXPECT_EQ(catalogue.conditionsWord(9), "heavyfog");
    EXPECT_EQ(catalogue.conditionsWord(10), "");
    EXPECT_EQ(catalogue.surfaceWord(1), "damp");
    EXPECT_EQ(catalogue.trackWord(2), "worn");
    EXPECT_EQ(catalogue.weatherModeWord(1, true), "Random");
    EXPECT_EQ(catalogue.weatherModeWord(1, false), "R");
    EXPECT_EQ(catalogue.weatherModeWord(2, false), "B");
    EXPECT_EQ(catalogue.weatherModeWord(3, false), "");
    EXPECT_EQ(catalogue.weatherModeWord(-1, true), "");
}

TEST(StageCatalogue, CodesByWordExactAndPrefix)
{
    const test::TempDir dir;
    const StageCatalogue catalogue(dir.file("none.ini"));
    struct Case {
        const char* what;
        std::int32_t code;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"conditions Heavy, prefix", catalogue.conditionsCode("Heavy", true), 4},
        {"conditions Heavy, exact", catalogue.conditionsCode("Heavy", false), -1},
        {"conditions heavyfog, exact", catalogue.conditionsCode("heavyfog"), 9},
        {"conditions light, prefix", catalogue.conditionsCode("light", true), 3},
        {"conditions lightrainx, prefix (longer than the word)", catalogue.conditionsCode("lightrainx", true), -1},
        {"sky heavy, prefix", catalogue.skyCode("heavy", true), 3},
        {"sky Clear, exact", catalogue.skyCode("Clear"), -1},
        {"sky CLEAR, prefix", catalogue.skyCode("CLEAR", true), 0},
        {"sky empty, prefix", catalogue.skyCode("", true), 0},
        {"sky empty, exact", catalogue.skyCode(""), -1},
        {"time of day M, prefix", catalogue.timeOfDayCode("M", true), 0},
        {"time of day morn, prefix", catalogue.timeOfDayCode("morn", true), 0},
        {"time of day N, prefix", catalogue.timeOfDayCode("N", true), 1},
        {"time of day e, prefix", catalogue.timeOfDayCode("e", true), 2},
        {"time of day M, exact", catalogue.timeOfDayCode("M"), -1},
        {"time of day default, exact", catalogue.timeOfDayCode("default"), 3},
        {"tint set m", catalogue.tintSetCode("m"), -1},
        {"tint set S", catalogue.tintSetCode("S"), 4},
        {"tint set O", catalogue.tintSetCode("O"), 3},
        {"surface wet, exact", catalogue.surfaceCode("wet"), 2},
        {"surface d, prefix", catalogue.surfaceCode("d", true), 0},
        {"track worn, exact", catalogue.trackCode("worn"), 2},
        {"track n, prefix", catalogue.trackCode("n", true), 0},
        {"track Normal, exact", catalogue.trackCode("Normal"), -1},
        {"weather mode bad, prefix", catalogue.weatherModeCode("bad", true), 2},
        {"weather mode Random, exact", catalogue.weatherModeCode("Random"), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.code, c.expected);
    }
}

TEST(StageCatalogue, WordListsAppendInCodeOrder)
{
    const test::TempDir dir;
    const StageCatalogue catalogue(dir.file("none.ini"));
    std::deque<std::string> list{"x"};
    catalogue.surfaceWords(list);
    EXPECT_EQ(list, (std::deque<std::string>{"x", "dry", "damp", "wet"}));
    list.clear();
    catalogue.tintSetWords(list);
    catalogue.trackWords(list);
    EXPECT_EQ(list, (std::deque<std::string>{"M", "N", "E", "O", "S", "new", "normal", "worn"}));
}

} // namespace
} // namespace zudo::tracks
