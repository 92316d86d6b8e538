#include "rally/ServiceManager.hpp"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>

#include "config/Settings.hpp"
#include "rally/Names.hpp"
#include "rally/Rally.hpp"
#include "util/Log.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostCall.hpp"
#include "util/mem/MemoryPatch.hpp"

namespace zudo::rally {

namespace {

namespace bindings = util::mem::bindings;
using util::mem::BindingInfo;
using util::mem::HostAddress;
using util::mem::HostBlock;
using util::mem::PluginRoutine;
using util::mem::VTableClone;

constexpr const char* serviceMenuName = "new_main";
// Where the host's standard widgets of the service menu are placed (host units).
constexpr std::int32_t widgetX = 50;
constexpr std::int32_t widgetY = 49;
constexpr std::int32_t secondWidgetX = 2320;
constexpr std::int32_t secondWidgetY = 400;

// The clock widget's table is copied with this many entries: slot 8 (its
// per-frame operation) is replaced, the others keep the host's.
constexpr std::uint32_t clockTableSlots = 16;
constexpr std::uint32_t frameSlotOffset = 8 * 4;

constexpr std::uint32_t repairWorkRecords = 7;
constexpr std::uint32_t repairWorkRecordSize = 232;
constexpr std::int32_t savedHostValues = 2;

// Host events and the values the host's listeners receive.
constexpr std::int32_t menuResetEvent = 24;
constexpr std::int32_t serviceEndEvent = 39;
constexpr std::int32_t damageChangedValue = 5;
constexpr std::int32_t serviceLeftValue = 9;
constexpr std::int32_t serviceAbandonedValue = 6;

constexpr float finishDelaySeconds = 1.0F;
constexpr std::size_t maxPath = 260;

const char* const location = "zudo::rally::ServiceManager";

void log(const std::string& text)
{
    util::Log log;
    if (log.isEnabled()) {
        log << location << " - " << text << util::endLog;
    }
}

// What the service park needs of the game beyond the known routines: the
// game's service screen has no known address, so in the Windows build these
// are missing and the service park is not offered.
constexpr std::array<const BindingInfo*, 23> hostServiceSide{
    &bindings::serviceMenuCreate.info, &bindings::serviceMenuClock.info,
    &bindings::serviceParkShow.info,   &bindings::serviceModeLeave.info,
    &bindings::menuStateReset.info,    &bindings::serviceSelection.info,
    &bindings::setServiceSelection.info, &bindings::serviceValue.info,
    &bindings::setServiceValue.info,   &bindings::setServiceCar.info,
    &bindings::carStateFromDamage.info, &bindings::carStateToDamage.info,
    &bindings::repairWorkCopy.info,    &bindings::repairWorkCrew.info,
    &bindings::repairWorkHandOver.info, &bindings::setRepairTime.info,
    &bindings::repairTimeLeft.info,    &bindings::repairUnderWay.info,
    &bindings::repairWorkDone.info,    &bindings::stopService.info,
    &bindings::carDirectory.info,      &bindings::loadRepairIni.info,
    &bindings::hostEventOnce.info,
};

// The first routine of the service side the game does not offer; null when
// it offers all.
const BindingInfo* missingServiceRoutine()
{
    for (const BindingInfo* binding : hostServiceSide) {
        if (!util::mem::routineAvailable(*binding)) {
            return binding;
        }
    }
    return nullptr;
}

// A narrow text of the host ending in 0, at most maxPath - 1 characters;
// nothing when it cannot be read or is longer.
std::optional<std::string> hostText(HostAddress text)
{
    if (text.isNull()) {
        return std::nullopt;
    }
    std::string result;
    for (std::uint32_t i = 0; i < maxPath; ++i) {
        char c = 0;
        if (!text.tryReadBytes(i, &c, 1)) {
            return std::nullopt;
        }
        if (c == '\0') {
            return result;
        }
        result += c;
    }
    return std::nullopt;
}

bool belongsToRally(const StagePtr& stage)
{
    return stage && stage->rally() != nullptr && !stage->rally()->isHotlap();
}

// Routines the game calls: no exception may leave them.
template <class Body>
void guarded(const char* what, Body&& body) noexcept
{
    try {
        body();
    } catch (const std::exception& error) {
        log(std::string(what) + ": " + error.what());
    } catch (...) {
        log(std::string(what) + ": an unknown exception");
    }
}

} // namespace

struct ServiceManager::State {
    float penalty = 0.0F;
    StagePtr stage;
    int carSlot = 0;
    std::unique_ptr<HostBlock> ownDamage;
    ServiceInfo defaultAllowance;
    bool pending = false;
    std::string failure;

