#pragma once
// The simulator's fakes of the host routines the plug-in calls. What the real
// routines do inside the game is the game's; a fake does what the plug-in
// relies on and reports the call to the recorder, so that a trace shows that
// the game was told to do something (start a stage, give tyres, ...):
//
//   textWidth            the recorder's text width in its current font; not
//                        recorded (a query that changes nothing)
//   startStage           recorded; returns 1
//   setPlayerTyres, prepareDrivingStep1, applyCarSetup, prepareDrivingStep3,
//   gameStateSwitchA, gameStateSwitchB, prepareSetupScreen, openSetupScreen
//                        recorded; do nothing else
//   currentTintSet       recorded; returns the int the simulated weather
//                        control keeps at +0x60 (a field of the simulator's
//                        own, 0 until the simulated weather selection sets it
//                        or a script does: set-int *0x7C36A8+0x60 2)
//
// The weather selection and the setup manager are StageStartModel.hpp's.

#include <cstdint>

#include "sim/record/GameRecorder.hpp"
#include "sim/host/SimulatedHost.hpp"

namespace zudo::sim {

// Where the simulated weather control keeps the tint set currentTintSet gives.
inline constexpr std::uint32_t simulatedTintSetOffset = 0x60;

// Registers every fake above on host; recorder measures texts and receives
// the calls. Both must outlive the fakes (until the host's next reset).
void registerHostFakes(SimulatedHost& host, GameRecorder& recorder);

} // namespace zudo::sim
