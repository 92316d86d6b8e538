#include <filesystem>
#include <random>

#include "RallyFixture.hpp"

using zudo::rally::RallyPtr;
using zudo::rally::ServiceInfo;
using zudo::rally::Stage;

class RallyDefinition : public zudo::test::RallyTest {};

TEST_F(RallyDefinition, StageLinesTakeTheirNumberAndName)
{
    const RallyPtr rally = rallyFrom("stage 23 My Stage   # comment\n"
                                     "Stage 5\n"
                                     "STAGE 41 Col\tdu Turini\r\n"
                                     "stage  5\n");
    EXPECT_EQ(rally->name(), "Test Rally");
    EXPECT_EQ(rally->configPath(), "Plugins/Zuzuzevo/Test Rally.srp");
    EXPECT_FALSE(rally->isHotlap());
    ASSERT_EQ(rally->stageCount(), 4U);
    EXPECT_EQ(rally->stage(0)->stageNumber(), 23);
    EXPECT_EQ(rally->stage(0)->displayName(), "My Stage");
    EXPECT_EQ(rally->stage(1)->stageNumber(), 5);
    EXPECT_EQ(rally->stage(1)->displayName(), "Stage 5"); // the catalogue's name for 5
    EXPECT_EQ(rally->stage(2)->displayName(), "Col\tdu Turini");
    // Two blanks: an empty value (not a number) and the name "5".
    EXPECT_EQ(rally->stage(3)->stageNumber(), -1);
    EXPECT_EQ(rally->stage(3)->displayName(), "5");
    for (const auto& stage : rally->stages()) {
        EXPECT_EQ(stage->rally(), rally.get());
        EXPECT_EQ(stage->weatherMode(), 0);
        EXPECT_EQ(stage->tyres(), 3); // Gravel Dry until a tyres line
        EXPECT_EQ(stage->setupSlot(), Stage::noSetupChosen);
        EXPECT_EQ(stage->service(), ServiceInfo());
    }
}

TEST_F(RallyDefinition, WeatherTyresAndSetupCarryOver)
{
    struct Case {
        const char* lines;
        int weatherMode;
        int tyres;
    };
    const Case cases[] = {
        {"weather bad", 2, 3},        {"Weather R", 1, 3},      {"weather x", 0, 3},
        {"weather 7", 0, 3},          {"weather -1", 0, 3},     {"tyres 9", 2, 0},
        {"tyres g", 2, 3},            {"tyres gravel wet", 2, 5}, {"tyres wet gravel", 2, 5},
        {"tyres Wet", 2, 2},          {"TYRES snow", 2, 6},     {"tyres 1", 2, 1},
        {"tyres ice", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        const bool setsWeather = std::string(c.lines).find("eather") != std::string::npos;
        const RallyPtr rally =
            rallyFrom(std::string(setsWeather ? "" : "weather 2\n") + c.lines + "\nstage 20\nstage 21\n");
        ASSERT_EQ(rally->stageCount(), 2U);
        for (const auto& stage : rally->stages()) {
            EXPECT_EQ(stage->weatherMode(), c.weatherMode);
            EXPECT_EQ(stage->tyres(), c.tyres);
        }
    }

    const RallyPtr setups = rallyFrom("setup 2\nstage 20\nsetup x\nstage 21\nsetup 0\nstage 22\n");
    EXPECT_EQ(setups->stage(0)->setupSlot(), 2);
    EXPECT_EQ(setups->stage(1)->setupSlot(), Stage::noSetupChosen);
    EXPECT_EQ(setups->stage(2)->setupSlot(), 0);
}

TEST_F(RallyDefinition, ServiceHoldsForOneStageAndNeedsMechanicsAndSkill)
{
    const RallyPtr rally = rallyFrom("mechanics 3\nskill Exp\nservice 30\nstage 20\nstage 21\n"
                                     "service 15\nskill none\nstage 22\n"
                                     "skill 2\nservice 45\nmechanics 9\nstage 23\n");
    EXPECT_EQ(rally->stage(0)->service(), ServiceInfo(3, 5, 30.0F, false));
    EXPECT_EQ(rally->stage(1)->service(), ServiceInfo()); // minutes were used up
    EXPECT_EQ(rally->stage(2)->service(), ServiceInfo()); // skill 0
    EXPECT_EQ(rally->stage(3)->service(), ServiceInfo(6, 2, 45.0F, false)); // 9 mechanics held at 6
}

TEST_F(RallyDefinition, ConditionsByWordOrNumberAndTrackOverrides)
{
    const RallyPtr rally = rallyFrom("conditions heavy\nsky 2\nsurface WET\ntimeOfDay e\ntrack worn\n"
                                     "TrackName forest_alt extra words\nParticles snowy\n"
                                     "stage 20 First\n"
                                     "conditions nonsense\nsky x\n"
                                     "stage 21 Second\n");
    const auto first = rally->stage(0)->condition();
    EXPECT_EQ(first->stage, 20);
    EXPECT_EQ(first->conditions, 4); // heavyrain, the first "heavy" word
    EXPECT_EQ(first->sky, 2);
    EXPECT_EQ(first->surface, 2);
    EXPECT_EQ(first->timeOfDay, 2);
    EXPECT_EQ(first->track, 2);
    EXPECT_FALSE(first->valid);
    const auto& override0 = rally->stage(0)->trackOverride();
    EXPECT_EQ(override0->map, 20);
    EXPECT_EQ(override0->trackName, "forest_alt");
    EXPECT_EQ(override0->particles, "snowy");

    const auto second = rally->stage(1)->condition();
    EXPECT_NE(second.get(), first.get()); // each stage has its own copy
    EXPECT_EQ(second->stage, 21);
    EXPECT_EQ(second->conditions, -1);
    EXPECT_EQ(second->sky, -1);
    EXPECT_EQ(second->surface, 2); // carried over
    EXPECT_EQ(rally->stage(1)->trackOverride()->trackName, "");
    EXPECT_EQ(rally->stage(1)->trackOverride()->particles, "");
    EXPECT_EQ(rally->stage(1)->trackOverride()->map, 21);
}

TEST_F(RallyDefinition, AHotlapIsTheFirstStageReadWhileHotlapIsSet)
{
    const RallyPtr late = rallyFrom("stage 20\nstage 21\nstage 22\nhotlap 1\nstage 23 Fourth\nstage 24\n");
    EXPECT_TRUE(late->isHotlap());
    ASSERT_EQ(late->stageCount(), 1U);
    EXPECT_EQ(late->stage(0)->stageNumber(), 23);
    EXPECT_EQ(late->stage(0)->displayName(), "Fourth");

    const RallyPtr word = rallyFrom("hotlap yes\nstage 31\n");
    EXPECT_TRUE(word->isHotlap());
    const RallyPtr off = rallyFrom("hotlap 0\nstage 31\nstage 32\n");
    EXPECT_FALSE(off->isHotlap());
    EXPECT_EQ(off->stageCount(), 2U);
}

TEST_F(RallyDefinition, FilesWithoutStagesAreInvalid)
{
    EXPECT_EQ(rallyFrom("weather bad\n# stage 5\n")->name(), "Test Rally (invalid!)");
    EXPECT_EQ(rallyFrom("stage 5\n", "My Rally.old.srp")->name(), "My Rally.old");
    const zudo::rally::Rally missing("Gone", "Plugins/Zuzuzevo/Gone.srp");
    EXPECT_EQ(missing.name(), "Gone (invalid!)");
    EXPECT_EQ(missing.stageCount(), 0U);
}

TEST_F(RallyDefinition, GarbageFilesNeverBreakTheReader)
{
    std::mt19937 random(99);
    std::uniform_int_distribution<int> byte(0, 255);
    const char* words[] = {"stage ", "weather ", "tyres ", "skill ", "service ", "hotlap ",
                           "conditions ", "TrackName ", "99999999999 ", "-2147483648 ", "\n", "#"};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int piece = 0; piece < 200; ++piece) {
            if (byte(random) < 128) {
                text += words[static_cast<std::size_t>(byte(random)) % std::size(words)];
            } else {
                text.push_back(static_cast<char>(byte(random)));
            }
        }
        const RallyPtr rally = rallyFrom(text);
        for (const auto& stage : rally->stages()) {
            EXPECT_GE(stage->weatherMode(), 0);
            EXPECT_LE(stage->weatherMode(), 2);
            EXPECT_GE(stage->tyres(), 0);
            EXPECT_LE(stage->tyres(), 6);
            EXPECT_EQ(stage->condition()->stage, stage->stageNumber());
        }
    }
    const RallyPtr enormous = rallyFrom("stage 20 " + std::string(4 << 20, 'n') + "\nstage 21\n");
    ASSERT_EQ(enormous->stageCount(), 2U);
    EXPECT_EQ(enormous->stage(0)->displayName().size(), std::size_t(4) << 20);
}

