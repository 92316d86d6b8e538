#pragma once
// Every key of every settings file, declared once: file, section, key, type
// and default. Make the object where the value is needed:
//
//     if (zudo::config::ridoved::OmitName().get()) { ... }
//     zudo::config::zuzuzevo::CarModel(slot, catalogueName).get();
//
// A new key is one line here (see config/Setting.hpp for the templates) and
// one row in the README's table of settings. A key of Viduzuz.ini or
// Zuzuzevo.ini carries a "//:" line above it: the one-line comment of the
// settings files shipped to players, which cmake/SettingsIni.cmake writes
// from this file (it refuses a key without one). Keys without a declared default
// take the caller's (or their type's empty value).

#include <algorithm>
#include <string>

#include "config/Setting.hpp"
#include "config/SettingFiles.hpp"

namespace zudo::config {

// ---------------------------------------------------------------------------
// Viduzuz.ini
namespace viduzuz {
template <Literal key, class T, Literal def = "">
using Settings = Key<viduzuzIniPath, "Settings", key, T, def>;

//: file in Cars\ that lists the game's cars
using CarsIniName = Settings<"carsIniName", std::string, "Cars.ini">;
//: the game's executable, looked for here and up to eight folders up
using ZudoExeName = Settings<"zudoExeName", std::string, "Zoraravi_SSE.exe">;
//: the game's own settings file
using ZudoIniName = Settings<"zudoIniName", std::string, "Zoraravi.ini">;
} // namespace viduzuz

// Viduzuz.ini [Ridoved]: the listing tool's options.
namespace ridoved {
template <Literal key, class T, Literal def = "">
using Options = Key<viduzuzIniPath, "Ridoved", key, T, def>;

//: 1: Ridoved.csv holds the condition codes instead of their words
using EmitNumbers = Options<"emitNumbers", bool>;
//: 1: stages without valid conditions are left out of Ridoved.csv
using OmitInvalid = Options<"omitInvalid", bool>;
//: 1: Ridoved.csv leaves out the stage names
using OmitName = Options<"omitName", bool>;
} // namespace ridoved

// ---------------------------------------------------------------------------
// Cars\<carsIniName>: sections Car00, Car01, ...
namespace cars {
template <Literal key, class T, Literal def = "">
using PerCar = IndexedKey<carsIniPath, "Car", 2, key, T, def>;

using CarName = PerCar<"CarName", std::string>;
using IniFileName = PerCar<"IniFile", std::string>;
} // namespace cars

// ---------------------------------------------------------------------------
// Plugins\Zuzuzevo\Zuzuzevo.ini: the plug-in's own settings.
namespace zuzuzevo {
template <Literal key, class T, Literal def = "">
using Options = Key<zuzuzevoIniPath, "Options", key, T, def>;
template <Literal key, class T, Literal def = "">
using Messages = Key<zuzuzevoIniPath, "Messages", key, T, def>;
template <Literal key, class T, Literal def = "">
using Service = Key<zuzuzevoIniPath, "Service", key, T, def>;
// Sections Car1, Car2, ... by car slot.
template <Literal key, class T, Literal def = "">
using PerCar = IndexedKey<zuzuzevoIniPath, "Car", 0, key, T, def>;

//: seconds between automatic steps of long lists; 0 or less: no automatic scrolling
using AutoScrollInterval = Options<"AutoScrollInterval", int, "5">;

//: label of a split in the messages while driving
using InGameSplitLabel = Messages<"InGameSplitLabel", std::string, "S">;
//: label of the finish in the messages while driving
using InGameFinishLabel = Messages<"InGameFinishLabel", std::string, "F">;
//: label of the difference to the stage's record
using InGameBestTimeDiffLabel = Messages<"InGameBestTimeDiffLabel", std::string, "Bst">;
//: label of the difference to the best on the stage across all rallies
using InGameOverallDiffLabel = Messages<"InGameOverallDiffLabel", std::string, "Ovl">;
//: label of the difference to the game's own stage record
using InGameStageRecordDiffLabel = Messages<"InGameStageRecordDiffLabel", std::string, "Stg">;
//: horizontal position of the messages while driving
using InGameDiffPosX = Messages<"InGameDiffPosX", int, "2">;
//: vertical position of the messages while driving
using InGameDiffPosY = Messages<"InGameDiffPosY", int, "2">;
//: how long a message while driving stays on screen
using InGameDiffDuration = Messages<"InGameDiffDuration", int, "20">;
//: 1: show the difference to the stage's record while driving
using ShowInGameBestTimeDiff = Messages<"ShowInGameBestTimeDiff", bool, "1">;
//: 1: show the difference to the best across all rallies while driving
using ShowInGameOverallDiff = Messages<"ShowInGameOverallDiff", bool, "1">;
//: 1: show the difference to the game's own stage record while driving
using ShowInGameStageRecordDiff = Messages<"ShowInGameStageRecordDiff", bool, "1">;

//: minutes of repairs allowed in a service
using AllowedRepairTime = Service<"AllowedRepairTime", int, "40">;
//: skill of the service crew: Inexperienced, Proficient, Competent, Skilled or Expert
using Skill = Service<"Skill", std::string, "Competent">;
//: mechanics in the service crew, 1 to 6
using Mechanics = Service<"Mechanics", int, "4">;

// Model's default is the car's catalogue name, given by the caller.
//: the car's model name (default: the game's name of the car)
using CarModel = PerCar<"Model", std::string>;
//: the car's power as shown
using CarHorsepower = PerCar<"Horsepower", std::string, "300 at 5500 rpm">;
//: the car's torque as shown
using CarTorque = PerCar<"Torque", std::string, "600 Nm at 4000 rpm">;
//: the car's engine as shown
using CarEngine = PerCar<"Engine", std::string, "1996">;
//: the car's tyres as shown
using CarTyres = PerCar<"Tyres", std::string, "Pirelli">;
//: the car's weight as shown
using CarWeight = PerCar<"Weight", std::string, "1230 kg">;
//: the car's transmission as shown
using CarTransmission = PerCar<"Transmission", std::string, "6 gears, 4WD">;
} // namespace zuzuzevo

// ---------------------------------------------------------------------------
// Plugins\Zuzuzevo\cameras.ini: one section per camera, named by the caller.
namespace cameras {
template <Literal key, class T, Literal def = "">
using PerCamera = SectionKey<camerasIniPath, key, T, def>;

using Fov = PerCamera<"FOV", float, "1.3">;
using Near = PerCamera<"Near", float, "0.1">;
using Pos = PerCamera<"Pos", Vector3, "1 1 1">;
using Target = PerCamera<"Target", Vector3, "1 1 1">;
using Up = PerCamera<"Up", Vector3, "0 1 0">;
using ShowExterior = PerCamera<"showExterior", bool>;
} // namespace cameras

// ---------------------------------------------------------------------------
// Plugins\Zevariz.ini [Settings]: the physics plug-in's options.
namespace zevariz {
template <Literal key, class T, Literal def = "">
using Settings = Key<zevarizIniPath, "Settings", key, T, def>;

using AdaptiveFfb = Settings<"adaptiveFFB", bool>;
using FfbDeadZone = Settings<"ffbDeadZone", float, "0.0">;
using FfbDeadZoneThreshold = Settings<"ffbDeadZoneThreshold", float, "0.0">;
using FfbMinFps = Settings<"ffbMinFPS", float, "58.0">;
// Negative values count as 0.
class FfbBufferCycles : public Settings<"ffbBufferCycles", int, "1"> {
public:
    using Key::Key;
    int get() const override { return std::max(0, Key::get()); }
};

// Declared so the file keeps one vocabulary; nothing reads them.
using CenterMenu = Settings<"centerMenu", bool>;
using FixAspectRatio = Settings<"fixAspectRatio", bool>;
using FixCollisionMesh = Settings<"fixCollisionMesh", bool>;
using FixVSync = Settings<"fixVSync", bool>;
using FullscreenWindow = Settings<"fullscreenWindow", bool>;
using HighQualityCubicEnvironmentMaps = Settings<"highQualityCubicEnvironmentMaps", bool>;
using VSyncActive = Settings<"vSyncActive", bool, "1">;
using Processor = Settings<"processor", int>;
using SoundRefreshRate = Settings<"soundRefreshRate", int>;
using HeadGasketDurability = Settings<"headGasketDurability", int, "1">;
// Two keys literally named XXX, told apart only by their type.
using XxxFlag = Settings<"XXX", bool>;
using XxxText = Settings<"XXX", std::string>;
} // namespace zevariz

// ---------------------------------------------------------------------------
// The host's ini (zudoIniName). Declared only; nothing reads them.
namespace host {
template <Literal key, class T, Literal def = "">
using Settings = Key<zudoIniPath, "Settings", key, T, def>;
template <Literal key, class T, Literal def = "">
using Vev = Key<zudoIniPath, "VEV", key, T, def>;

using Fullscreen = Settings<"Fullscreen", bool>;
using XRes = Settings<"XRes", int>;
using YRes = Settings<"YRes", int>;

using GearChangeIndicatorDeltaRpm = Vev<"gearChangeIndicatorDeltaRPM", int>;
using PhysicsUpdateRate = Vev<"physicsUpdateRate", int>;
using SkidSoundThreshold = Vev<"skidSoundThreshold", int>;
using TarmacSkidSoundThreshold = Vev<"tarmacSkidSoundThreshold", int>;
using TelemetryTics = Vev<"telemetryTics", int>;
using UdpTelemetryPort = Vev<"udpTelemetryPort", int>;
using SoundTorqueThreshold = Vev<"soundTorqueThreshold", float>;
using ShowRevision = Vev<"showRevision", bool>;
using TelemetryRecording = Vev<"telemetryRecording", bool>;
using UdpTelemetry = Vev<"udpTelemetry", bool>;
using UdpTelemetryAddress = Vev<"udpTelemetryAddress", std::string>;

// [VEV] ForceFeedbackSensitivity<surface>_Car<index> (see forceFeedbackKey).
class ForceFeedbackSensitivity : public BuiltKey<zudoIniPath, int> {
public:
    ForceFeedbackSensitivity(int surface, int carIndex, int defaultValue = 0)
        : BuiltKey("VEV", forceFeedbackKey(surface, carIndex), defaultValue)
    {
    }
};
} // namespace host

// ---------------------------------------------------------------------------
// Plugins\Pacenote\PaceNote.ini [SETTINGS]. Declared only.
namespace pacenote {
template <Literal key, class T, Literal def = "">
using Settings = Key<paceNoteIniPath, "SETTINGS", key, T, def>;

using EnableGui = Settings<"enableGUI", bool>;
using MuteReplayPacenotes = Settings<"muteReplayPacenotes", bool>;
using NoWrongWay = Settings<"noWrongWay", bool>;
using ShowReplayHud = Settings<"showReplayHUD", bool>;
using Language = Settings<"language", std::string>;
using PaceNotesFile = Settings<"paceNotesFile", std::string>;
using RangesFile = Settings<"rangesFile", std::string>;
using Sounds = Settings<"sounds", std::string>;
using PaceNotesFiles = Settings<"paceNotesFiles", unsigned>;
using ReplaySpeeds = Settings<"replaySpeeds", FloatList>;
} // namespace pacenote

// ---------------------------------------------------------------------------
// Rivovov\Rivovov.ini: the audio plug-in's options. Declared only.
namespace rivovov {
template <Literal key, class T, Literal def = "">
using Settings = Key<rivovovIniPath, "Settings", key, T, def>;
// Sections Car00, Car01, ...
template <Literal key, class T, Literal def = "">
using PerCar = IndexedKey<rivovovIniPath, "Car", 2, key, T, def>;

using EnableFmod = Settings<"enableFMOD", bool>;
using EnableLiveUpdate = Settings<"enableLiveUpdate", bool>;
using ProfilePort = Settings<"profilePort", unsigned>;

using BackfireVolume = PerCar<"backfireVolume", float>;
using BlowoffVolume = PerCar<"blowoffVolume", float>;
using EngineVolume = PerCar<"engineVolume", float>;
using GearVolume = PerCar<"gearVolume", float>;
using IgnitionVolume = PerCar<"ignitionVolume", float>;
using MasterVolume = PerCar<"masterVolume", float>;
using TransmissionVolume = PerCar<"transmissionVolume", float>;
using TurboVolume = PerCar<"turboVolume", float>;
using WheelVolume = PerCar<"wheelVolume", float>;
using WindVolume = PerCar<"windVolume", float>;
using BankName = PerCar<"bankName", std::string>;
} // namespace rivovov

// ---------------------------------------------------------------------------
// Maps\Tracks.ini (the game's track list): sections named by the caller,
// usually mapSection(stage).
namespace tracks {
template <Literal key, class T, Literal def = "">
using PerMap = SectionKey<tracksIniPath, key, T, def>;

using StageName = PerMap<"StageName", std::string>;
using TrackName = PerMap<"TrackName", std::string>;
using Particles = PerMap<"Particles", std::string>;
// 0 tarmac, 1 gravel, 2 snow; 99 (the default) leaves the stage's own surface.
using Surface = PerMap<"Surface", int, "99">;
} // namespace tracks

// ---------------------------------------------------------------------------
// Maps\TrackValidation.ini below the host directory: whether the textures of
// a stage, tint set, surface and wear were found. Section mapSection(stage);
// key e.g. "M/dry/new"; 2 not checked yet, 1 all present, 0 some missing.
namespace trackValidation {
class Record : public BuiltKey<trackValidationIniPath, int, "2"> {
public:
    Record(int map, std::string key) : BuiltKey(mapSection(map), std::move(key)) {}
};
} // namespace trackValidation

} // namespace zudo::config
