// Service between stages against the replacement host's service park
// (native build only: see sim/host/ServiceParkFakes.hpp): opening it, the
// repair clock with its penalty, the listeners and the end of the service.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ServiceHostFixture.hpp"
#include "util/mem/Bindings.hpp"

namespace {

using zudo::rally::RallyPtr;
using zudo::rally::ServiceManager;
using zudo::rally::StagePtr;
using zudo::sim::CarDamageFakes;
using zudo::util::mem::HostAddress;
namespace bindings = zudo::util::mem::bindings;
using Lines = std::vector<std::string>;

// Stage A has 1 minute of service for 4 Expert mechanics; stage B none.
const char* const serviceRally = "mechanics 4\nskill Expert\nservice 1\nstage 20 A\nstage 21 B\n";

class Service : public zudo::test::ServiceHostTest {
protected:
    void SetUp() override
    {
        ServiceHostTest::SetUp();
        rally = rallyFrom(serviceRally);
        stage = rally->stage(0);
        stage->setDriven(true);
    }

    ServiceManager& manager() { return ServiceManager::instance(); }

    // The park opened for the rally's first stage and the repair started,
    // with work seconds of work for the mechanics.
    void startRepair(std::int32_t work)
    {
        host.objects().game.write<std::int32_t>(zudo::sim::ServicePark::repairWorkOffset, work);
        manager().setCurrentStage(stage);
        manager().setCarSlot(3);
        ASSERT_TRUE(manager().openServicePark()) << manager().failureText();
        ASSERT_EQ(park->selectMenuItem(), 0);
        game.clear();
    }

    // Frames of the service screen until the game's service is stopped;
    // returns how many it took (limit when it was not stopped).
    int framesUntilStopped(float seconds, int limit)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            park->frame(seconds);
            const Lines calls = game.hostCalls();
            if (std::find(calls.begin(), calls.end(), "stopService") != calls.end()) {
                return frame;
            }
        }
        return limit;
    }

    std::int32_t damageWord(HostAddress record) const { return record.read<std::int32_t>(4); }

    RallyPtr rally;
    StagePtr stage;
};

TEST_F(Service, OpeningHandsTheCarAndTheCrewToTheGame)
{
    EXPECT_EQ(park->listeners.size(), 3U) << "registered when the manager starts";
    park->selection = -2;
    park->values = {7, 0};
    manager().setCurrentStage(stage);
    manager().setCarSlot(3);
    ASSERT_TRUE(manager().serviceAvailable());

    ASSERT_TRUE(manager().openServicePark()) << manager().failureText();
    Lines expected{
        "constructCarDamage", // the rally's damage record, made on first need
        "serviceMenuCreate 50 49 2320 400 \"new_main\"",
        "serviceMenuClock",
        "serviceSelection",
        "setServiceSelection 0",
        "carStateFromDamage",
        "repairWorkCopy",
    };
    for (int i = 0; i < 7; ++i) {
        expected.push_back("repairWorkCrew " + std::to_string(i) + " 4 5");
    }
    expected.insert(expected.end(), {"repairWorkHandOver", "serviceValue 0", "serviceValue 1",
                                     "setServiceCar 3", "serviceParkShow"});
    EXPECT_EQ(game.hostCalls(), expected);
    EXPECT_TRUE(stage->service().used());
    EXPECT_FALSE(manager().serviceAvailable()) << "used in this attempt";

    // The clock draws through a copy of the game's table with slot 8 replaced.
    const HostAddress gameTable = bindings::serviceWidgetTable.address();
    const HostAddress table = park->clock.readAddress();
    EXPECT_NE(table, gameTable);
    for (std::uint32_t slot = 0; slot < zudo::sim::ServicePark::clockTableSlots; ++slot) {
        SCOPED_TRACE(slot);
        if (slot == 8) {
            EXPECT_NE(table.readAddress(slot * 4), gameTable.readAddress(slot * 4));
        } else {
            EXPECT_EQ(table.readAddress(slot * 4), gameTable.readAddress(slot * 4));
        }
    }

    // Leaving the park takes the car back and restores the game's values.
    game.clear();
    manager().endService();
    EXPECT_EQ(game.hostCalls(), (Lines{"carStateToDamage", "setServiceValue 0 7", "setServiceValue 1 0"}));
    EXPECT_EQ(park->values, (std::array<std::int32_t, 2>{7, 0}));

    // A second visit uses the menu built the first time.
    stage->service().setUsed(false);
    game.clear();
    ASSERT_TRUE(manager().openServicePark());
    EXPECT_EQ(game.hostCalls().front(), "serviceSelection");
}

