// Starting a stage against the replacement host: what is written into the
// game's stage-start record, which of the game's routines are called in which
// order, the weather table made for the stage (by the game's own choice and by
// the daemon's when the game's selection routine is out of reach), and that
// the game's table and index lists are byte for byte their old selves after.

#include <gtest/gtest.h>

#include "StageStartFixture.hpp"
#include "plugin/Zuzuzevo.hpp"
#include "ui/Dialog.hpp"

namespace {

using namespace zudo;
using util::mem::HostAddress;
namespace bindings = util::mem::bindings;
using test::condition;
using test::hostEntry;
using test::hostWeather;
using test::HostWeather;
using Record = util::mem::StageStartRecordView;
using Strings = std::vector<std::string>;
namespace weather_model = sim::weather_model;

constexpr std::uint32_t entrySize = sizeof(legacy::support::WeatherEntry);

class StageStart : public test::StageStartTest {
protected:
    // Five valid conditions of stage 12; the third (index 2) is the first that
    // is not good weather (heavy rain), the fifth is light fog.
    void giveStageTwelveFiveConditions()
    {
        five = {condition(12, 0, 0, 0, 0, 0, 0), condition(12, 1, 1, 1, 1, 1, 1),
                condition(12, 4, 2, 1, 2, 3, 2), condition(12, 2, 0, 2, 0, 2, 0),
                condition(12, 8, 1, 0, 1, 1, 1)};
        trackConditions[12] = five;
    }

    // The game's weather as selectWeather finds it, and what it returns.
    void captureWeatherAtSelection(std::int32_t choice)
    {
        sim::SimulatedHost::instance().registerNamedRoutine(
            bindings::selectWeather.info.name, [this, choice](std::uint32_t self, std::span<const std::uint64_t>) {
                atSelection = hostWeather();
                tableAtSelection = {hostEntry(0), hostEntry(1), hostEntry(2), hostEntry(3), hostEntry(4),
                                    hostEntry(5)};
                util::mem::HostAddress(self).write<std::int32_t>(weather_model::tintSetOffset,
                                                                  hostEntry(static_cast<std::uint32_t>(choice)).tintSet);
                return static_cast<std::uint64_t>(static_cast<std::uint32_t>(choice));
            });
    }

