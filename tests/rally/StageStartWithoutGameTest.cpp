// What the stage start does where the game's routines without a known address
// are missing (always in the game itself): the weather daemon makes the choice
// and leaves the stage's table in place for the start, setups stay the game's,
// and nothing of the game is called. The "game" is an image of zero-filled
// memory whose objects the test lays out; in the Windows build a call into it
// would run zero bytes and crash the test. Without any game nothing starts.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "GameImage.hpp"
#include "rally/CarCatalogue.hpp"
#include "rally/ConditionChoice.hpp"
#include "rally/StageStart.hpp"
#include "rally/WeatherDaemon.hpp"
#include "support/HostTest.hpp"
#include "support/Installation.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"

namespace {

using namespace zudo;
using util::mem::HostAddress;
using Record = util::mem::StageStartRecordView;
using Control = util::mem::WeatherControlView;
using legacy::support::WeatherEntry;
namespace bindings = util::mem::bindings;
namespace mem = util::mem;

constexpr std::uint32_t preferredBase = test::GameImage::preferredBase;

rally::TrackConditionPtr validCondition(std::int32_t stage, int conditions, int tintSet)
{
    auto made = std::make_shared<tracks::TrackCondition>(stage);
    made->conditions = conditions;
    made->tintSet = tintSet;
    made->sky = 1;
    made->timeOfDay = 2;
    made->surface = 0;
    made->track = 1;
    made->valid = true;
    return made;
}

class WithoutGame : public test::HostTest {
protected:
    void SetUp() override
    {
        test::HostTest::SetUp();
        installation.write("SavedGames/0/slot1.lsp", "a saved setup");
        rally::useConditionChoice(rally::ConditionChoice{
            [](const tracks::TrackOverride& spec, int) { return validCondition(spec.map, 0, 0); },
            [](const tracks::TrackOverride&, const rally::TrackConditionPtr& wanted) { return wanted; },
            [this](const tracks::TrackOverride&) { return conditions; },
        });
    }

    void TearDown() override
    {
        rally::WeatherDaemon::restoreHostWeather();
        rally::WeatherDaemon::instance().useDraw({});
        rally::useConditionChoice({});
        game.reset();
        test::HostTest::TearDown();
    }

    void layOutGame()
    {
        game = std::make_unique<test::GameImage>();
        control = game->control();
    }

    std::vector<std::uint8_t> gameBytes(HostAddress at, std::uint32_t size) const
    {
        std::vector<std::uint8_t> bytes(size);
        at.readBytes(0, bytes.data(), size);
        return bytes;
    }

    // The table and both lists as the game would read them.
    std::vector<std::uint8_t> gameWeather() const
    {
        std::vector<std::uint8_t> state = gameBytes(bindings::weatherTable.address(), rally::WeatherDaemon::tableSize);
        for (const std::uint32_t offset : {Control::goodIndexesOffset, Control::badIndexesOffset,
                                           Control::goodCountOffset, Control::badCountOffset}) {
            const std::vector<std::uint8_t> field = gameBytes(control + offset, 4);
            state.insert(state.end(), field.begin(), field.end());
        }
        return state;
    }

    rally::StagePtr stage(int mode)
    {
        auto made = std::make_shared<rally::Stage>(nullptr, 12, mode, 3, "Test Stage");
        *made->condition() = *validCondition(12, 4, 2);
        return made;
    }