TEST_F(Service, RefusedWhenAnyOfTheGamesServiceRoutinesIsMissing)
{
    host.removeNamedRoutine("loadRepairIni");
    manager().setCurrentStage(stage);
    EXPECT_FALSE(manager().openServicePark());
    EXPECT_NE(manager().failureText().find("The game's service park cannot be reached"), std::string::npos);
    EXPECT_NE(manager().failureText().find("loadRepairIni"), std::string::npos);
    EXPECT_EQ(game.hostCalls(), Lines{});
    EXPECT_FALSE(stage->service().used());
    EXPECT_EQ(damage->constructed, 0) << "not even a damage record is made";
}

TEST_F(Service, StartingTheRepairLoadsTheCarsRepairDefinitions)
{
    manager().setCurrentStage(stage);
    manager().setCarSlot(3);
    ASSERT_TRUE(manager().openServicePark());
    manager().setPenalty(30);
    game.clear();
    EXPECT_EQ(park->selectMenuItem(), 0);
    EXPECT_EQ(game.hostCalls(), (Lines{"setRepairTime 60000", "carDirectory 3",
                                  "loadRepairIni \"Cars\\\\Car03\\\\repair.ini\"", "serviceModeLeave",
                                  "hostEventOnce 24"}));
    EXPECT_EQ(manager().penalty(), 0.0F) << "a new repair starts without a penalty";

    // A failing load ends the action with the game's error code.
    park->loadError = 17;
    game.clear();
    EXPECT_EQ(park->selectMenuItem(), 17);
    EXPECT_EQ(game.hostCalls().back(), "loadRepairIni \"Cars\\\\Car03\\\\repair.ini\"");
}

TEST_F(Service, WorkDoneWithinTheAllowanceCostsNothing)
{
    startRepair(10);
    // Frames of 0.25 s: the work is done at the 40th frame, and the service
    // stops one second of frames later (the 40th counts the first quarter).
    EXPECT_EQ(framesUntilStopped(0.25F, 200), 43);
    EXPECT_EQ(manager().penalty(), 0.0F);
    EXPECT_EQ(stage->penalty(), 0.0F);
    const Lines calls = game.hostCalls();
    EXPECT_EQ(Lines(calls.end() - 2, calls.end()), (Lines{"stopService", "hostEventOnce 24"}));

    // The game's next event 24 resets its menu: once for the start of the
    // repair and once for its end, each registered then.
    game.clear();
    EXPECT_TRUE(park->raise(24, 0));
    EXPECT_EQ(game.hostCalls(), (Lines{"menuStateReset", "menuStateReset"}));
    game.clear();
    park->raise(24, 0);
    EXPECT_EQ(game.hostCalls(), Lines{}) << "one-shot handlers";
}

TEST_F(Service, ARepairEnding61SecondsOverCostsTenSeconds)
{
    struct Case {
        std::int32_t work; // seconds; the allowance is 60
        float penalty;
    };
    for (const Case c : {Case{121, 10.0F}, Case{119, 0.0F}, Case{180, 20.0F}, Case{60, 0.0F}}) {
        SCOPED_TRACE(c.work);
        stage->reset();
        stage->setDriven(true);
        startRepair(c.work);
        // Frames of one second: the work is done and the delay over at the
        // same frame, c.work seconds after the start.
        EXPECT_EQ(framesUntilStopped(1.0F, 400), c.work);
        EXPECT_EQ(stage->penalty(), c.penalty);
        EXPECT_EQ(manager().penalty(), c.penalty);

        // The game goes on drawing its screen: nothing is charged again.
        game.clear();
        for (int i = 0; i < 100; ++i) {
            park->frame(1.0F);
        }
        const Lines calls = game.hostCalls();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "stopService"), 0);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "hostEventOnce 39"), 0);
        EXPECT_EQ(stage->penalty(), c.penalty);
        park->onceHandlers.clear();
    }
}