    tracks::TrackConditionList five;
    HostWeather atSelection;
    std::vector<legacy::support::WeatherEntry> tableAtSelection;
};

TEST_F(StageStart, WritesTheStageStartRecordAndCallsTheGameInOrder)
{
    const HostWeather before = hostWeather();
    const rally::StagePtr stage = stageWith(12, 0, 3, condition(12, 1, 0, 2, 1, 2, 1));
    rally::CarCatalogue::instance().selectCar(2);
    const rally::CarPtr car = rally::CarCatalogue::instance().selectedCar();
    const HostAddress inner =
        bindings::stagePreparation.object().readAddress(util::mem::StagePreparationView::innerObjectOffset);
    inner.write<std::int32_t>(util::mem::StagePreparationView::innerClearedOffset, 7);
    record().set(Record::setupSlotOffset, 5);
    record().set(Record::tintSetOffset, 99);

    ASSERT_TRUE(rally::startStage(*car, stage));

    EXPECT_EQ(record().get(Record::stageOffset), 12);
    EXPECT_EQ(record().get(Record::carSlotOffset), 2);
    EXPECT_EQ(record().get(Record::tintSetOffset), 1) << "the tint set of the weather the game chose";
    EXPECT_EQ(record().get(Record::resetToMinusOneOffset), -1);
    EXPECT_EQ(record().get(Record::tyresOffset), 3);
    EXPECT_EQ(record().get(Record::weatherModeOffset), 0);
    EXPECT_EQ(record().get(Record::setupSlotOffset), -1) << "a setup was loaded";
    const HostAddress weather = bindings::weatherControl.object();
    EXPECT_EQ(weather.read<std::int32_t>(util::mem::WeatherControlView::stageOffset), 12);
    EXPECT_EQ(weather.read<std::int32_t>(weather_model::trackWearOffset), 2) << "the stage's track wear";
    EXPECT_EQ(inner.read<std::int32_t>(util::mem::StagePreparationView::innerClearedOffset), 0);

    const Strings expected = {
        "selectWeather",        "setWeatherTrackWear 2", "setupLoadDefault 2 12", "setupApply 2 12",
        "setupCheck 2",         "applyCarSetup",         "setPlayerTyres 0 3",    "currentTintSet",
        "prepareDrivingStep1 1", "applyCarSetup",        "prepareDrivingStep3",   "gameStateSwitchA 1",
        "gameStateSwitchB 1",   "startStage 12 1 2 -1",
    };
    EXPECT_EQ(game.hostCalls(), expected);
    EXPECT_EQ(hostWeather(), before) << "the game's table and lists as they were";
    EXPECT_FALSE(rally::WeatherDaemon::instance().stageTableInPlace());

    std::vector<std::uint8_t> active(rally::Car::setupRecordSize);
    bindings::activeSetup.object().readBytes(0, active.data(), rally::Car::setupRecordSize);
    EXPECT_EQ(active, std::vector<std::uint8_t>(rally::Car::setupRecordSize, 0xD2)) << "car 2's default setup";
}

TEST_F(StageStart, GoodWeatherWithHeavyRainLeavesTheGameOnlyThatEntry)
{
    const HostWeather before = hostWeather();
    const rally::TrackConditionPtr heavyRain = condition(12, 4, 2, 1, 2, 3, 2);
    const rally::StagePtr stage = stageWith(12, 0, 2, heavyRain);
    captureWeatherAtSelection(0);

    ASSERT_TRUE(rally::startStage(*rally::CarCatalogue::instance().selectedCar(), stage));

    ASSERT_EQ(tableAtSelection.size(), 6u);
    EXPECT_EQ(tableAtSelection[0], test::entryOf(heavyRain));
    for (std::size_t i = 1; i < tableAtSelection.size(); ++i) {
        EXPECT_EQ(tableAtSelection[i], (legacy::support::WeatherEntry{0, 0, 0, 0, 0, 0})) << "entry " << i;
    }
    EXPECT_TRUE(std::all_of(atSelection.table.begin() + entrySize, atSelection.table.end(),
                            [](std::uint8_t byte) { return byte == 0; }))
        << "the rest of the table is zero";
    EXPECT_EQ(atSelection.goodIndexes, std::vector<std::uint16_t>{0});
    EXPECT_EQ(atSelection.badIndexes, std::vector<std::uint16_t>{0});
    EXPECT_EQ(stage->condition()->conditions, 4) << "the stage keeps its heavy rain";
    EXPECT_EQ(game.hostCalls().back(), "startStage 12 2 0 -1");
    EXPECT_EQ(hostWeather(), before);
}

TEST_F(StageStart, RandomWithFiveConditionsWhenTheGameChooses)
{
    giveStageTwelveFiveConditions();
    const HostWeather before = hostWeather();
    const HostAddress weather = bindings::weatherControl.object();
    weather.write<std::int32_t>(weather_model::trackWearOffset, 1);

    struct Case {
        std::int32_t pickBad;
        std::size_t chosen;
    };
    for (const Case c : {Case{1, 2}, Case{0, 0}}) {
        SCOPED_TRACE(c.pickBad);
        weather.write<std::int32_t>(weather_model::pickBadOffset, c.pickBad);
        game.clear();
        const rally::StagePtr stage = stageWith(12, 1, 4, condition(12, 0, 0, 0));
        const rally::TrackConditionPtr before0 = stage->condition();

        ASSERT_TRUE(rally::startStage(*rally::CarCatalogue::instance().selectedCar(), stage));

        const rally::TrackConditionPtr chosen = stage->condition();
        EXPECT_NE(chosen, before0) << "the stage gets a new condition";
        EXPECT_EQ(test::entryOf(chosen), test::entryOf(five[c.chosen]));
        EXPECT_EQ(chosen->stage, 12);
        EXPECT_EQ(chosen->track, 1) << "the wear the game chose";
        EXPECT_TRUE(chosen->valid);
        const Strings calls = game.hostCalls();
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[0], "selectWeather");
        EXPECT_EQ(calls[1], "weatherTrackWear");
        EXPECT_EQ(calls.back(), "startStage 12 " + std::to_string(five[c.chosen]->tintSet) + " 0 -1");
        EXPECT_EQ(hostWeather(), before);
    }
}