    test::Installation installation;
    tracks::TrackConditionList conditions;
    std::unique_ptr<test::GameImage> game;
    HostAddress control;
};

TEST_F(WithoutGame, NewBindingsAreUnknownAndTheStartsOwnResolveAtThePreferredBase)
{
    for (const mem::BindingInfo* binding :
         {&bindings::selectWeather.info, &bindings::weatherTrackWear.info, &bindings::setWeatherTrackWear.info,
          &bindings::setupRecordOfCar.info, &bindings::setupLoadDefault.info, &bindings::setupLoadFile.info,
          &bindings::setupLoadFileInto.info, &bindings::setupApply.info, &bindings::setupCheck.info,
          &bindings::setupFileIndex.info}) {
        SCOPED_TRACE(binding->name);
        EXPECT_FALSE(binding->isKnown());
        EXPECT_TRUE(mem::resolve(*binding).isNull());
        EXPECT_TRUE(std::count_if(bindings::all().begin(), bindings::all().end(),
                                  [binding](const mem::BindingInfo* listed) { return listed == binding; }) == 1)
            << "listed once in the table";
    }
    EXPECT_FALSE(bindings::selectWeather.available());
    EXPECT_FALSE(bindings::setupApply.available());

    mem::ZudoExeModule::instance().assumeLoadedAt(HostAddress(preferredBase));
    struct Known {
        const mem::BindingInfo* binding;
        std::uint32_t address;
        mem::CallingConvention convention;
    };
    using mem::CallingConvention;
    for (const Known k : {
             Known{&bindings::stageStartRecord.info, 0x16607F8, CallingConvention::None},
             Known{&bindings::weatherTable.info, 0x7D34C8, CallingConvention::None},
             Known{&bindings::weatherControl.info, 0x7C36A8, CallingConvention::None},
             Known{&bindings::gameState.info, 0x165FA90, CallingConvention::None},
             Known{&bindings::stagePreparation.info, 0x7CF398, CallingConvention::None},
             Known{&bindings::activeSetup.info, 0x7ECD00, CallingConvention::None},
             Known{&bindings::gameObject.info, 0x7EAC48, CallingConvention::None},
             Known{&bindings::startStage.info, 0x47DEF0, CallingConvention::Thiscall},
             Known{&bindings::setPlayerTyres.info, 0x5662A0, CallingConvention::Thiscall},
             Known{&bindings::currentTintSet.info, 0x4A9D50, CallingConvention::Thiscall},
             Known{&bindings::prepareDrivingStep1.info, 0x547070, CallingConvention::Thiscall},
             Known{&bindings::applyCarSetup.info, 0x558720, CallingConvention::Thiscall},
             Known{&bindings::prepareDrivingStep3.info, 0x5471A0, CallingConvention::Thiscall},
             Known{&bindings::gameStateSwitchA.info, 0x565430, CallingConvention::Thiscall},
             Known{&bindings::gameStateSwitchB.info, 0x5666E0, CallingConvention::Thiscall},
             Known{&bindings::prepareSetupScreen.info, 0x558440, CallingConvention::Cdecl},
             Known{&bindings::openSetupScreen.info, 0x5625E0, CallingConvention::Cdecl},
         }) {
        SCOPED_TRACE(k.binding->name);
        EXPECT_EQ(mem::resolve(*k.binding), HostAddress(k.address));
        EXPECT_EQ(k.binding->convention, k.convention);
    }
}

TEST_F(WithoutGame, NothingStartsAndNothingIsLoaded)
{
    removeGame();
    ASSERT_FALSE(mem::ZudoExeModule::instance().isAvailable());
    const rally::CarPtr car = rally::CarCatalogue::instance().car(0);
    rally::CarCatalogue::instance().selectCar(0);

    EXPECT_FALSE(rally::startStage(*car, stage(1)));
    EXPECT_FALSE(rally::startStage(*car, nullptr));
    EXPECT_FALSE(rally::loadSetupForStage(12));
    EXPECT_FALSE(rally::openSetupScreen(*stage(0)));
    EXPECT_FALSE(rally::WeatherDaemon::instance().backupWeather());
    EXPECT_FALSE(rally::WeatherDaemon::instance().applyWeather(stage(0)));
    rally::WeatherDaemon::restoreHostWeather();
    car->copyCurrentSetup();
    EXPECT_TRUE(car->currentSetupRecord().empty());
}

TEST_F(WithoutGame, TheDaemonChoosesAndPutsTheGamesTableBackByteForByte)
{
    layOutGame();
    const std::vector<std::uint8_t> before = gameWeather();
    rally::WeatherDaemon& daemon = rally::WeatherDaemon::instance();
    ASSERT_TRUE(daemon.backupWeather());
    ASSERT_TRUE(daemon.choosesItself());
    conditions = {validCondition(12, 0, 0), validCondition(12, 1, 1), validCondition(12, 4, 2),
                  validCondition(12, 2, 0), validCondition(12, 8, 1)};
    daemon.useDraw([](std::size_t) { return std::size_t{2}; });

    struct Case {
        const char* name;
        int mode;
        const WeatherEntry& expected;
        std::int32_t tintSet;
    };
    const rally::StagePtr good = stage(0);
    for (const Case c : {Case{"Random: the drawn condition", 1, *conditions[2], 2},
                         Case{"Good: the stage's own condition", 0, *good->condition(), 2}}) {
        SCOPED_TRACE(c.name);
        const rally::StagePtr driven = c.mode == 0 ? good : stage(c.mode);
        ASSERT_TRUE(daemon.applyWeather(driven));

        EXPECT_TRUE(daemon.stageTableInPlace());
        EXPECT_EQ(daemon.chosenTintSet(), c.tintSet);
        EXPECT_EQ(bindings::weatherTable.address().read<WeatherEntry>(0), c.expected);
        const std::vector<std::uint8_t> rest =
            gameBytes(bindings::weatherTable.address() + 24, rally::WeatherDaemon::tableSize - 24);
        EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](std::uint8_t byte) { return byte == 0; }));
        for (const auto& [pointer, count] : {std::pair{Control::goodIndexesOffset, Control::goodCountOffset},
                                             std::pair{Control::badIndexesOffset, Control::badCountOffset}}) {
            EXPECT_EQ(control.read<std::int32_t>(count), 1);
            EXPECT_EQ(control.readAddress(pointer).read<std::uint16_t>(), 0) << "both lists at the one entry";
        }
        EXPECT_EQ(static_cast<const WeatherEntry&>(*driven->condition()), c.expected);

        rally::WeatherDaemon::restoreHostWeather();
        EXPECT_FALSE(daemon.stageTableInPlace());
        EXPECT_EQ(gameWeather(), before);
    }
}

TEST_F(WithoutGame, SetupsStayTheGamesAndTheSetupScreenDoesNothing)
{
    layOutGame();
    const Record record(bindings::stageStartRecord.address());
    record.set(Record::setupSlotOffset, 4);
    record.set(Record::stageOffset, 5);
    const rally::CarPtr car = rally::CarCatalogue::instance().car(0);
    rally::CarCatalogue::instance().selectCar(0);

    car->buildSetupList();
    car->copyCurrentSetup();
    EXPECT_EQ(car->setupList().size(), 2u) << "Default and Current only: the game's naming is out of reach";
    EXPECT_TRUE(car->currentSetupRecord().empty());
    for (const int index : {rally::Car::defaultSetup, rally::Car::currentSetup, 1}) {
        SCOPED_TRACE(index);
        car->setSetupIndex(index);
        EXPECT_FALSE(rally::loadSetupForStage(12));
        EXPECT_FALSE(rally::openSetupScreen(*stage(0)));
    }
    EXPECT_EQ(record.get(Record::setupSlotOffset), 4) << "nothing written";
    EXPECT_EQ(record.get(Record::stageOffset), 5);
    EXPECT_EQ(record.get(Record::carSlotOffset), 0);
}

} // namespace
