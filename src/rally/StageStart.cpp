#include "rally/StageStart.hpp"

#include <vector>

#include "rally/WeatherDaemon.hpp"
#include "util/Log.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"

namespace zudo::rally {

namespace {

namespace bindings = util::mem::bindings;
using util::mem::HostAddress;
using Record = util::mem::StageStartRecordView;
using util::mem::GameStateView;
using util::mem::StagePreparationView;
using util::mem::WeatherControlView;

void logFailure(const char* location, const char* text)
{
    util::Log log;
    if (log.isEnabled()) {
        log << location << " - " << text << util::endLog;
    }
}

// The setup manager's routines have no known address in the game: without
// them no setup is loaded and the game keeps the setup it has.
bool setupManagerReachable()
{
    return bindings::setupApply.available() && bindings::setupCheck.available();
}

// Step one of loading: the car's chosen setup into the game's active setup.
bool loadChosenSetup(const Car& car, std::int32_t stageNumber)
{
    const int index = car.setupIndex();
    if (index == Car::currentSetup) {
        const HostAddress active = bindings::activeSetup.object();
        if (active.isNull() || car.currentSetupRecord().size() != Car::setupRecordSize) {
            return false;
        }
        active.writeBytes(0, car.currentSetupRecord().data(), Car::setupRecordSize);
        return true;
    }
    if (index == Car::defaultSetup) {
        return bindings::setupLoadDefault(car.slot(), stageNumber).value_or(false);
    }
    const std::string file = car.setupFile(index);
    return !file.empty() && bindings::setupLoadFile(file.c_str()).value_or(false);
}

bool loadSetup(const Car& car, std::int32_t stageNumber)
{
    constexpr const char* location = "zudo::rally::loadSetupForStage()";
    const Record record(bindings::stageStartRecord.address());
    if (record.isNull() || !setupManagerReachable()) {
        logFailure(location, "the game's setup manager cannot be reached: the game keeps its setup");
        return false;
    }
    record.set(Record::setupSlotOffset, -1);
    if (!loadChosenSetup(car, stageNumber)) {
        logFailure(location, "the chosen setup could not be loaded");
        return false;
    }
    if (!bindings::setupApply(car.slot(), stageNumber).value_or(false) ||
        !bindings::setupCheck(car.slot()).value_or(false)) {
        logFailure(location, "the game did not accept the setup");
        return false;
    }
    return bindings::applyCarSetup(bindings::stagePreparation.object());
}

// Stage number, car, tyres and weather mode as the game's stage start reads
// them, and the stage number in the weather control object.
void fillStageStartRecord(const Record& record, HostAddress weatherControl, const Car& car,
                          const Stage& stage)
{
    record.set(Record::weatherModeOffset, stage.weatherMode());
    record.set(Record::stageOffset, stage.stageNumber());
    record.set(Record::carSlotOffset, car.slot());
    record.set(Record::tyresOffset, stage.tyres());
    record.set(Record::resetToMinusOneOffset, -1);
    weatherControl.write<std::int32_t>(WeatherControlView::stageOffset, stage.stageNumber());
}

void prepareForDriving()
{
    const HostAddress preparation = bindings::stagePreparation.object();
    if (preparation.isNull()) {
        return;
    }
    const HostAddress inner = preparation.readAddress(StagePreparationView::innerObjectOffset);
    if (!inner.isNull()) {
        inner.write<std::int32_t>(StagePreparationView::innerClearedOffset, 0);
    }
    bindings::prepareDrivingStep1(preparation, 1);
    bindings::applyCarSetup(preparation);
    bindings::prepareDrivingStep3(preparation);
}

// The part of the start after the weather: false when the game was not told
// to start the stage.
bool handOverToTheGame(Car& car, const Stage& stage, const Record& record, HostAddress game,
                       HostAddress weatherControl, const WeatherDaemon& daemon)
{
    loadSetup(car, stage.stageNumber()); // a setup that cannot be loaded does not stop the start
    const HostAddress gameState = bindings::gameState.object();
    bindings::setPlayerTyres(gameState, 0, stage.tyres());
    // The daemon's own choice names its tint set; a condition whose tint set
    // is not known leaves the answer to the game.
    const std::optional<std::int32_t> chosen = daemon.chosenTintSet();
    const std::optional<std::int32_t> tintSet =
        chosen && *chosen >= 0 ? chosen : bindings::currentTintSet(weatherControl);
    if (!tintSet) {
        logFailure("zudo::rally::startStage()", "the game gave no tint set: the stage is not started");
        return false;
    }
    record.set(Record::tintSetOffset, *tintSet);
    prepareForDriving();
    bindings::gameStateSwitchA(gameState, 1);
    bindings::gameStateSwitchB(gameState, 1);
    return bindings::startStage(game, stage.stageNumber(), *tintSet, car.slot(), -1).has_value();
}

enum class SetupComparison { NotLoaded, Differs, Equal };

// Loads a saved setup of the car into a scratch record (the game's active
// setup stays as it is) and compares it with the active one.
SetupComparison compareWithActiveSetup(const Car& car, int index)
{
    const std::string file = car.setupFile(index);
    const HostAddress active = bindings::activeSetup.object();
    if (file.empty() || active.isNull()) {
        return SetupComparison::NotLoaded;
    }
    const util::mem::HostBlock scratch(Car::setupRecordSize);
    if (scratch.address().isNull() ||
        !bindings::setupLoadFileInto(scratch.address(), file.c_str()).value_or(false)) {
        return SetupComparison::NotLoaded;
    }
    std::vector<std::uint8_t> loaded(Car::setupRecordSize);
    std::vector<std::uint8_t> current(Car::setupRecordSize);
    scratch.address().readBytes(0, loaded.data(), Car::setupRecordSize);
    active.readBytes(0, current.data(), Car::setupRecordSize);
    return loaded == current ? SetupComparison::Equal : SetupComparison::Differs;
}

// Which setup the player left active on the game's setup screen: the stage's
// new setup, or noSetupChosen when it cannot be told.
int setupLeftActive(const Car& car, const Record& record, int stageSetup)
{
    if (record.get(Record::currentSetupFlagOffset) != 0) {
        return Car::currentSetup;
    }
    const int carSetup = car.setupIndex();
    const int recordSetup = record.get(Record::setupSlotOffset);
    const int furtherSetup = record.get(Record::furtherSetupSlotOffset);
    if (carSetup >= 0 && compareWithActiveSetup(car, carSetup) == SetupComparison::Equal) {
        return carSetup;
    }
    if (recordSetup >= 0 && compareWithActiveSetup(car, recordSetup) == SetupComparison::Equal) {
        return recordSetup;
    }
    switch (compareWithActiveSetup(car, furtherSetup)) {
    case SetupComparison::Equal:
        return furtherSetup;
    case SetupComparison::Differs:
        return carSetup == Car::defaultSetup ? stageSetup : Car::currentSetup;
    case SetupComparison::NotLoaded:
        break;
    }
    return stageSetup;
}

} // namespace

void loadCarForStage(const Stage& stage)
{
    CarCatalogue& catalogue = CarCatalogue::instance();
    catalogue.selectCar(stage.carSlot());
    if (stage.setupSlot() != Stage::noSetupChosen) {
        catalogue.selectedCar()->setSetupIndex(stage.setupSlot());
    }
}

bool loadSetupForStage(std::int32_t stageNumber)
{
    const CarPtr car = CarCatalogue::instance().selectedCar();
    return car && loadSetup(*car, stageNumber);
}

bool startStage(Car& car, const StagePtr& stage)
{
    constexpr const char* location = "zudo::rally::startStage()";
    if (!stage) {
        return false;
    }
    const Record record(bindings::stageStartRecord.address());
    const HostAddress weatherControl = bindings::weatherControl.object();
    const HostAddress game = bindings::gameObject.object();
    if (record.isNull() || weatherControl.isNull() || game.isNull() || !bindings::startStage.available()) {
        logFailure(location, "the game cannot be reached: the stage is not started");
        return false;
    }
    const TrackConditionPtr condition = stage->resolvedCondition();
    if (!condition || !condition->valid) {
        logFailure(location, "the stage has no valid track condition: it is not started");
        return false;
    }
    fillStageStartRecord(record, weatherControl, car, *stage);
    WeatherDaemon& daemon = WeatherDaemon::instance();
    if (!daemon.applyWeather(stage)) {
        logFailure(location, "the stage's weather could not be put in place: it is not started");
        return false;
    }
    bool started = false;
    try {
        started = handOverToTheGame(car, *stage, record, game, weatherControl, daemon);
    } catch (...) {
        daemon.restore();
        throw;
    }
    if (!started) {
        daemon.restore();
    }
    return started;
}

bool openSetupScreen(const Stage& stage)
{
    loadCarForStage(stage);
    const CarPtr car = CarCatalogue::instance().selectedCar();
    const Record record(bindings::stageStartRecord.address());
    const HostAddress weatherControl = bindings::weatherControl.object();
    const HostAddress gameState = bindings::gameState.object();
    if (!car || record.isNull() || weatherControl.isNull() || gameState.isNull() ||
        !setupManagerReachable()) {
        logFailure("zudo::rally::openSetupScreen()",
                   "the game's setup manager cannot be reached: no setup screen");
        return false;
    }
    record.set(Record::carSlotOffset, car->slot());
    record.set(Record::stageOffset, stage.stageNumber());
    weatherControl.write<std::int32_t>(WeatherControlView::stageOffset, stage.stageNumber());
    gameState.write<std::int32_t>(GameStateView::setupScreenFlagOffset, 0);
    const HostAddress inner = gameState.readAddress(GameStateView::subObjectOffset);
    if (!inner.isNull()) {
        inner.write<std::int32_t>(0, 0);
    }
    bindings::gameStateSwitchA(gameState, 1);
    bindings::prepareSetupScreen();
    if (!loadSetup(*car, stage.stageNumber())) {
        return false;
    }
    bindings::gameStateSwitchB(gameState, 1);
    bindings::openSetupScreen();
    return true;
}

void adoptSetupAfterSetupScreen(Stage& stage)
{
    const CarPtr car = CarCatalogue::instance().selectedCar();
    if (!car) {
        return;
    }
    car->buildSetupList();
    const Record record(bindings::stageStartRecord.address());
    if (!record.isNull()) {
        stage.setSetupSlot(setupLeftActive(*car, record, stage.setupSlot()));
    }
    if (stage.setupSlot() != Stage::noSetupChosen) {
        car->setSetupIndex(stage.setupSlot());
    }
}

} // namespace zudo::rally