TEST_F(StageStart, RandomWithFiveConditionsPutsAllFiveAndTheFirstBadIndex)
{
    giveStageTwelveFiveConditions();
    const HostWeather before = hostWeather();
    captureWeatherAtSelection(2);
    const rally::StagePtr stage = stageWith(12, 1, 4, condition(12, 0, 0, 0));

    ASSERT_TRUE(rally::startStage(*rally::CarCatalogue::instance().selectedCar(), stage));

    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(tableAtSelection[i], test::entryOf(five[i])) << "entry " << i;
    }
    EXPECT_EQ(tableAtSelection[5], (legacy::support::WeatherEntry{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(atSelection.goodCount, 1);
    EXPECT_EQ(atSelection.goodIndexes, std::vector<std::uint16_t>{0});
    EXPECT_EQ(atSelection.badCount, 1);
    EXPECT_EQ(atSelection.badIndexes, std::vector<std::uint16_t>{2}) << "the first entry that is not good";
    EXPECT_EQ(hostWeather(), before);
}

TEST_F(StageStart, RandomWithFiveConditionsWhenTheDaemonChoosesItself)
{
    giveStageTwelveFiveConditions();
    const HostWeather before = hostWeather();
    sim::SimulatedHost& simulated = sim::SimulatedHost::instance();
    simulated.removeNamedRoutine(bindings::selectWeather.info.name);
    std::size_t drawnFrom = 0;
    rally::WeatherDaemon::instance().useDraw([&drawnFrom](std::size_t count) {
        drawnFrom = count;
        return std::size_t{2};
    });
    HostWeather atStart;
    simulated.registerRoutine(bindings::startStage.info.address,
                         [&atStart](std::uint32_t, std::span<const std::uint64_t>) {
                             atStart = hostWeather();
                             return std::uint64_t{1};
                         });
    const rally::StagePtr stage = stageWith(12, 1, 4, condition(12, 0, 0, 0));

    ASSERT_TRUE(rally::startStage(*rally::CarCatalogue::instance().selectedCar(), stage));

    EXPECT_EQ(drawnFrom, 5u) << "drawn among every valid condition";
    ASSERT_EQ(atStart.table.size(), rally::WeatherDaemon::tableSize);
    legacy::support::WeatherEntry first;
    std::memcpy(&first, atStart.table.data(), entrySize);
    EXPECT_EQ(first, test::entryOf(five[2])) << "the drawn condition alone, in place while the game starts";
    EXPECT_TRUE(std::all_of(atStart.table.begin() + entrySize, atStart.table.end(),
                            [](std::uint8_t byte) { return byte == 0; }));
    EXPECT_EQ(atStart.goodIndexes, std::vector<std::uint16_t>{0});
    EXPECT_EQ(atStart.badIndexes, std::vector<std::uint16_t>{0});
    EXPECT_EQ(record().get(Record::tintSetOffset), five[2]->tintSet);
    for (const std::string& call : game.hostCalls()) {
        EXPECT_NE(call, "currentTintSet") << "the daemon knows the tint set itself";
        EXPECT_NE(call.rfind("weatherTrackWear", 0), 0u);
        EXPECT_NE(call.rfind("setWeatherTrackWear", 0), 0u);
    }
    EXPECT_EQ(test::entryOf(stage->condition()), test::entryOf(five[2]));

    EXPECT_TRUE(rally::WeatherDaemon::instance().stageTableInPlace());
    EXPECT_EQ(hostWeather(), atStart) << "kept until the game reports back";
    rally::WeatherDaemon::restoreHostWeather();
    EXPECT_EQ(hostWeather(), before);
}

TEST_F(StageStart, ADaemonsChoiceWithoutTintSetLeavesTheTintSetToTheGame)
{
    sim::SimulatedHost::instance().removeNamedRoutine(bindings::selectWeather.info.name);
    bindings::weatherControl.object().write<std::int32_t>(weather_model::tintSetOffset, 2);
    const rally::StagePtr stage = stageWith(12, 0, 1, condition(12, 1, 0, 0, -1));

    ASSERT_TRUE(rally::startStage(*rally::CarCatalogue::instance().selectedCar(), stage));

    const Strings calls = game.hostCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "currentTintSet"), calls.end());
    EXPECT_EQ(calls.back(), "startStage 12 2 0 -1") << "never -1 for the game's stage start";
}

