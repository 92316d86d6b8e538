#pragma once
// The game executable as a module of this process: where it is loaded, so
// that bindings can be resolved against it.
//
// - Inside the game's process (game/GameModule.cpp): the module of the
//   running process, once the plug-in's factory has attached to it: the game
//   is the process whatever its executable's name (zudoExeName only says
//   which file a program outside the game loads by hand). Before that, the
//   module of the executable named by exeName().
// - Against the replacement host (replacement/ReplacementModule.cpp): the
//   host's executableBase.
// - A program outside the game (the listing tool) may load the executable by
//   hand: loadByHand() finds the file, loads and relocates it, resolves its
//   imports and runs its start-up (prepareExe). Only programs that ask for it
//   ever load the executable by hand; the plug-in never does, so a wrong
//   zudoExeName cannot make it load a second copy of the game into the game.
//
// When the executable is not there nothing is resolved: bindings give null
// addresses, calls are refused, and one log record says so.

#include <cstdint>
#include <optional>
#include <string>

#include "util/mem/HostAddress.hpp"

namespace zudo::util::mem {

// What loadByHand() did, for one clear line on the console.
struct HandLoadReport {
    bool loaded = false; // loaded and prepared
    bool found = false;  // the file exists (false: no copy anywhere the search looked)
    std::string path;    // the file that was tried (the last candidate when none exists)
    std::string problem; // why it failed; empty when loaded
};

class ZudoExeModule {
public:
    static ZudoExeModule& instance();

    // Called by the plug-in's factory before anything else, when the game
    // (or the program acting as the game) has just loaded the plug-in.
    // Against the replacement host: finds the host that loaded the plug-in,
    // whose executable path and tick count the platform layer then gives.
    static void attachToHost();
    // Forgets that attachment again (the plug-in's object is gone; tests).
    static void detachFromHost();

    // The load address of the executable; null when it is not there.
    HostAddress module();
    bool isAvailable() { return !module().isNull(); }

    // The setting zudoExeName, or "Zoraravi_SSE.exe" when it is empty.
    static std::string exeName();
    // The path to load by hand: exeName() in the current directory, then
    // behind "..\\", "..\\..\\", ... up to eight levels up; the first that
    // exists, otherwise the last one tried.
    static std::string findExe();

    // For a program outside the game: finds the executable (findExe), loads it
    // by hand, runs prepareExe on it and keeps its address for module().
    // Done once; later calls return the first report.
    HandLoadReport loadByHand();

    // Takes base as the executable's load address from now on (a program that
    // placed the image itself; tests). A null base forgets it again.
    void assumeLoadedAt(HostAddress base) { assumedBase_ = base; }

    // The start-up of a hand-loaded game executable at base: clears the exit
    // lists, runs the static initializers and closes the single-instance
    // mutex. Only ever for the real game executable.
    static void prepareExe(HostAddress base);

private:
    ZudoExeModule() = default;
    HostAddress foundModule();
    void reportMissingOnce();

    HostAddress assumedBase_;
    HostAddress cachedBase_;
    bool handleLookedUp_ = false; // the game's module is there from the start or never
    std::optional<HandLoadReport> handLoad_;
    bool missingReported_ = false;
};

} // namespace zudo::util::mem
