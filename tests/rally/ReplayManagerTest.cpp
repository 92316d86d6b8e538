// The replay of the last stage against the replacement host's replay object
// and front end (native build only: see sim/host/ReplayFakes.hpp): saving and
// playing it, and the switch of the game's menu entries.

#include <string>
#include <vector>

#include "ServiceHostFixture.hpp"
#include "rally/RallyAction.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"

namespace {

using zudo::rally::ReplayManager;
using zudo::rally::StageTime;
using zudo::util::mem::HostAddress;
using zudo::util::mem::StageStartRecordView;
using zudo::util::mem::WeatherControlView;
namespace bindings = zudo::util::mem::bindings;
using Lines = std::vector<std::string>;

// A result of stage 20 driven with the car in slot 3.
std::unique_ptr<StageTime> result(float finish)
{
    auto time = std::make_unique<StageTime>(nullptr, 20, 0, 0, "A");
    time->setCarSlot(3);
    time->setFinishTime(finish);
    return time;
}

class Replay : public zudo::test::ServiceHostTest {
protected:
    std::int32_t record(std::uint32_t offset) const
    {
        return StageStartRecordView(bindings::stageStartRecord.address()).get(offset);
    }
    std::int32_t weather(std::uint32_t offset) const
    {
        return bindings::weatherControl.object().read<std::int32_t>(offset);
    }
};

TEST_F(Replay, SavingWithoutAStageDrivenCallsNothing)
{
    EXPECT_FALSE(ReplayManager::instance().saveReplay());
    EXPECT_EQ(game.hostCalls(), Lines{});
    EXPECT_EQ(record(StageStartRecordView::stageOffset), 0);
    EXPECT_EQ(ReplayManager::instance().playReplay(), 0);
    EXPECT_EQ(game.hostCalls(), Lines{});

    const auto actions = zudo::rally::rallyActions();
    const auto rally = rallyFrom("stage 20 A\n");
    EXPECT_FALSE(actions[5]->run(*rally, nullptr)) << "\"Save Replay\" reaches the manager";
    EXPECT_EQ(game.hostCalls(), Lines{});
}

TEST_F(Replay, SavingNamesTheStageAndCarToTheGame)
{
    auto time = result(65.25F);
    const std::string name = ReplayManager::replayName(*time);
    ReplayManager::instance().setLastResult(std::move(time));

    EXPECT_TRUE(ReplayManager::instance().saveReplay());
    EXPECT_EQ(game.hostCalls(), Lines{"saveReplay 20 3 1 \"" + name + "\""});
    EXPECT_EQ(record(StageStartRecordView::stageOffset), 20);
    EXPECT_EQ(record(StageStartRecordView::carSlotOffset), 3);
    EXPECT_EQ(weather(WeatherControlView::stageOffset), 20);

    replay->saveResult = 0;
    EXPECT_FALSE(ReplayManager::instance().saveReplay()) << "the game's answer is the result";

    game.clear();
    replay->saveResult = 1;
    const auto rally = rallyFrom("stage 20 A\n");
    EXPECT_TRUE(zudo::rally::rallyActions()[5]->run(*rally, nullptr));
    EXPECT_EQ(game.hostCalls().size(), 1U);

    ReplayManager::instance().setLastResult(nullptr); // a new stage starts
    game.clear();
    EXPECT_FALSE(ReplayManager::instance().saveReplay());
    EXPECT_EQ(game.hostCalls(), Lines{});
}

TEST_F(Replay, PlayingLeavesTheFrontEndFirst)
{
    ReplayManager::instance().setLastResult(result(65.25F));
    bindings::weatherControl.object().write<std::int32_t>(WeatherControlView::clearedForReplayOffset, 5);
    replay->playResult = 7;

    EXPECT_EQ(ReplayManager::instance().playReplay(), 7);
    EXPECT_EQ(game.hostCalls(), (Lines{
                               "frontEndMenuPage 17",
                               "menuEntrySwitch 17 9 0",
                               "frontEndMenuPage 25",
                               "menuEntrySwitch 25 10 0",
                               "gameStateSwitchB 1",
                               "gameStateSwitchA 1",
                               "playReplay",
                           }));
    EXPECT_EQ(weather(WeatherControlView::clearedForReplayOffset), 0);
    EXPECT_EQ(weather(WeatherControlView::stageOffset), 20);
    EXPECT_EQ(record(StageStartRecordView::carSlotOffset), 3);
    EXPECT_EQ(replay->entryValue(17, 9), 0);
    EXPECT_EQ(replay->entryValue(25, 10), 0);
    EXPECT_EQ(replay->entryValue(25, 9), 1) << "other entries stay";
}

TEST_F(Replay, MenuEntriesAtOrPastTheCountAreSkipped)
{
    struct Case {
        std::int32_t count25;
        bool switched;
    };
    for (const Case c : {Case{10, false}, Case{11, true}, Case{0, false}, Case{-1, false}}) {
        SCOPED_TRACE(c.count25);
        zudo::rally::switchReplayMenuEntries(0);
        replay->setEntryCount(25, c.count25);
        game.clear();
        zudo::rally::switchReplayMenuEntries(1);
        Lines expected{"frontEndMenuPage 17", "menuEntrySwitch 17 9 1", "frontEndMenuPage 25"};
        if (c.switched) {
            expected.emplace_back("menuEntrySwitch 25 10 1");
        }
        EXPECT_EQ(game.hostCalls(), expected);
        EXPECT_EQ(replay->entryValue(25, 10), c.switched ? 1 : 0);
        replay->setEntryCount(25, 12);
    }

    // A front end that has no such page: nothing is switched on it.
    replay->pages.erase(25);
    game.clear();
    zudo::rally::switchReplayMenuEntries(0);
    EXPECT_EQ(game.hostCalls(), (Lines{"frontEndMenuPage 17", "menuEntrySwitch 17 9 0", "frontEndMenuPage 25"}));
}

} // namespace
