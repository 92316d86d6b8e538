#pragma once
// The game's service park as the simulator plays it: the host side of the
// service between stages, whose routines the plug-in binds by name (their
// addresses are not known). Every fake records its call as a HostCall line;
// times in seconds are recorded in whole milliseconds, host addresses of
// records as what they are (the repair-work record's number), texts quoted.
//
// - Host events: the plug-in registers one-shot handlers of an event
//   (hostEventOnce) and listeners (addHostListener). raise(EVENT, VALUE) runs
//   the one-shot handlers of EVENT first (each once, then forgotten), then
//   every listener, each with VALUE.
// - The service menu (serviceMenuCreate): a page whose first item runs the
//   plug-in's action (selectMenuItem), with a repair clock widget
//   (serviceMenuClock) whose virtual table is the game's table at 0x74C83C:
//   16 entries, slot 8 the clock's own frame (serviceClockFrame), which takes
//   the frame time off the remaining repair time and, while a repair runs,
//   off the work still to do. frame(T) calls whatever slot 8 of the widget's
//   table holds now.
// - The repair: setRepairTime/repairTimeLeft keep the remaining time;
//   loadRepairIni (0, or loadError) starts a repair whose work takes
//   requestedWork seconds, read then from a field of the simulator's own in
//   the game object (repairWorkOffset: set-int *0x7EAC48+0x780 SECONDS);
//   repairUnderWay is true from then until stopService, repairWorkDone
//   while the repair runs and its work is done.
// - The car: carStateFromDamage copies a damage record (from its byte 4 on:
//   the first word is its table) into the car, carStateToDamage the car into
//   one; carDamageApply writes the car's damage value (damageValue) into
//   bytes 4..7 of a record. carDirectory gives "Cars\Car<slot, two digits>\".
// - Host values: serviceSelection (selection), serviceValue 0 (the car index,
//   which setServiceCar sets) and 1 (the service flag, which serviceParkShow
//   sets to 1), with their setters; serviceModeLeave and menuStateReset only
//   record the call.
// - Repair work: seven records of 232 bytes; a record holds its number at
//   +0 and, after repairWorkCrew, the mechanics at +4 and the skill at +8.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/host/SimulatedHost.hpp"
#include "sim/record/GameRecorder.hpp"

namespace zudo::sim {

class ServicePark {
public:
    static constexpr std::uint32_t repairWorkOffset = 0x780; // in the game object
    static constexpr std::uint32_t clockTableSlots = 16;
    static constexpr std::uint32_t clockFrameRoutine = 0x7E000100;
    static constexpr std::uint32_t repairWorkRecords = 7;
    static constexpr std::uint32_t repairWorkRecordSize = 232;
    static constexpr std::uint32_t carStateSize = 16048;

    explicit ServicePark(SimulatedHost& host);
    ServicePark(const ServicePark&) = delete;
    ServicePark& operator=(const ServicePark&) = delete;

    // The game raises a host event. Returns false when nothing was registered
    // for it.
    bool raise(std::int32_t event, std::int32_t value);
    // One frame of the service screen; false when no service menu was built.
    bool frame(float seconds);
    // The player selects the menu's first item: the plug-in's action runs.
    // Nothing when no menu was built; otherwise the action's answer.
    std::optional<std::int32_t> selectMenuItem();

    // State the fakes keep (tests read and set it).
    HostAddress menuPage;
    HostAddress clock;
    HostAddress menuAction;
    bool shown = false;
    float remaining = 0.0F;
    bool repairing = false;
    float workLeft = 0.0F;
    std::int32_t loadError = 0;
    std::int32_t selection = 0;
    std::array<std::int32_t, 2> values{};
    std::int32_t damageValue = 0;
    HostAddress carState;
    HostAddress repairWork;
    std::string lastRepairIni;
    std::vector<std::pair<std::int32_t, std::uint32_t>> onceHandlers; // event, routine
    std::vector<std::uint32_t> listeners;
    HostAddress carDirectoryText;

private:
    void fillClockTable();

    SimulatedHost& host_;
};

// Registers the service park's fakes on host (after its reset); the model
// lives as long as the host keeps its fakes (until the next reset).
ServicePark& registerServiceParkFakes(SimulatedHost& host, GameRecorder& recorder);

} // namespace zudo::sim
