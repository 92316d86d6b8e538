#include <random>
#include <sstream>

#include "RallyFixture.hpp"
#include "rally/HostResults.hpp"
#include "rally/RallyAction.hpp"

using zudo::rally::RallyPtr;
using zudo::rally::ServiceInfo;
using zudo::test::condition;

namespace {

using namespace std::string_literals;

const char* const threeStages = "mechanics 4\nskill 3\nservice 30\nstage 20 A\nstage 21 B\nstage 22 C\n";

void driveFirstTwo(zudo::rally::Rally& rally)
{
    for (std::size_t i = 0; i < 3; ++i) {
        auto& stage = *rally.stage(i);
        stage.setCondition(condition(stage.stageNumber(), 2, 1, 0));
        stage.setSetupSlot(static_cast<int>(i));
        if (i < 2) {
            stage.takeResult(10.0F * float(i + 1), 20.0F, 100.0F + float(i), "Ann");
            stage.setPenalty(10.0F);
        }
    }
    rally.stage(0)->service().setUsed(true);
}

} // namespace

class Progress : public zudo::test::RallyTest {};

TEST_F(Progress, SavedProgressLoadsBackIntoFreshStages)
{
    const RallyPtr rally = rallyFrom(threeStages, "Trip.srp");
    EXPECT_FALSE(rally->hasProgress());
    EXPECT_FALSE(rally->loadProgress());
    driveFirstTwo(*rally);
    ASSERT_TRUE(rally->saveProgress());
    EXPECT_TRUE(rally->hasProgress());
    EXPECT_TRUE(rally->progressDate().has_value());
    const std::string saved = pluginFile("Trip.prs");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 3);
    EXPECT_EQ(saved.substr(0, 26), "3 20 0 10000 20000 100000 ");
    EXPECT_NE(saved.find("0 0 0 2 1 0  1 0  4 3 30 1 "), std::string::npos);

    const RallyPtr fresh = rallyFrom(threeStages, "Trip.srp");
    const auto before = fresh->stage(0);
    ASSERT_TRUE(fresh->loadProgress());
    EXPECT_NE(fresh->stage(0), before); // the stage objects are replaced
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto& loaded = *fresh->stage(i);
        const auto& original = *rally->stage(i);
        EXPECT_EQ(loaded.rally(), fresh.get());
        EXPECT_EQ(loaded.driven(), i < 2);
        EXPECT_EQ(loaded.finishTime(), original.finishTime());
        EXPECT_EQ(loaded.penalty(), original.penalty());
        EXPECT_EQ(loaded.date(), original.date());
        EXPECT_EQ(loaded.carName(), original.carName());
        EXPECT_EQ(loaded.setupSlot(), static_cast<int>(i));
        EXPECT_EQ(loaded.service(), original.service());
        EXPECT_EQ(loaded.condition()->conditions, 2);
    }
    EXPECT_EQ(fresh->drivenCount(), 2U);
}

TEST_F(Progress, AFileThatDoesNotFitChangesNoStage)
{
    const RallyPtr rally = rallyFrom(threeStages, "Trip.srp");
    driveFirstTwo(*rally);
    ASSERT_TRUE(rally->saveProgress());
    const std::string good = pluginFile("Trip.prs");
    const std::string firstLine = good.substr(0, good.find('\n') + 1);
    const std::string rest = good.substr(firstLine.size());

    struct Case {
        const char* what;
        std::string file;
    };
    std::string renumbered = good;
    renumbered.replace(renumbered.find("\n3 22 ") + 3, 2, "29");
    std::string cutLine = firstLine.substr(0, firstLine.size() / 2);
    cutLine.append("\n").append(rest);
    std::string version0 = good;
    version0[0] = '0';
    std::string version4 = good;
    version4[0] = '4';
    const Case cases[] = {
        {"version 0", version0},
        {"version 4", version4},
        {"another rally's stages", renumbered},
        {"a line cut short", cutLine},
        {"a later line cut short", firstLine + "3 21 0 1\n"},
        {"an empty file", ""},
        {"garbage", "\x01\x02\xff\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.write("Plugins/Zuzuzevo/Trip.prs", c.file);
        const RallyPtr fresh = rallyFrom(threeStages, "Trip.srp");
        const auto stages = fresh->stages();
        EXPECT_FALSE(fresh->loadProgress());
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(fresh->stage(i), stages[i]);
            EXPECT_EQ(fresh->stage(i)->stageNumber(), 20 + static_cast<int>(i));
            EXPECT_EQ(fresh->stage(i)->condition()->stage, 20 + static_cast<int>(i));
            EXPECT_EQ(fresh->stage(i)->trackOverride()->map, 20 + static_cast<int>(i));
            EXPECT_FALSE(fresh->stage(i)->driven());
        }
    }
}

