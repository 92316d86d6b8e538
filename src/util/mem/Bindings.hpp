#pragma once
// Every fixed host address the system uses, in one table. Each entry is the
// address the host had at its module's preferred base, never an offset.
// Features do not use these directly where a function named after what it does
// exists (gameMode(), trackIniValue(), ...); they use them to write such
// functions. README ("Host access") lists the same table.
//
// Routine signatures leave out the host object of member routines (it is the
// first argument of every call). const char* arguments are texts of the
// plug-in that the host only reads during the call. A routine that returns a
// std::string by value (MSVC) takes a hidden first argument: the host memory
// of 28 bytes that receives the string; it returns that address.

#include <array>
#include <cstdint>
#include <span>

#include "util/mem/Binding.hpp"

namespace zudo::util::mem::bindings {

using enum BindingKind;
using enum CallingConvention;
inline constexpr HostModule exe = HostModule::Executable;

// The table, written once: one X(name, address, kind, convention, use, type)
// per binding, in this order: the name (also the name under which the
// replacement host supplies a fake of an unknown routine), the address at the
// module's preferred base (unknownAddress when not known), the kind, the
// calling convention (None for anything but routines), what the host keeps
// there, and the binding's type (last, because a routine's signature holds
// commas). Each entry defines the binding below and its place in all().
#define ZUDO_HOST_BINDINGS(X) \
    /* --- Host objects (pointers the host keeps) ---------------------------------- */ \
    X(gameObject, 0x7EAC48, ObjectPointer, None, "the game object; its 32-bit game mode at +0x728", ObjectPointerBinding) \
    X(trackObject, 0x7EA678, ObjectPointer, None, "the track being loaded; its parameter block pointer at +0x70", ObjectPointerBinding) \
    X(libraryTable, library_table::pointerAddress, ObjectPointer, None, "load addresses of the host libraries at +20 and +28", ObjectPointerBinding) \
    X(weatherControl, 0x7C36A8, ObjectPointer, None, "weather control: stage number +16, index lists +72..+84, +92 cleared for replays", ObjectPointerBinding) \
    X(gameState, 0x165FA90, ObjectPointer, None, "game-state object: +1940, pointer at +3224, routines 0x5662A0/0x565430/0x5666E0", ObjectPointerBinding) \
    X(stagePreparation, 0x7CF398, ObjectPointer, None, "object prepared for driving: its second word points at an object with an int at +35328", ObjectPointerBinding) \
    X(frontEnd, 0x165FC48, ObjectPointer, None, "front-end object: menu page through virtual slot 9", ObjectPointerBinding) \
    X(activeSetup, 0x7ECD00, ObjectPointer, None, "the car setup active in the host", ObjectPointerBinding) \
    X(replayObject, 0x893634, ObjectPointer, None, "the replay object", ObjectPointerBinding) \
    /* --- Host objects lying at a fixed address ------------------------------------ */ \
    X(stageStartRecord, 0x16607F8, Object, None, "stage-start record (stage, car slot, tint set, tyres, weather mode, ...)", ObjectBinding) \
    X(languageObject, 0x8935E0, Object, None, "language object: language number +20, text attribute (16-bit) +16", ObjectBinding) \
    X(weatherTable, 0x7D34C8, Object, None, "the host's weather table (319 entries)", ObjectBinding) \
    X(serviceWidgetTable, 0x74C83C, Object, None, "virtual table of the service menu's widget (cloned, slot 8 replaced)", ObjectBinding) \
    X(onexitEnd, 0x17042F0, Object, None, "set to -1 before a hand-loaded host starts", ObjectBinding) \
    X(onexitBegin, 0x17042EC, Object, None, "set to -1 before a hand-loaded host starts", ObjectBinding) \
    X(initializersBegin, 0x7C0000, Object, None, "first entry of the static initializers", ObjectBinding) \
    X(initializersEnd, 0x7C0398, Object, None, "end of the static initializers", ObjectBinding) \
    X(instanceMutex, 0x7EAB94, Object, None, "handle of the host's single-instance mutex (closed in a hand-loaded host)", ObjectBinding) \
    /* --- Host code ------------------------------------------------------------------ */ \
    X(surfaceTypeCode, 0x4A1330, Code, None, "the routine giving a map's surface type; its first 5 bytes become a jump", CodeBinding) \
    /* --- Routines of the game object and the stage start ------------------------------ */ \
    /* (stage number, tint set, car slot, -1) -> result handed back */ \
    X(startStage, 0x47DEF0, Routine, Thiscall, "starts a stage (game object)", MemberRoutine<std::int32_t(std::int32_t, std::int32_t, std::int32_t, std::int32_t)>) \
    /* (player, tyres) */ \
    X(setPlayerTyres, 0x5662A0, Routine, Thiscall, "gives a player tyres (game state)", MemberRoutine<void(std::int32_t, std::int32_t)>) \
    X(currentTintSet, 0x4A9D50, Routine, Thiscall, "the tint set the weather control holds (weather control)", MemberRoutine<std::int32_t()>) \
    X(prepareDrivingStep1, 0x547070, Routine, Thiscall, "first step of preparing for driving, with 1 (stage preparation)", MemberRoutine<void(std::int32_t)>) \
    X(applyCarSetup, 0x558720, Routine, Thiscall, "takes over the loaded setup; second step of preparing for driving (stage preparation)", MemberRoutine<void()>) \
    X(prepareDrivingStep3, 0x5471A0, Routine, Thiscall, "last step of preparing for driving (stage preparation)", MemberRoutine<void()>) \
    X(gameStateSwitchA, 0x565430, Routine, Thiscall, "switches the game state towards driving, with 1 (game state)", MemberRoutine<void(std::int32_t)>) \
    X(gameStateSwitchB, 0x5666E0, Routine, Thiscall, "switches the game state towards driving, with 1 (game state)", MemberRoutine<void(std::int32_t)>) \
    X(prepareSetupScreen, 0x558440, Routine, Cdecl, "called before the setup for the setup screen is loaded", FreeRoutine<void()>) \
    X(openSetupScreen, 0x5625E0, Routine, Cdecl, "opens the host's setup screen", FreeRoutine<void()>) \
    /* --- Language --------------------------------------------------------------------- */ \
    /* (key) -> the host's wide text (host address of UTF-16 characters) */ \
    X(hostText, 0x4968F0, Routine, Thiscall, "the host's own text for a key (language object)", MemberRoutine<HostAddress(const char*)>) \
    /* --- Car damage (service and repair, progress) -------------------------------------- */ \
    /* Constructs a damage record in the given memory (16048 bytes); returns it. */ \
    X(constructCarDamage, 0x4EF410, Routine, Thiscall, "constructs a car damage record", MemberRoutine<HostAddress()>) \
    /* (source record): copies into the object. */ \
    X(copyCarDamage, 0x4EC470, Routine, Thiscall, "copies a car damage record", MemberRoutine<HostAddress(HostAddress)>) \
    /* --- Replays ------------------------------------------------------------------------ */ \
    /* (name, stage number, car slot, 1) -> result */ \
    X(saveReplay, 0x49B030, Routine, Thiscall, "saves a replay (replay object)", MemberRoutine<std::int32_t(const char*, std::int32_t, std::int32_t, std::int32_t)>) \
    X(playReplay, 0x499FB0, Routine, Thiscall, "plays the replay (replay object)", MemberRoutine<std::int32_t()>) \
    /* --- Saved-game files (members of a host file object) ---------------------------------- */ \
    /* (name below "SavedGames/") -> 1 on success */ \
    X(savedGameOpen, 0x48DB30, Routine, Thiscall, "opens SavedGames/<name> (file object)", MemberRoutine<std::int32_t(const char*)>) \
    X(savedGameOperation1, 0x48D9F0, Routine, Thiscall, "saved-game file operation with one argument (file object)", MemberRoutine<std::int32_t(std::uint32_t)>) \
    X(savedGameOperation2, 0x48DE30, Routine, Thiscall, "saved-game file operation with two arguments (file object)", MemberRoutine<std::int32_t(std::uint32_t, std::uint32_t)>) \
    X(savedGameOperation3, 0x48DF00, Routine, Thiscall, "saved-game file operation with one argument (file object)", MemberRoutine<std::int32_t(std::uint32_t)>) \
    X(savedGameOperation4, 0x48E440, Routine, Thiscall, "saved-game file operation with three arguments (file object)", MemberRoutine<std::int32_t(std::uint32_t, std::uint32_t, std::uint32_t)>) \
    /* --- Ini reader and path splitter (members of host objects the caller provides) --------- */ \
    X(iniReaderSetUp, 0x410F80, Routine, Thiscall, "sets up an ini reader object", MemberRoutine<HostAddress()>) \
    X(iniReaderRelease, 0x410FF0, Routine, Thiscall, "releases an ini reader object", MemberRoutine<void()>) \
    /* (path, mode 2) */ \
    X(iniReaderOpen, 0x4110F0, Routine, Thiscall, "opens an ini file", MemberRoutine<std::int32_t(const char*, std::int32_t)>) \
    /* (section, key, default) -> value */ \
    X(iniReaderInt, 0x4114D0, Routine, Thiscall, "reads an integer value", MemberRoutine<std::int32_t(const char*, const char*, std::int32_t)>) \
    /* (result string, section, key, default) -> result string */ \
    X(iniReaderString, 0x411420, Routine, Thiscall, "reads a string value", MemberRoutine<HostAddress(HostAddress, const char*, const char*, const char*)>) \
    /* (section, key, default) -> value */ \
    X(iniReaderBool, 0x411670, Routine, Thiscall, "reads a boolean value", MemberRoutine<bool(const char*, const char*, bool)>) \
    /* (path): afterwards the splitter holds the directory and the bare file name */ \
    X(pathSplitterSetUp, 0x406690, Routine, Thiscall, "splits a path", MemberRoutine<HostAddress(const char*)>) \
    X(pathSplitterRelease, 0x4066E0, Routine, Thiscall, "releases a path splitter", MemberRoutine<void()>) \
    /* --- Start-up of a hand-loaded host --------------------------------------------------- */ \
    /* (first, end): runs the initializers between them */ \
    X(runInitializers, 0x70CBFA, Routine, Cdecl, "runs a table of static initializers", FreeRoutine<void(HostAddress, HostAddress)>) \
    /* --- Routines named without a known address --------------------------------------------- */ \
    /* (text) -> width in front-end units */ \
    X(textWidth, unknownAddress, Routine, Cdecl, "width of a text in the menus", FreeRoutine<float(const char*)>) \
    /* Host file system (file object unknown as well): (path) -> ... */ \
    X(hostFileExists, unknownAddress, Routine, Cdecl, "whether the host's file system has a file", FreeRoutine<bool(const char*)>) \
    X(hostFileSize, unknownAddress, Routine, Cdecl, "size of a file of the host's file system", FreeRoutine<std::int32_t(const char*)>) \
    /* (path, host buffer, size) -> bytes read */ \
    X(hostFileRead, unknownAddress, Routine, Cdecl, "reads a file of the host's file system", FreeRoutine<std::int32_t(const char*, HostAddress, std::int32_t)>) \
    /* Setup manager: (car slot, stage) / (file name) / (car slot) -> success */ \
    X(setupLoadDefault, unknownAddress, Routine, Cdecl, "loads the default setup of a car for a stage", FreeRoutine<bool(std::int32_t, std::int32_t)>) \
    X(setupLoadFile, unknownAddress, Routine, Cdecl, "loads a saved setup file", FreeRoutine<bool(const char*)>) \
    /* (setup record in host memory, file name) -> success */ \
    X(setupLoadFileInto, unknownAddress, Routine, Cdecl, "loads a saved setup file into a scratch setup record", FreeRoutine<bool(HostAddress, const char*)>) \
    X(setupApply, unknownAddress, Routine, Cdecl, "applies the setup for a car and stage", FreeRoutine<bool(std::int32_t, std::int32_t)>) \
    X(setupCheck, unknownAddress, Routine, Cdecl, "checks the setup for a car", FreeRoutine<bool(std::int32_t)>) \
    /* (bare file name, host buffer receiving the display name as a NUL-ended text, */ \
    /* the buffer's size) -> setup index, or -1 when the name is not a setup's */ \
    X(setupFileIndex, unknownAddress, Routine, Cdecl, "parses a saved setup file name into its index and display name", FreeRoutine<std::int32_t(const char*, HostAddress, std::int32_t)>) \
    /* (car slot) -> the host's setup record of the car (5888 bytes), null outside 0..7 */ \
    X(setupRecordOfCar, unknownAddress, Routine, Cdecl, "the host's setup record of a car (setup manager)", FreeRoutine<HostAddress(std::int32_t)>) \
    /* Weather selection (members of the weather control object): the host picks */ \
    /* the stage's weather from its table through the good and bad index lists and */ \
    /* returns the index of the entry it chose (-1: none); the track wear belongs */ \
    /* to the chosen weather. */ \
    X(selectWeather, unknownAddress, Routine, Thiscall, "picks the stage's weather through the index lists (weather control)", MemberRoutine<std::int32_t()>) \
    X(weatherTrackWear, unknownAddress, Routine, Thiscall, "the track wear of the chosen weather (weather control)", MemberRoutine<std::int32_t()>) \
    X(setWeatherTrackWear, unknownAddress, Routine, Thiscall, "sets the track wear of the stage (weather control)", MemberRoutine<void(std::int32_t)>) \
    /* --- The service park (named without a known address) --------------------------------- */ \
    /* The host's side of the service between stages. Plug-in routines handed over */ \
    /* here: the menu action std::int32_t() (0 or the host's error code), listeners */ \
    /* and event handlers void(std::int32_t value), all of the C convention. */ \
    /* (page name, action of the first item, x and y of the standard widgets, x and */ \
    /* y of the second one) -> the menu page */ \
    X(serviceMenuCreate, unknownAddress, Routine, Cdecl, "builds a service menu page whose first item runs the given action", FreeRoutine<HostAddress(const char*, HostAddress, std::int32_t, std::int32_t, std::int32_t, std::int32_t)>) \
    /* (menu page) -> its repair clock widget, whose virtual table is serviceWidgetTable */ \
    X(serviceMenuClock, unknownAddress, Routine, Cdecl, "the repair clock widget of a service menu page", FreeRoutine<HostAddress(HostAddress)>) \
    /* (menu page) */ \
    X(serviceParkShow, unknownAddress, Routine, Cdecl, "switches the game mode for the service and shows the menu page", FreeRoutine<void(HostAddress)>) \
    X(serviceModeLeave, unknownAddress, Routine, Cdecl, "switches the game mode back from the service", FreeRoutine<void()>) \
    X(menuStateReset, unknownAddress, Routine, Cdecl, "resets the host's menu state", FreeRoutine<void()>) \
    X(serviceSelection, unknownAddress, Routine, Cdecl, "a selection value of the service that must not be negative", FreeRoutine<std::int32_t()>) \
    X(setServiceSelection, unknownAddress, Routine, Cdecl, "sets that selection value", FreeRoutine<void(std::int32_t)>) \
    /* (0 or 1) -> value; (0 or 1, value) */ \
    X(serviceValue, unknownAddress, Routine, Cdecl, "one of the two host values the service changes", FreeRoutine<std::int32_t(std::int32_t)>) \
    X(setServiceValue, unknownAddress, Routine, Cdecl, "puts one of those two values back", FreeRoutine<void(std::int32_t, std::int32_t)>) \
    /* (car slot) */ \
    X(setServiceCar, unknownAddress, Routine, Cdecl, "sets the host's car index for the service", FreeRoutine<void(std::int32_t)>) \
    /* (damage record) */ \
    X(carStateFromDamage, unknownAddress, Routine, Cdecl, "copies a car damage record into the host's current car", FreeRoutine<void(HostAddress)>) \
    X(carStateToDamage, unknownAddress, Routine, Cdecl, "copies the host's current car state into a car damage record", FreeRoutine<void(HostAddress)>) \
    X(carDamageApply, unknownAddress, Routine, Cdecl, "applies the host's current damage value to a car damage record", FreeRoutine<void(HostAddress)>) \
    /* (7 records of 232 bytes) / (one record, mechanics, skill) / (7 records) */ \
    X(repairWorkCopy, unknownAddress, Routine, Cdecl, "copies the host's seven repair-work records", FreeRoutine<void(HostAddress)>) \
    X(repairWorkCrew, unknownAddress, Routine, Cdecl, "sets mechanics and skill in a repair-work record", FreeRoutine<void(HostAddress, std::int32_t, std::int32_t)>) \
    X(repairWorkHandOver, unknownAddress, Routine, Cdecl, "hands seven repair-work records to the host", FreeRoutine<void(HostAddress)>) \
    /* (seconds) / () -> seconds, negative once the allowance is exceeded */ \
    X(setRepairTime, unknownAddress, Routine, Cdecl, "sets the remaining repair time", FreeRoutine<void(float)>) \
    X(repairTimeLeft, unknownAddress, Routine, Cdecl, "the remaining repair time", FreeRoutine<float()>) \
    X(repairUnderWay, unknownAddress, Routine, Cdecl, "whether the host's repair state reports work under way", FreeRoutine<bool()>) \
    X(repairWorkDone, unknownAddress, Routine, Cdecl, "whether the requested repair work is finished", FreeRoutine<bool()>) \
    X(stopService, unknownAddress, Routine, Cdecl, "stops the host's service", FreeRoutine<void()>) \
    /* (car slot) -> the host's text (narrow, ending in 0) of the car's directory */ \
    X(carDirectory, unknownAddress, Routine, Cdecl, "the directory of the car in a slot", FreeRoutine<HostAddress(std::int32_t)>) \
    /* (path) -> 0, or the host's error code */ \
    X(loadRepairIni, unknownAddress, Routine, Cdecl, "loads a car's repair definitions", FreeRoutine<std::int32_t(const char*)>) \
    /* (event, handler): the handler runs once, at the next time the host raises the event */ \
    X(hostEventOnce, unknownAddress, Routine, Cdecl, "registers a one-shot handler of a host event", FreeRoutine<bool(std::int32_t, HostAddress)>) \
    /* (listener): called with the value of every host event */ \
    X(addHostListener, unknownAddress, Routine, Cdecl, "registers a host listener", FreeRoutine<bool(HostAddress)>)

#define ZUDO_DEFINE_BINDING(name, address, kind, convention, use, ...) \
    inline constexpr __VA_ARGS__ name{{#name, address, exe, kind, convention, use}};
ZUDO_HOST_BINDINGS(ZUDO_DEFINE_BINDING)
#undef ZUDO_DEFINE_BINDING

// Every binding above, for listings and consistency checks.
#define ZUDO_BINDING_INFO(name, ...) &name.info,
inline constexpr std::array allBindings{ZUDO_HOST_BINDINGS(ZUDO_BINDING_INFO)};
#undef ZUDO_BINDING_INFO

inline std::span<const BindingInfo* const> all() { return allBindings; }

} // namespace zudo::util::mem::bindings
