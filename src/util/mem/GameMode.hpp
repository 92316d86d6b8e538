#pragma once
// What the host is doing: its game mode, a 32-bit value in the game object.
// Features notice changes by polling gameMode() at each host callback and
// comparing it with the mode they saw last.

#include <cstdint>
#include <string_view>

namespace zudo {

enum class GameMode : std::int32_t {
    Unknown = -1, // the game object cannot be reached (no host); named "INVALID"
    Init = 0,
    Game = 1,
    Pause = 2,
    Menu = 3,
    Demo = 4,
    Loading = 5,
    InitFrontEnd = 6,
    PcDev = 7,
    Replay = 8,
    EndRace = 9,
    Countdown = 10,
    // 11 has no name of its own
    LoadingFrontend = 12,
    InitializeTrack = 13,
    LoadingCutscene = 14,
    Cutscene = 15,
    Done = 16,
};

// The host's game mode now: the 32-bit value at +0x728 of the game object
// (pointer at 0x7EAC48); Unknown when the game object cannot be reached.
GameMode gameMode();

// The mode's name for log lines and diagnostics: "INIT", "GAME", ... "DONE";
// "INVALID" for 11 and for any value outside 0..16.
std::string_view gameModeName(GameMode mode);
std::string_view gameModeName(std::int32_t mode);

} // namespace zudo