TEST_F(RallyDefinition, TheExampleFilesReadAsTheReadmeDescribes)
{
    const auto examples = std::filesystem::current_path() / "example-rallies";
    ASSERT_TRUE(std::filesystem::exists(examples / "Sample Rally.srp"));
    for (const char* name : {"Sample Rally.srp", "Harwood Hotlap.srp"}) {
        std::filesystem::copy_file(examples / name, host.path() / "Plugins" / "Zuzuzevo" / name);
    }
    const zudo::rally::Rally rally("Sample Rally", "Plugins/Zuzuzevo/Sample Rally.srp");
    EXPECT_FALSE(rally.isHotlap());
    ASSERT_EQ(rally.stageCount(), 4U);
    EXPECT_EQ(rally.stageNumbers(), (std::vector<std::int32_t>{20, 41, 41, 10}));

    const Stage& forest = *rally.stage(0);
    EXPECT_EQ(forest.condition()->conditions, 3); // lightrain
    EXPECT_EQ(forest.condition()->surface, 1);    // damp
    EXPECT_EQ(forest.service(), ServiceInfo());
    const Stage& tarmac = *rally.stage(1);
    EXPECT_EQ(tarmac.service(), ServiceInfo(4, 3, 30.0F, false));
    EXPECT_EQ(tarmac.condition()->conditions, 0);
    EXPECT_EQ(rally.stage(2)->trackOverride()->trackName, "Maps\\Test\\test");
    EXPECT_EQ(rally.stage(2)->service(), ServiceInfo());
    const Stage& snow = *rally.stage(3);
    EXPECT_EQ(snow.weatherMode(), 2);
    EXPECT_EQ(snow.condition()->conditions, 7); // heavysnow
    EXPECT_EQ(snow.service(), ServiceInfo(6, 5, 45.0F, false));
    EXPECT_EQ(snow.trackOverride()->trackName, "");

    const zudo::rally::Rally hotlap("Harwood Hotlap", "Plugins/Zuzuzevo/Harwood Hotlap.srp");
    EXPECT_TRUE(hotlap.isHotlap());
    ASSERT_EQ(hotlap.stageCount(), 1U);
    EXPECT_EQ(hotlap.stage(0)->tyres(), 4);
}