TEST_F(StageStart, TheDaemonsTableGoesBackAtTheGamesNextCall)
{
    giveStageTwelveFiveConditions();
    const HostWeather before = hostWeather();
    sim::SimulatedHost::instance().removeNamedRoutine(bindings::selectWeather.info.name);
    using Trigger = std::function<void(plugin::Zuzuzevo*&)>;
    const std::vector<std::pair<std::string, Trigger>> triggers = {
        {"next front-end frame", [](plugin::Zuzuzevo*& plugin) { plugin->DrawMenuPage(); }},
        {"stage started", [](plugin::Zuzuzevo*& plugin) { plugin->OnStageStarted(12, "Ann", false); }},
        {"result", [](plugin::Zuzuzevo*& plugin) { plugin->OnStageResults(1, 2, 3, "Ann"); }},
        {"plug-in unloaded", [](plugin::Zuzuzevo*& plugin) { plugin->DeletingDestructor(1); plugin = nullptr; }},
    };
    for (const auto& [name, trigger] : triggers) {
        SCOPED_TRACE(name);
        auto* plugin = new plugin::Zuzuzevo(&game, [] { return std::make_unique<ui::Dialog>(); });
        const rally::StagePtr stage = stageWith(12, 1, 4, condition(12, 0, 0, 0));
        ASSERT_TRUE(rally::startStage(*rally::CarCatalogue::instance().selectedCar(), stage));
        ASSERT_NE(hostWeather(), before);
        trigger(plugin);
        EXPECT_EQ(hostWeather(), before);
        if (plugin != nullptr) {
            plugin->DeletingDestructor(1);
        }
    }
}

TEST_F(StageStart, AFailedStartPutsTheDaemonsTableBack)
{
    giveStageTwelveFiveConditions();
    const HostWeather before = hostWeather();
    sim::SimulatedHost::instance().removeNamedRoutine(bindings::selectWeather.info.name);
    // The object prepared for driving now points outside the game's memory.
    HostAddress(bindings::stagePreparation.info.address).writeAddress(0, HostAddress(0x10));
    const rally::StagePtr stage = stageWith(12, 1, 4, condition(12, 0, 0, 0));

    EXPECT_THROW(rally::startStage(*rally::CarCatalogue::instance().selectedCar(), stage),
                 util::mem::HostAccessError);
    EXPECT_FALSE(rally::WeatherDaemon::instance().stageTableInPlace());
    EXPECT_EQ(hostWeather(), before);
    for (const std::string& call : game.hostCalls()) {
        EXPECT_NE(call.rfind("startStage", 0), 0u) << "the game was not told to start";
    }
}

