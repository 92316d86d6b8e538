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

#include <cstdint>
#include <span>

#include "util/mem/Binding.hpp"

namespace zudo::util::mem::bindings {

using enum BindingKind;
using enum CallingConvention;
inline constexpr HostModule exe = HostModule::Executable;

// --- Host objects (pointers the host keeps) ----------------------------------
inline constexpr ObjectPointerBinding gameObject{
    {"gameObject", 0x7EAC48, exe, ObjectPointer, None,
     "the game object; its 32-bit game mode at +0x728"}};
inline constexpr ObjectPointerBinding trackObject{
    {"trackObject", 0x7EA678, exe, ObjectPointer, None,
     "the track being loaded; its parameter block pointer at +0x70"}};
inline constexpr ObjectPointerBinding libraryTable{
    {"libraryTable", library_table::pointerAddress, exe, ObjectPointer, None,
     "load addresses of the host libraries at +20 and +28"}};
inline constexpr ObjectPointerBinding weatherControl{
    {"weatherControl", 0x7C36A8, exe, ObjectPointer, None,
     "weather control: stage number +16, index lists +72..+84, +92 cleared for replays"}};
inline constexpr ObjectPointerBinding gameState{
    {"gameState", 0x165FA90, exe, ObjectPointer, None,
     "game-state object: +1940, pointer at +3224, routines 0x5662A0/0x565430/0x5666E0"}};
inline constexpr ObjectPointerBinding stagePreparation{
    {"stagePreparation", 0x7CF398, exe, ObjectPointer, None,
     "object prepared for driving: its second word points at an object with an int at +35328"}};
inline constexpr ObjectPointerBinding frontEnd{
    {"frontEnd", 0x165FC48, exe, ObjectPointer, None,
     "front-end object: menu page through virtual slot 9"}};
inline constexpr ObjectPointerBinding activeSetup{
    {"activeSetup", 0x7ECD00, exe, ObjectPointer, None, "the car setup active in the host"}};
inline constexpr ObjectPointerBinding replayObject{
    {"replayObject", 0x893634, exe, ObjectPointer, None, "the replay object"}};

// --- Host objects lying at a fixed address ------------------------------------
inline constexpr ObjectBinding stageStartRecord{
    {"stageStartRecord", 0x16607F8, exe, Object, None,
     "stage-start record (stage, car slot, tint set, tyres, weather mode, ...)"}};
inline constexpr ObjectBinding languageObject{
    {"languageObject", 0x8935E0, exe, Object, None,
     "language object: language number +20, text attribute (16-bit) +16"}};
inline constexpr ObjectBinding weatherTable{
    {"weatherTable", 0x7D34C8, exe, Object, None, "the host's weather table (319 entries)"}};
inline constexpr ObjectBinding serviceWidgetTable{
    {"serviceWidgetTable", 0x74C83C, exe, Object, None,
     "virtual table of the service menu's widget (cloned, slot 8 replaced)"}};
inline constexpr ObjectBinding onexitEnd{
    {"onexitEnd", 0x17042F0, exe, Object, None, "set to -1 before a hand-loaded host starts"}};
inline constexpr ObjectBinding onexitBegin{
    {"onexitBegin", 0x17042EC, exe, Object, None, "set to -1 before a hand-loaded host starts"}};
inline constexpr ObjectBinding initializersBegin{
    {"initializersBegin", 0x7C0000, exe, Object, None, "first entry of the static initializers"}};
inline constexpr ObjectBinding initializersEnd{
    {"initializersEnd", 0x7C0398, exe, Object, None, "end of the static initializers"}};
inline constexpr ObjectBinding instanceMutex{
    {"instanceMutex", 0x7EAB94, exe, Object, None,
     "handle of the host's single-instance mutex (closed in a hand-loaded host)"}};

// --- Host code ------------------------------------------------------------------
inline constexpr CodeBinding surfaceTypeCode{
    {"surfaceTypeCode", 0x4A1330, exe, Code, None,
     "the routine giving a map's surface type; its first 5 bytes become a jump"}};

// --- Routines of the game object and the stage start ------------------------------
// (stage number, tint set, car slot, -1) -> result handed back
inline constexpr MemberRoutine<std::int32_t(std::int32_t, std::int32_t, std::int32_t, std::int32_t)>
    startStage{{"startStage", 0x47DEF0, exe, Routine, Thiscall, "starts a stage (game object)"}};
// (player, tyres)
inline constexpr MemberRoutine<void(std::int32_t, std::int32_t)> setPlayerTyres{
    {"setPlayerTyres", 0x5662A0, exe, Routine, Thiscall, "gives a player tyres (game state)"}};
inline constexpr MemberRoutine<std::int32_t()> currentTintSet{
    {"currentTintSet", 0x4A9D50, exe, Routine, Thiscall,
     "the tint set the weather control holds (weather control)"}};
inline constexpr MemberRoutine<void(std::int32_t)> prepareDrivingStep1{
    {"prepareDrivingStep1", 0x547070, exe, Routine, Thiscall,
     "first step of preparing for driving, with 1 (stage preparation)"}};
inline constexpr MemberRoutine<void()> applyCarSetup{
    {"applyCarSetup", 0x558720, exe, Routine, Thiscall,
     "takes over the loaded setup; second step of preparing for driving (stage preparation)"}};
inline constexpr MemberRoutine<void()> prepareDrivingStep3{
    {"prepareDrivingStep3", 0x5471A0, exe, Routine, Thiscall,
     "last step of preparing for driving (stage preparation)"}};
inline constexpr MemberRoutine<void(std::int32_t)> gameStateSwitchA{
    {"gameStateSwitchA", 0x565430, exe, Routine, Thiscall,
     "switches the game state towards driving, with 1 (game state)"}};
inline constexpr MemberRoutine<void(std::int32_t)> gameStateSwitchB{
    {"gameStateSwitchB", 0x5666E0, exe, Routine, Thiscall,
     "switches the game state towards driving, with 1 (game state)"}};
inline constexpr FreeRoutine<void()> prepareSetupScreen{
    {"prepareSetupScreen", 0x558440, exe, Routine, Cdecl,
     "called before the setup for the setup screen is loaded"}};
inline constexpr FreeRoutine<void()> openSetupScreen{
    {"openSetupScreen", 0x5625E0, exe, Routine, Cdecl, "opens the host's setup screen"}};

// --- Language ---------------------------------------------------------------------
// (key) -> the host's wide text (host address of UTF-16 characters)
inline constexpr MemberRoutine<HostAddress(const char*)> hostText{
    {"hostText", 0x4968F0, exe, Routine, Thiscall, "the host's own text for a key (language object)"}};

// --- Car damage (service and repair, progress) --------------------------------------
// Constructs a damage record in the given memory (16048 bytes); returns it.
inline constexpr MemberRoutine<HostAddress()> constructCarDamage{
    {"constructCarDamage", 0x4EF410, exe, Routine, Thiscall, "constructs a car damage record"}};
// (source record): copies into the object.
inline constexpr MemberRoutine<HostAddress(HostAddress)> copyCarDamage{
    {"copyCarDamage", 0x4EC470, exe, Routine, Thiscall, "copies a car damage record"}};

// --- Replays ------------------------------------------------------------------------
// (name, stage number, car slot, 1) -> result
inline constexpr MemberRoutine<std::int32_t(const char*, std::int32_t, std::int32_t, std::int32_t)>
    saveReplay{{"saveReplay", 0x49B030, exe, Routine, Thiscall, "saves a replay (replay object)"}};
inline constexpr MemberRoutine<std::int32_t()> playReplay{
    {"playReplay", 0x499FB0, exe, Routine, Thiscall, "plays the replay (replay object)"}};

// --- Saved-game files (members of a host file object) ----------------------------------
// (name below "SavedGames/") -> 1 on success
inline constexpr MemberRoutine<std::int32_t(const char*)> savedGameOpen{
    {"savedGameOpen", 0x48DB30, exe, Routine, Thiscall, "opens SavedGames/<name> (file object)"}};
inline constexpr MemberRoutine<std::int32_t(std::uint32_t)> savedGameOperation1{
    {"savedGameOperation1", 0x48D9F0, exe, Routine, Thiscall,
     "saved-game file operation with one argument (file object)"}};
inline constexpr MemberRoutine<std::int32_t(std::uint32_t, std::uint32_t)> savedGameOperation2{
    {"savedGameOperation2", 0x48DE30, exe, Routine, Thiscall,
     "saved-game file operation with two arguments (file object)"}};
inline constexpr MemberRoutine<std::int32_t(std::uint32_t)> savedGameOperation3{
    {"savedGameOperation3", 0x48DF00, exe, Routine, Thiscall,
     "saved-game file operation with one argument (file object)"}};
inline constexpr MemberRoutine<std::int32_t(std::uint32_t, std::uint32_t, std::uint32_t)>
    savedGameOperation4{{"savedGameOperation4", 0x48E440, exe, Routine, Thiscall,
                         "saved-game file operation with three arguments (file object)"}};

// --- Ini reader and path splitter (members of host objects the caller provides) ---------
inline constexpr MemberRoutine<HostAddress()> iniReaderSetUp{
    {"iniReaderSetUp", 0x410F80, exe, Routine, Thiscall, "sets up an ini reader object"}};
inline constexpr MemberRoutine<void()> iniReaderRelease{
    {"iniReaderRelease", 0x410FF0, exe, Routine, Thiscall, "releases an ini reader object"}};
// (path, mode 2)
inline constexpr MemberRoutine<std::int32_t(const char*, std::int32_t)> iniReaderOpen{
    {"iniReaderOpen", 0x4110F0, exe, Routine, Thiscall, "opens an ini file"}};
// (section, key, default) -> value
inline constexpr MemberRoutine<std::int32_t(const char*, const char*, std::int32_t)> iniReaderInt{
    {"iniReaderInt", 0x4114D0, exe, Routine, Thiscall, "reads an integer value"}};
// (result string, section, key, default) -> result string
inline constexpr MemberRoutine<HostAddress(HostAddress, const char*, const char*, const char*)>
    iniReaderString{{"iniReaderString", 0x411420, exe, Routine, Thiscall, "reads a string value"}};
// (section, key, default) -> value
inline constexpr MemberRoutine<bool(const char*, const char*, bool)> iniReaderBool{
    {"iniReaderBool", 0x411670, exe, Routine, Thiscall, "reads a boolean value"}};
// (path): afterwards the splitter holds the directory and the bare file name
inline constexpr MemberRoutine<HostAddress(const char*)> pathSplitterSetUp{
    {"pathSplitterSetUp", 0x406690, exe, Routine, Thiscall, "splits a path"}};
inline constexpr MemberRoutine<void()> pathSplitterRelease{
    {"pathSplitterRelease", 0x4066E0, exe, Routine, Thiscall, "releases a path splitter"}};

// --- Start-up of a hand-loaded host ---------------------------------------------------
// (first, end): runs the initializers between them
inline constexpr FreeRoutine<void(HostAddress, HostAddress)> runInitializers{
    {"runInitializers", 0x70CBFA, exe, Routine, Cdecl, "runs a table of static initializers"}};

// --- Routines named without a known address ---------------------------------------------
// (text) -> width in front-end units
inline constexpr FreeRoutine<float(const char*)> textWidth{
    {"textWidth", unknownAddress, exe, Routine, Cdecl, "width of a text in the menus"}};
// Host file system (file object unknown as well): (path) -> ...
inline constexpr FreeRoutine<bool(const char*)> hostFileExists{
    {"hostFileExists", unknownAddress, exe, Routine, Cdecl, "whether the host's file system has a file"}};
inline constexpr FreeRoutine<std::int32_t(const char*)> hostFileSize{
    {"hostFileSize", unknownAddress, exe, Routine, Cdecl, "size of a file of the host's file system"}};
// (path, host buffer, size) -> bytes read
inline constexpr FreeRoutine<std::int32_t(const char*, HostAddress, std::int32_t)> hostFileRead{
    {"hostFileRead", unknownAddress, exe, Routine, Cdecl, "reads a file of the host's file system"}};
// Setup manager: (car slot, stage) / (file name) / (car slot) -> success
inline constexpr FreeRoutine<bool(std::int32_t, std::int32_t)> setupLoadDefault{
    {"setupLoadDefault", unknownAddress, exe, Routine, Cdecl, "loads the default setup of a car for a stage"}};
inline constexpr FreeRoutine<bool(const char*)> setupLoadFile{
    {"setupLoadFile", unknownAddress, exe, Routine, Cdecl, "loads a saved setup file"}};
// (setup record in host memory, file name) -> success
inline constexpr FreeRoutine<bool(HostAddress, const char*)> setupLoadFileInto{
    {"setupLoadFileInto", unknownAddress, exe, Routine, Cdecl,
     "loads a saved setup file into a scratch setup record"}};
inline constexpr FreeRoutine<bool(std::int32_t, std::int32_t)> setupApply{
    {"setupApply", unknownAddress, exe, Routine, Cdecl, "applies the setup for a car and stage"}};
inline constexpr FreeRoutine<bool(std::int32_t)> setupCheck{
    {"setupCheck", unknownAddress, exe, Routine, Cdecl, "checks the setup for a car"}};
// (bare file name, host buffer receiving the display name as a NUL-ended text,
// the buffer's size) -> setup index, or -1 when the name is not a setup's
inline constexpr FreeRoutine<std::int32_t(const char*, HostAddress, std::int32_t)> setupFileIndex{
    {"setupFileIndex", unknownAddress, exe, Routine, Cdecl,
     "parses a saved setup file name into its index and display name"}};
// (car slot) -> the host's setup record of the car (5888 bytes), null outside 0..7
inline constexpr FreeRoutine<HostAddress(std::int32_t)> setupRecordOfCar{
    {"setupRecordOfCar", unknownAddress, exe, Routine, Cdecl,
     "the host's setup record of a car (setup manager)"}};
// Weather selection (members of the weather control object): the host picks
// the stage's weather from its table through the good and bad index lists and
// returns the index of the entry it chose (-1: none); the track wear belongs
// to the chosen weather.
inline constexpr MemberRoutine<std::int32_t()> selectWeather{
    {"selectWeather", unknownAddress, exe, Routine, Thiscall,
     "picks the stage's weather through the index lists (weather control)"}};
inline constexpr MemberRoutine<std::int32_t()> weatherTrackWear{
    {"weatherTrackWear", unknownAddress, exe, Routine, Thiscall,
     "the track wear of the chosen weather (weather control)"}};
inline constexpr MemberRoutine<void(std::int32_t)> setWeatherTrackWear{
    {"setWeatherTrackWear", unknownAddress, exe, Routine, Thiscall,
     "sets the track wear of the stage (weather control)"}};

// --- The service park (named without a known address) ---------------------------------
// The host's side of the service between stages. Plug-in routines handed over
// here: the menu action std::int32_t() (0 or the host's error code), listeners
// and event handlers void(std::int32_t value), all of the C convention.
// (page name, action of the first item, x and y of the standard widgets, x and
// y of the second one) -> the menu page
inline constexpr FreeRoutine<HostAddress(const char*, HostAddress, std::int32_t, std::int32_t,
                                         std::int32_t, std::int32_t)>
    serviceMenuCreate{{"serviceMenuCreate", unknownAddress, exe, Routine, Cdecl,
                       "builds a service menu page whose first item runs the given action"}};
// (menu page) -> its repair clock widget, whose virtual table is serviceWidgetTable
inline constexpr FreeRoutine<HostAddress(HostAddress)> serviceMenuClock{
    {"serviceMenuClock", unknownAddress, exe, Routine, Cdecl,
     "the repair clock widget of a service menu page"}};
// (menu page)
inline constexpr FreeRoutine<void(HostAddress)> serviceParkShow{
    {"serviceParkShow", unknownAddress, exe, Routine, Cdecl,
     "switches the game mode for the service and shows the menu page"}};
inline constexpr FreeRoutine<void()> serviceModeLeave{
    {"serviceModeLeave", unknownAddress, exe, Routine, Cdecl,
     "switches the game mode back from the service"}};
inline constexpr FreeRoutine<void()> menuStateReset{
    {"menuStateReset", unknownAddress, exe, Routine, Cdecl, "resets the host's menu state"}};
inline constexpr FreeRoutine<std::int32_t()> serviceSelection{
    {"serviceSelection", unknownAddress, exe, Routine, Cdecl,
     "a selection value of the service that must not be negative"}};
inline constexpr FreeRoutine<void(std::int32_t)> setServiceSelection{
    {"setServiceSelection", unknownAddress, exe, Routine, Cdecl, "sets that selection value"}};
// (0 or 1) -> value; (0 or 1, value)
inline constexpr FreeRoutine<std::int32_t(std::int32_t)> serviceValue{
    {"serviceValue", unknownAddress, exe, Routine, Cdecl,
     "one of the two host values the service changes"}};
inline constexpr FreeRoutine<void(std::int32_t, std::int32_t)> setServiceValue{
    {"setServiceValue", unknownAddress, exe, Routine, Cdecl,
     "puts one of those two values back"}};
// (car slot)
inline constexpr FreeRoutine<void(std::int32_t)> setServiceCar{
    {"setServiceCar", unknownAddress, exe, Routine, Cdecl, "sets the host's car index for the service"}};
// (damage record)
inline constexpr FreeRoutine<void(HostAddress)> carStateFromDamage{
    {"carStateFromDamage", unknownAddress, exe, Routine, Cdecl,
     "copies a car damage record into the host's current car"}};
inline constexpr FreeRoutine<void(HostAddress)> carStateToDamage{
    {"carStateToDamage", unknownAddress, exe, Routine, Cdecl,
     "copies the host's current car state into a car damage record"}};
inline constexpr FreeRoutine<void(HostAddress)> carDamageApply{
    {"carDamageApply", unknownAddress, exe, Routine, Cdecl,
     "applies the host's current damage value to a car damage record"}};
// (7 records of 232 bytes) / (one record, mechanics, skill) / (7 records)
inline constexpr FreeRoutine<void(HostAddress)> repairWorkCopy{
    {"repairWorkCopy", unknownAddress, exe, Routine, Cdecl,
     "copies the host's seven repair-work records"}};
inline constexpr FreeRoutine<void(HostAddress, std::int32_t, std::int32_t)> repairWorkCrew{
    {"repairWorkCrew", unknownAddress, exe, Routine, Cdecl,
     "sets mechanics and skill in a repair-work record"}};
inline constexpr FreeRoutine<void(HostAddress)> repairWorkHandOver{
    {"repairWorkHandOver", unknownAddress, exe, Routine, Cdecl,
     "hands seven repair-work records to the host"}};
// (seconds) / () -> seconds, negative once the allowance is exceeded
inline constexpr FreeRoutine<void(float)> setRepairTime{
    {"setRepairTime", unknownAddress, exe, Routine, Cdecl, "sets the remaining repair time"}};
inline constexpr FreeRoutine<float()> repairTimeLeft{
    {"repairTimeLeft", unknownAddress, exe, Routine, Cdecl, "the remaining repair time"}};
inline constexpr FreeRoutine<bool()> repairUnderWay{
    {"repairUnderWay", unknownAddress, exe, Routine, Cdecl,
     "whether the host's repair state reports work under way"}};
inline constexpr FreeRoutine<bool()> repairWorkDone{
    {"repairWorkDone", unknownAddress, exe, Routine, Cdecl,
     "whether the requested repair work is finished"}};
inline constexpr FreeRoutine<void()> stopService{
    {"stopService", unknownAddress, exe, Routine, Cdecl, "stops the host's service"}};
// (car slot) -> the host's text (narrow, ending in 0) of the car's directory
inline constexpr FreeRoutine<HostAddress(std::int32_t)> carDirectory{
    {"carDirectory", unknownAddress, exe, Routine, Cdecl, "the directory of the car in a slot"}};
// (path) -> 0, or the host's error code
inline constexpr FreeRoutine<std::int32_t(const char*)> loadRepairIni{
    {"loadRepairIni", unknownAddress, exe, Routine, Cdecl, "loads a car's repair definitions"}};
// (event, handler): the handler runs once, at the next time the host raises the event
inline constexpr FreeRoutine<bool(std::int32_t, HostAddress)> hostEventOnce{
    {"hostEventOnce", unknownAddress, exe, Routine, Cdecl,
     "registers a one-shot handler of a host event"}};
// (listener): called with the value of every host event
inline constexpr FreeRoutine<bool(HostAddress)> addHostListener{
    {"addHostListener", unknownAddress, exe, Routine, Cdecl, "registers a host listener"}};

// Every binding above, for listings and consistency checks.
std::span<const BindingInfo* const> all();

} // namespace zudo::util::mem::bindings