    HostBlock repairWork;
    std::array<std::int32_t, savedHostValues> savedValues{};
    bool valuesSaved = false;

    // The game's service menu, built on first use, and its clock's table.
    HostAddress menuPage;
    VTableClone clockTable;
    HostAddress hostFrame; // the clock's own per-frame operation

    // The repair clock, from the menu action until the penalty is charged.
    bool repairRunning = false;
    float delay = finishDelaySeconds;
    bool done = false;
    bool timeUpHandled = false;

    // Plug-in routines handed to the game.
    PluginRoutine menuAction;
    PluginRoutine menuReset;
    PluginRoutine serviceEnd;
    std::array<PluginRoutine, 3> listeners;
};

// The routines handed to the game, which it calls from its own code.
struct ServiceHostCalls {
    static std::int32_t ZUDO_CDECL onStartRepair();
    static void ZUDO_CDECL onMenuReset(std::int32_t value);
    static void ZUDO_CDECL onServiceEnd(std::int32_t value);
    static void ZUDO_CDECL onDamageChanged(std::int32_t value);
    static void ZUDO_CDECL onServiceLeft(std::int32_t value);
    static void ZUDO_CDECL onServiceLeftOrAbandoned(std::int32_t value);
    static void ZUDO_FASTCALL onClockFrame(std::uint32_t self, std::uint32_t, float seconds);
};

ServiceManager& ServiceManager::instance()
{
    static ServiceManager manager;
    return manager;
}

ServiceManager::ServiceManager() : state_(std::make_unique<State>()) { restart(); }

ServiceManager::~ServiceManager() = default;

void ServiceManager::restart()
{
    State& s = *state_;
    s.clockTable = VTableClone();
    s = State();
    s.defaultAllowance = allowanceFromSettings();
    s.menuAction = PluginRoutine::ofFree<&ServiceHostCalls::onStartRepair>();
    s.menuReset = PluginRoutine::ofFree<&ServiceHostCalls::onMenuReset>();
    s.serviceEnd = PluginRoutine::ofFree<&ServiceHostCalls::onServiceEnd>();
    s.listeners = {PluginRoutine::ofFree<&ServiceHostCalls::onDamageChanged>(),
                   PluginRoutine::ofFree<&ServiceHostCalls::onServiceLeft>(),
                   PluginRoutine::ofFree<&ServiceHostCalls::onServiceLeftOrAbandoned>()};
    for (const PluginRoutine& listener : s.listeners) {
        if (!bindings::addHostListener(listener.address()).value_or(false)) {
            log("restart() - the game's listeners cannot be reached; the service end is not seen");
            break;
        }
    }
}

ServiceInfo ServiceManager::allowanceFromSettings()
{
    const int minutes = config::zuzuzevo::AllowedRepairTime().get();
    const int skill = skillCodeForText(config::zuzuzevo::Skill().get());
    const int mechanics = config::zuzuzevo::Mechanics().get();
    return ServiceInfo(mechanics, skill, static_cast<float>(minutes), false);
}

void ServiceManager::setCurrentStage(const StagePtr& stage)
{
    state_->stage = stage;
    state_->pending = true;
}

const StagePtr& ServiceManager::currentStage() const { return state_->stage; }

void ServiceManager::setCarSlot(int slot) { state_->carSlot = slot; }

int ServiceManager::carSlot() const { return state_->carSlot; }

bool ServiceManager::pending() const { return state_->pending; }

ServiceInfo& ServiceManager::currentAllowance()
{
    if (belongsToRally(state_->stage)) {
        return state_->stage->service();
    }
    return state_->defaultAllowance;
}

HostAddress ServiceManager::currentDamageRecord()
{
    if (belongsToRally(state_->stage)) {
        return state_->stage->rally()->rallyDamage();
    }
    if (!state_->ownDamage) {
        state_->ownDamage = Rally::makeDamageRecord();
    }
    return state_->ownDamage ? state_->ownDamage->address() : HostAddress();
}

bool ServiceManager::serviceAvailable()
{
    const StagePtr& stage = state_->stage;
    return currentAllowance().isAvailable() &&
           (!belongsToRally(stage) || stage->driven());
}

float ServiceManager::penalty() const { return state_->penalty; }

void ServiceManager::setPenalty(float seconds)
{
    state_->penalty = seconds;
    if (belongsToRally(state_->stage)) {
        state_->stage->addPenalty(seconds);
    }
}

bool ServiceManager::resetCarDamage()
{
    const HostAddress record = currentDamageRecord();
    if (record.isNull() || !Rally::repairDamageRecord(record)) {
        state_->failure = "The car damage cannot be reset: the game cannot make a damage record.";
        return false;
    }
    state_->penalty = 0.0F;
    bindings::serviceModeLeave();
    bindings::hostEventOnce(menuResetEvent, state_->menuReset.address());
    return true;
}

bool ServiceManager::openServicePark()
{
    State& s = *state_;
    if (const BindingInfo* missing = missingServiceRoutine()) {
        s.failure = "The game's service park cannot be reached: this build knows no address of "
                    "the game's " + std::string(missing->name) + ".";
        log("openServicePark() - " + s.failure);
        return false;
    }
    const HostAddress record = currentDamageRecord();
    if (record.isNull()) {
        s.failure = "The game's service park cannot be opened: the game cannot make a damage record.";
        return false;
    }
    if (!buildServiceMenu()) {
        s.failure = "The game's service park cannot be opened: its menu could not be built.";
        log("openServicePark() - " + s.failure);
        return false;
    }
    s.failure.clear();
    if (belongsToRally(s.stage)) {
        s.stage->service().setUsed(true);
    }
    prepareHostForService(record);
    bindings::serviceParkShow(s.menuPage);
    return true;
}

bool ServiceManager::buildServiceMenu()
{
    State& s = *state_;
    if (s.clockTable.isInstalled()) {
        return true;
    }
    if (s.menuPage.isNull()) {
        s.menuPage = bindings::serviceMenuCreate(serviceMenuName, s.menuAction.address(), widgetX,
                                                 widgetY, secondWidgetX, secondWidgetY)
                         .value_or(HostAddress());
    }
    const HostAddress clock = bindings::serviceMenuClock(s.menuPage).value_or(HostAddress());
    if (s.menuPage.isNull() || clock.isNull() ||
        clock.readAddress() != bindings::serviceWidgetTable.address()) {
        return false; // not the widget whose table the clock takes over
    }
    VTableClone table(clock, clockTableSlots);
    const HostAddress hostFrame =
        table.replace(frameSlotOffset, PluginRoutine::of<&ServiceHostCalls::onClockFrame>());
    if (hostFrame.isNull() || !table.install()) {
        return false;
    }
    s.hostFrame = hostFrame;
    s.clockTable = std::move(table);
    return true;
}

void ServiceManager::prepareHostForService(HostAddress record)
{
    State& s = *state_;
    if (bindings::serviceSelection().value_or(0) < 0) {
        bindings::setServiceSelection(0);
    }
    bindings::carStateFromDamage(record);
    if (s.repairWork.address().isNull()) {
        s.repairWork = HostBlock(repairWorkRecords * repairWorkRecordSize);
    }
    const HostAddress work = s.repairWork.address();
    if (!work.isNull()) {
        const ServiceInfo& allowance = currentAllowance();
        bindings::repairWorkCopy(work);
        for (std::uint32_t i = 0; i < repairWorkRecords; ++i) {
            bindings::repairWorkCrew(work + i * repairWorkRecordSize, allowance.mechanics(),
                                     allowance.skill());
        }
        bindings::repairWorkHandOver(work);
    }
    for (std::int32_t i = 0; i < savedHostValues; ++i) {
        s.savedValues[static_cast<std::size_t>(i)] = bindings::serviceValue(i).value_or(0);
    }
    s.valuesSaved = true;
    bindings::setServiceCar(s.carSlot);
}

std::int32_t ServiceManager::startRepair()
{
    State& s = *state_;
    bindings::setRepairTime(currentAllowance().minutes() * 60.0F);
    const std::optional<std::string> directory =
        hostText(bindings::carDirectory(s.carSlot).value_or(HostAddress()));
    std::array<char, maxPath> path{};
    if (!directory ||
        std::snprintf(path.data(), path.size(), "%srepair.ini", directory->c_str()) >=
            static_cast<int>(path.size())) {
        log("startRepair() - the car's directory cannot be read or is too long");
        return -1;
    }
    const std::int32_t error = bindings::loadRepairIni(path.data()).value_or(-1);
    if (error != 0) {
        log("startRepair() - the game could not load " + std::string(path.data()) + ": error " +
            std::to_string(error));
        return error;
    }
    setPenalty(0.0F);
    bindings::serviceModeLeave();
    bindings::hostEventOnce(menuResetEvent, s.menuReset.address());
    s.repairRunning = true;
    s.delay = finishDelaySeconds;
    s.done = false;
    s.timeUpHandled = false;
    return 0;
}

void ServiceManager::clockFrame(HostAddress clock, float seconds)
{
    State& s = *state_;
    util::mem::callMemberAt<void>(s.hostFrame, clock, seconds); // the host's clock advances
    if (!s.repairRunning) {
        return;
    }
    const float remaining = bindings::repairTimeLeft().value_or(0.0F);
    if (remaining > 0.0F || bindings::repairUnderWay().value_or(false)) {
        if (!bindings::repairWorkDone().value_or(false)) {
            s.delay = finishDelaySeconds;
            s.done = false;
            return;
        }
        s.delay -= seconds;
        if (s.delay <= 0.0F && !s.done) {
            s.done = true;
            chargeRepair(remaining);
            bindings::hostEventOnce(menuResetEvent, s.menuReset.address());
        }
    } else if (!s.timeUpHandled) {
        s.timeUpHandled = true;
        bindings::hostEventOnce(serviceEndEvent, s.serviceEnd.address());
    }
}

void ServiceManager::serviceEnded()
{
    if (!state_->repairRunning) {
        return; // the penalty of this repair has been charged already
    }
    chargeRepair(bindings::repairTimeLeft().value_or(0.0F));
    bindings::menuStateReset();
}

void ServiceManager::chargeRepair(float remaining)
{
    state_->repairRunning = false;
    bindings::stopService();
    setPenalty(penaltyFor(remaining));
}

void ServiceManager::hostReports(std::int32_t value, bool endsOnAbandon)
{
    State& s = *state_;
    if (!s.pending) {
        return;
    }
    if (value == serviceLeftValue || (endsOnAbandon && value == serviceAbandonedValue)) {
        s.pending = false;
        bindings::carStateToDamage(currentDamageRecord());
    }
}

void ServiceManager::damageChanged(std::int32_t value)
{
    if (!state_->pending || value != damageChangedValue) {
        return;
    }
    const HostAddress record = currentDamageRecord();
    bindings::carDamageApply(record);
    bindings::carStateFromDamage(record);
}

const std::string& ServiceManager::failureText() const { return state_->failure; }

void ServiceManager::endService()
{
    State& s = *state_;
    bindings::carStateToDamage(currentDamageRecord());
    if (s.valuesSaved) {
        for (std::int32_t i = 0; i < savedHostValues; ++i) {
            bindings::setServiceValue(i, s.savedValues[static_cast<std::size_t>(i)]);
        }
        s.valuesSaved = false;
    }
}

std::string ServiceManager::skillName(int skill) { return rally::skillName(skill); }

float ServiceManager::penaltyFor(float remainingSeconds)
{
    if (!(remainingSeconds < 0.0F)) {
        return 0.0F;
    }
    const float minutesOver = std::trunc(-remainingSeconds * 0.016666668F);
    return 10.0F * minutesOver;
}

std::int32_t ZUDO_CDECL ServiceHostCalls::onStartRepair()
{
    std::int32_t result = -1;
    guarded("onStartRepair", [&] { result = ServiceManager::instance().startRepair(); });
    return result;
}

void ZUDO_CDECL ServiceHostCalls::onMenuReset(std::int32_t)
{
    guarded("onMenuReset", [] { bindings::menuStateReset(); });
}

void ZUDO_CDECL ServiceHostCalls::onServiceEnd(std::int32_t)
{
    guarded("onServiceEnd", [] { ServiceManager::instance().serviceEnded(); });
}

void ZUDO_CDECL ServiceHostCalls::onDamageChanged(std::int32_t value)
{
    guarded("onDamageChanged", [value] { ServiceManager::instance().damageChanged(value); });
}

void ZUDO_CDECL ServiceHostCalls::onServiceLeft(std::int32_t value)
{
    guarded("onServiceLeft", [value] { ServiceManager::instance().hostReports(value, false); });
}

void ZUDO_CDECL ServiceHostCalls::onServiceLeftOrAbandoned(std::int32_t value)
{
    guarded("onServiceLeftOrAbandoned",
            [value] { ServiceManager::instance().hostReports(value, true); });
}

void ZUDO_FASTCALL ServiceHostCalls::onClockFrame(std::uint32_t self, std::uint32_t, float seconds)
{
    guarded("onClockFrame",
            [self, seconds] { ServiceManager::instance().clockFrame(HostAddress(self), seconds); });
}

} // namespace zudo::rally