TEST_F(StageStart, AConditionThatIsNotValidMovesToTheClosestOrTheStageDoesNotStart)
{
    {
        SCOPED_TRACE("closest valid condition");
        rally::TrackConditionPtr wanted = condition(12, 3, 1, 1, 0, 1, 1);
        wanted->valid = false;
        const rally::StagePtr stage = stageWith(12, 2, 0, wanted);
        ASSERT_TRUE(rally::startStage(*rally::CarCatalogue::instance().selectedCar(), stage));
        EXPECT_EQ(closestQueries, 1);
        EXPECT_TRUE(stage->condition()->valid);
        EXPECT_EQ(stage->condition()->conditions, 3);
    }
    struct Case {
        const char* name;
        std::int32_t number;
        int mode;
        int conditions; // -1: none configured
    };
    for (const Case c : {Case{"still not valid", 12, 0, 3}, Case{"stage number without a track", 999, 0, -1},
                         Case{"Random without a valid condition", 13, 1, 0}}) {
        SCOPED_TRACE(c.name);
        game.clear();
        const HostWeather before = hostWeather();
        withoutConditions = {12, 999};
        rally::TrackConditionPtr wanted = condition(c.number, c.conditions, 1, 1);
        wanted->valid = c.number == 13; // a valid condition, but the track lists none for Random
        const rally::StagePtr stage = stageWith(c.number, c.mode, 0, wanted);
        record().set(Record::stageOffset, 0);

        EXPECT_FALSE(rally::startStage(*rally::CarCatalogue::instance().selectedCar(), stage));

        EXPECT_EQ(game.hostCalls(), Strings{}) << "the game is not told anything";
        EXPECT_EQ(hostWeather(), before) << "the table untouched";
        EXPECT_FALSE(rally::WeatherDaemon::instance().stageTableInPlace());
        if (c.number != 13) {
            EXPECT_EQ(record().get(Record::stageOffset), 0) << "nothing written for a stage without a valid condition";
        }
    }
}

TEST_F(StageStart, SetupsLoadFromTheCarTheGameOrAFile)
{
    host.write("SavedGames/2/slot1.lsp", "ABC");
    rally::CarCatalogue::instance().selectCar(2);
    const rally::CarPtr car = rally::CarCatalogue::instance().selectedCar();
    car->buildSetupList();
    const HostAddress active = bindings::activeSetup.object();
    const auto activeBytes = [&active] {
        std::vector<std::uint8_t> bytes(rally::Car::setupRecordSize);
        active.readBytes(0, bytes.data(), rally::Car::setupRecordSize);
        return bytes;
    };

    car->setSetupIndex(rally::Car::currentSetup);
    game.clear();
    EXPECT_TRUE(rally::loadSetupForStage(12));
    EXPECT_EQ(activeBytes(), std::vector<std::uint8_t>(rally::Car::setupRecordSize, 0xC2))
        << "the record car 2 had when its object was made";
    EXPECT_EQ(game.hostCalls(), (Strings{"setupApply 2 12", "setupCheck 2", "applyCarSetup"}));

    car->setSetupIndex(1);
    game.clear();
    EXPECT_TRUE(rally::loadSetupForStage(41));
    std::vector<std::uint8_t> expected(rally::Car::setupRecordSize, 0);
    expected[0] = 'A';
    expected[1] = 'B';
    expected[2] = 'C';
    EXPECT_EQ(activeBytes(), expected);
    EXPECT_EQ(game.hostCalls(), (Strings{"setupLoadFile \"SavedGames\\\\2\\\\slot1.lsp\"", "setupApply 2 41",
                                    "setupCheck 2", "applyCarSetup"}));

    for (const int index : {7, -5}) {
        SCOPED_TRACE(index);
        car->setSetupIndex(index);
        record().set(Record::setupSlotOffset, 3);
        game.clear();
        EXPECT_FALSE(rally::loadSetupForStage(41)) << "no such setup";
        EXPECT_EQ(activeBytes(), expected) << "the game keeps its setup";
        EXPECT_EQ(record().get(Record::setupSlotOffset), -1);
        EXPECT_EQ(game.hostCalls(), Strings{});
    }

    const rally::StagePtr stage = stageWith(12, 0, 1, condition(12, 1, 0, 0, 2));
    game.clear();
    EXPECT_TRUE(rally::startStage(*car, stage)) << "a setup that fails to load does not stop the start";
    EXPECT_EQ(game.hostCalls().back(), "startStage 12 2 2 -1");
}