TEST_F(Progress, AShortFileCoversItsStagesAndOldLinesKeepPenaltyAndService)
{
    host.write("Plugins/Zuzuzevo/Trip.prs",
               "2 20 1 1000 2000 3000 4 0 2 Car\0Current\0A\0Ann\0"
               "0 0 0 2 1 0  1 -1 \n"s);
    const RallyPtr rally = rallyFrom(threeStages, "Trip.srp");
    rally->stage(0)->setPenalty(20.0F);
    ASSERT_TRUE(rally->loadProgress());
    const auto& first = *rally->stage(0);
    EXPECT_TRUE(first.driven());
    EXPECT_EQ(first.weatherMode(), 1);
    EXPECT_EQ(first.finishTime(), 3.0F);
    EXPECT_EQ(first.tyres(), 4);
    EXPECT_EQ(first.setupSlot(), -1);
    EXPECT_EQ(first.penalty(), 20.0F);
    EXPECT_EQ(first.service(), ServiceInfo(4, 3, 30.0F, false));
    EXPECT_EQ(first.setupName(), "Current");
    EXPECT_FALSE(rally->stage(1)->driven());
}

TEST_F(Progress, HotlapsHaveNoProgress)
{
    const RallyPtr hotlap = rallyFrom("hotlap 1\nstage 23 Forest\n", "Lap.srp");
    EXPECT_FALSE(hotlap->saveProgress());
    EXPECT_FALSE(std::filesystem::exists(host.path() / "Plugins/Zuzuzevo/Lap.prs"));
    host.write("Plugins/Zuzuzevo/Lap.prs", "");
    EXPECT_FALSE(hotlap->hasProgress());
    EXPECT_FALSE(hotlap->progressDate().has_value());
    EXPECT_FALSE(hotlap->loadProgress());
    EXPECT_TRUE(hotlap->rallyDamage().isNull());
}

TEST_F(Progress, ActionsInTheirOrderAndResets)
{
    const auto actions = zudo::rally::rallyActions();
    std::vector<std::string> labels;
    for (const auto& action : actions) {
        labels.push_back(action->label());
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"Load Progress", "Save Progress", "Reset Stage", "Reset All",
                                                "Replay", "Save Replay"}));

    const RallyPtr rally = rallyFrom(threeStages, "Trip.srp");
    driveFirstTwo(*rally);
    rally->stage(0)->addRecord(std::make_shared<zudo::rally::StageTime>(*rally->stage(0)));
    EXPECT_TRUE(actions[2]->run(*rally, rally->stage(1)));
    EXPECT_FALSE(rally->stage(1)->driven());
    EXPECT_TRUE(rally->stage(0)->driven());
    EXPECT_TRUE(actions[3]->run(*rally, rally->stage(0)));
    for (const auto& stage : rally->stages()) {
        EXPECT_FALSE(stage->driven());
        EXPECT_EQ(stage->finishTime(), 0.0F);
        EXPECT_EQ(stage->penalty(), 0.0F);
        EXPECT_FALSE(stage->service().used());
    }
    EXPECT_TRUE(rally->stage(0)->service().isAvailable()); // used before the reset
    EXPECT_EQ(rally->stage(0)->records().size(), 1U);

    EXPECT_TRUE(actions[1]->run(*rally, nullptr));
    EXPECT_TRUE(actions[0]->run(*rally, nullptr));

    // The replay manager without a stage driven: "Replay" reports success
    // whatever the game answers, "Save Replay" fails.
    EXPECT_TRUE(actions[4]->run(*rally, nullptr));
    EXPECT_FALSE(actions[5]->run(*rally, nullptr));
    int played = 0;
    zudo::rally::useReplayOperations({[] { return false; }, [&] { ++played; return false; }});
    EXPECT_TRUE(actions[4]->run(*rally, nullptr));
    EXPECT_EQ(played, 1);
    EXPECT_FALSE(actions[5]->run(*rally, nullptr));
    zudo::rally::useReplayOperations({});
}

TEST_F(Progress, GarbledFilesLoadWholeOrNotAtAll)
{
    const RallyPtr rally = rallyFrom(threeStages, "Trip.srp");
    driveFirstTwo(*rally);
    ASSERT_TRUE(rally->saveProgress());
    const std::string good = pluginFile("Trip.prs");
    std::mt19937 random(31337);
    std::uniform_int_distribution<int> byte(0, 255);
    int loaded = 0;
    for (int round = 0; round < 300; ++round) {
        std::string garbled = good;
        for (int flips = 0; flips < 1 + round % 4; ++flips) {
            garbled[static_cast<std::size_t>(byte(random)) % garbled.size()] = static_cast<char>(byte(random));
        }
        host.write("Plugins/Zuzuzevo/Trip.prs", garbled);
        const RallyPtr fresh = rallyFrom(threeStages, "Trip.srp");
        const auto before = fresh->stages();
        if (fresh->loadProgress()) {
            ++loaded;
            for (std::size_t i = 0; i < 3; ++i) {
                EXPECT_EQ(fresh->stage(i)->stageNumber(), before[i]->stageNumber());
            }
        } else {
            for (std::size_t i = 0; i < 3; ++i) {
                EXPECT_EQ(fresh->stage(i), before[i]);
                EXPECT_FALSE(fresh->stage(i)->driven());
            }
        }
    }
    EXPECT_LT(loaded, 300); // some changes must be caught
}