TEST_F(Service, TimeUpWithNoWorkUnderWayIsChargedWhenTheGameEndsTheService)
{
    startRepair(600);
    park->repairing = false; // the game's mechanics stopped
    park->remaining = 10.0F;
    for (int i = 0; i < 5; ++i) {
        park->frame(1.0F);
    }
    const Lines before = game.hostCalls();
    EXPECT_EQ(std::count(before.begin(), before.end(), "hostEventOnce 39"), 0) << "time is left";
    for (int i = 0; i < 100; ++i) {
        park->frame(1.0F); // 95 s over at the end
    }
    const Lines calls = game.hostCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "hostEventOnce 39"), 1) << "once";
    EXPECT_EQ(stage->penalty(), 0.0F) << "not before the game ends the service";

    park->remaining = -150.0F;
    game.clear();
    EXPECT_TRUE(park->raise(39, 0));
    EXPECT_EQ(game.hostCalls(), (Lines{"repairTimeLeft", "stopService", "menuStateReset"}));
    EXPECT_EQ(stage->penalty(), 20.0F);
}

TEST_F(Service, ListenersActOnFiveNineAndSixWhilePending)
{
    const RallyPtr hotlap = std::make_shared<zudo::rally::Rally>(20, 0, 0);
    manager().setCurrentStage(hotlap->stage(0));
    ASSERT_TRUE(manager().pending());
    const HostAddress record = manager().currentDamageRecord();
    ASSERT_FALSE(record.isNull());
    game.clear();

    park->damageValue = 0x01020304;
    park->raise(3, 5);
    EXPECT_EQ(game.hostCalls(), (Lines{"carDamageApply 16909060", "carStateFromDamage"}));
    EXPECT_EQ(damageWord(record), 0x01020304);
    EXPECT_EQ(park->carState.read<std::int32_t>(4), 0x01020304) << "handed back to the game";
    EXPECT_TRUE(manager().pending());

    park->carState.write<std::int32_t>(4, 0x0A0B0C0D); // the game repaired the car
    game.clear();
    park->raise(3, 9);
    EXPECT_EQ(game.hostCalls(), Lines{"carStateToDamage"}) << "two listeners end on 9, the first one does it";
    EXPECT_FALSE(manager().pending());
    EXPECT_EQ(damageWord(record), 0x0A0B0C0D);

    game.clear();
    for (const std::int32_t value : {5, 9, 6}) {
        park->raise(3, value);
    }
    EXPECT_EQ(game.hostCalls(), Lines{}) << "not pending: the listeners do nothing";

    manager().setCurrentStage(hotlap->stage(0));
    park->raise(3, 7);
    EXPECT_EQ(game.hostCalls(), Lines{});
    park->raise(3, 6);
    EXPECT_EQ(game.hostCalls(), Lines{"carStateToDamage"});
    EXPECT_FALSE(manager().pending());
}

TEST_F(Service, ResettingTheDamageRepairsTheCurrentRecord)
{
    manager().setCurrentStage(stage);
    const HostAddress record = manager().currentDamageRecord();
    ASSERT_EQ(record, rally->rallyDamage()) << "a rally's stage: the rally's damage";
    record.write<std::int32_t>(100, 0x42424242);
    manager().setPenalty(20);
    game.clear();

    EXPECT_TRUE(manager().resetCarDamage());
    EXPECT_EQ(record.read<std::uint8_t>(100), CarDamageFakes::carAsNew);
    EXPECT_EQ(manager().penalty(), 0.0F);
    EXPECT_EQ(game.hostCalls(), (Lines{"repairCarDamage", "serviceModeLeave", "hostEventOnce 24"}));

    // Without the game's service side the record is still repaired.
    for (const auto* binding : bindings::all()) {
        if (!binding->isKnown()) {
            host.removeNamedRoutine(binding->name);
        }
    }
    record.write<std::int32_t>(100, 0x42424242);
    game.clear();
    EXPECT_TRUE(manager().resetCarDamage());
    EXPECT_EQ(record.read<std::uint8_t>(100), CarDamageFakes::carAsNew);
    EXPECT_EQ(game.hostCalls(), Lines{"repairCarDamage"}) << "the known routine only";
}

} // namespace