TEST_F(StageStart, SavedSetupsWithOddNames)
{
    for (const char* name : {"slot1.lsp", "slot01.lsp", "SLOT2_Tarmac fast.LSP", "slot.lsp", "slotx.lsp",
                             "slot1234.lsp", "slot-1.lsp", "slot3_.lsp", "notes.txt", "slot4.lsp.bak"}) {
        host.write(std::string("SavedGames/3/") + name, "x");
    }
    host.write("SavedGames/3/slot5.lsp/inside.txt", "a directory named like a setup");
    const rally::CarPtr car = rally::CarCatalogue::instance().car(3);

    car->buildSetupList();

    std::vector<std::string> listed;
    for (const auto& [index, entry] : car->setupList()) {
        listed.push_back(std::to_string(index) + " " + entry.fileName + " / " + entry.name);
    }
    EXPECT_EQ(listed, (Strings{"-2  / ", "-1  / ", "1 slot01.lsp / Setup 1",
                               "2 SLOT2_Tarmac fast.LSP / Tarmac fast"}))
        << "of slot01 and slot1 the first in name order stays";
    struct Case {
        int index;
        const char* name;
    };
    for (const Case c : {Case{-2, "Default"}, Case{-1, "Current"}, Case{1, "Setup 1"}, Case{2, "Tarmac fast"},
                         Case{5, "Default"}}) {
        car->setSetupIndex(c.index);
        EXPECT_EQ(car->setupName(), c.name) << c.index;
    }

    const rally::CarPtr without = rally::CarCatalogue::instance().car(6);
    without->buildSetupList();
    ASSERT_EQ(without->setupList().size(), 2u) << "no SavedGames/6: Default and Current only";
    EXPECT_EQ(without->setupList().begin()->first, -2);
    EXPECT_EQ(without->setupList().rbegin()->first, -1);
}

TEST_F(StageStart, CarSlotsOutOfRange)
{
    rally::CarCatalogue& catalogue = rally::CarCatalogue::instance();
    catalogue.selectCar(5);
    for (const int slot : {-1, 8, 9, 1000}) {
        SCOPED_TRACE(slot);
        catalogue.selectCar(slot);
        EXPECT_EQ(catalogue.selectedSlot(), 5);
        EXPECT_EQ(catalogue.car(slot), nullptr);
        EXPECT_EQ(rally::CarCatalogue::carName(slot), "");
        EXPECT_EQ(catalogue.displayName(slot), "");
    }
    rally::Stage stage(nullptr, 12, 0, 0, "Test Stage");
    stage.setCarSlot(9);
    stage.setSetupSlot(-1);
    rally::loadCarForStage(stage);
    EXPECT_EQ(catalogue.selectedSlot(), 5) << "a stage without a car keeps the selected one";
    EXPECT_EQ(catalogue.selectedCar()->setupIndex(), -1) << "and gives it the stage's setup";
    EXPECT_EQ(bindings::setupRecordOfCar(8), HostAddress()) << "the game has no ninth car";
}

TEST_F(StageStart, CarDetailsWithGarbageInTheSettings)
{
    host.write("Plugins/Zuzuzevo/Zuzuzevo.ini",
               "[car3]\n"
               "Model=\n"
               "Horsepower =  \x01\x7f garbage == 5 \n"
               "this line has no equals sign\n"
               "=no key\n"
               "Torque\n"
               "[Car03]\n"
               "Engine=not car 3\n"
               "[Car3\n"
               "Weight=in an unterminated section\n");
    const rally::CarPtr car = rally::CarCatalogue::instance().car(3);
    EXPECT_EQ(car->model(), "") << "an empty value is a value";
    EXPECT_EQ(car->horsepower(), "\x01\x7f garbage == 5");
    EXPECT_EQ(car->torque(), "600 Nm at 4000 rpm") << "a line without = is no key";
    EXPECT_EQ(car->engine(), "1996") << "Car03 is not the section of slot 3";
    EXPECT_EQ(car->weight(), "1230 kg") << "after an unterminated header the key stays in [Car03]";
    EXPECT_EQ(car->transmission(), "6 gears, 4WD");
    EXPECT_EQ(rally::CarCatalogue::instance().car(4)->model(), "Peugeot 206");
}

TEST_F(StageStart, SetupScreenOpensAfterTheSetupLoaded)
{
    const HostAddress gameState = bindings::gameState.object();
    gameState.write<std::int32_t>(util::mem::GameStateView::setupScreenFlagOffset, 4);
    const HostAddress inner = gameState.readAddress(util::mem::GameStateView::subObjectOffset);
    inner.write<std::int32_t>(0, 4);
    rally::Stage stage(nullptr, 41, 0, 0, "Test Stage");
    stage.setCarSlot(4);

    ASSERT_TRUE(rally::openSetupScreen(stage));

    EXPECT_EQ(record().get(Record::carSlotOffset), 4);
    EXPECT_EQ(record().get(Record::stageOffset), 41);
    EXPECT_EQ(bindings::weatherControl.object().read<std::int32_t>(util::mem::WeatherControlView::stageOffset), 41);
    EXPECT_EQ(gameState.read<std::int32_t>(util::mem::GameStateView::setupScreenFlagOffset), 0);
    EXPECT_EQ(inner.read<std::int32_t>(0), 0);
    EXPECT_EQ(game.hostCalls(), (Strings{"gameStateSwitchA 1", "prepareSetupScreen", "setupLoadDefault 4 41",
                                    "setupApply 4 41", "setupCheck 4", "applyCarSetup", "gameStateSwitchB 1",
                                    "openSetupScreen"}));

    game.clear();
    sim::SimulatedHost::instance().removeNamedRoutine(bindings::setupLoadDefault.info.name);
    EXPECT_FALSE(rally::openSetupScreen(stage));
    EXPECT_EQ(game.hostCalls(), (Strings{"gameStateSwitchA 1", "prepareSetupScreen"}))
        << "the screen stays closed when the setup cannot be loaded";
}

TEST_F(StageStart, SetupLeftActiveOnTheSetupScreen)
{
    host.write("SavedGames/1/slot0.lsp", "zero");
    host.write("SavedGames/1/slot1.lsp", "one");
    host.write("SavedGames/1/slot2.lsp", "two");
    rally::CarCatalogue::instance().selectCar(1);
    const rally::CarPtr car = rally::CarCatalogue::instance().selectedCar();
    const auto activate = [](const std::string& text) {
        std::vector<std::uint8_t> bytes(rally::Car::setupRecordSize, 0);
        std::copy(text.begin(), text.end(), bytes.begin());
        bindings::activeSetup.object().writeBytes(0, bytes.data(), rally::Car::setupRecordSize);
    };
    struct Case {
        const char* name;
        std::int32_t currentFlag;
        int carSetup;
        std::int32_t slot240;
        std::int32_t slot512;
        const char* active;
        int stageBefore;
        int expected;
    };
    for (const Case c : {
             Case{"the game says Current", 1, 0, 1, 2, "one", -3, -1},
             Case{"the car's setup is still active", 0, 0, 1, 2, "zero", -3, 0},
             Case{"the setup the game loaded last", 0, -2, 1, 2, "one", -3, 1},
             Case{"the further slot", 0, -1, -1, 2, "two", 0, 2},
             Case{"changed on the screen", 0, 1, -1, 2, "something else", 0, -1},
             Case{"changed, but the car had Default", 0, -2, -1, 2, "something else", 0, 0},
             Case{"nothing to compare", 0, -2, -1, 9, "something else", -3, -3},
         }) {
        SCOPED_TRACE(c.name);
        car->setSetupIndex(c.carSetup);
        record().set(Record::currentSetupFlagOffset, c.currentFlag);
        record().set(Record::setupSlotOffset, c.slot240);
        record().set(Record::furtherSetupSlotOffset, c.slot512);
        activate(c.active);
        rally::Stage stage(nullptr, 12, 0, 0, "Test Stage");
        stage.setSetupSlot(c.stageBefore);

        rally::adoptSetupAfterSetupScreen(stage);

        EXPECT_EQ(stage.setupSlot(), c.expected);
        EXPECT_EQ(car->setupIndex(), c.expected == -3 ? c.carSetup : c.expected);
        EXPECT_EQ(car->setupList().size(), 5u) << "the list was read again";
    }
}

} // namespace
