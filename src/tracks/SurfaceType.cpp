#include "tracks/SurfaceType.hpp"

#include <exception>
#include <string>

#include "config/Settings.hpp"
#include "platform/Compiler.hpp"
#include "util/Log.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/ZudoExeModule.hpp"

namespace zudo::tracks {

namespace {

using util::mem::HostAddress;

constexpr int notSet = 99;

bool isSnowMap(int map) { return map >= 10 && map <= 18; }

bool isTarmacMap(int map) { return (map >= 41 && map <= 49) || map == 73 || map == 85 || map == 86; }

// The file's code to the game's.
std::optional<int> surfaceFromFile(int value)
{
    switch (value) {
    case 0:
        return Tarmac;
    case 1:
        return Gravel;
    case 2:
        return Snow;
    default:
        return std::nullopt;
    }
}

// The game's call lands here. Nothing may leave it but a surface type.
std::int32_t answerGame(std::int32_t map) noexcept
{
    try {
        return mapSurfaceType(map);
    } catch (...) {
        return defaultSurfaceType(map);
    }
}

// The entry the jump leads to: the game's convention for this routine.
std::int32_t ZUDO_CDECL surfaceTypeEntry(std::int32_t map) { return answerGame(map); }

// The one jump of the process, with its entry and the hooks holding it.
struct SharedJump {
    util::mem::PluginRoutine routine;
    std::optional<util::mem::JumpPatch> patch;
    int holders = 0;
};

SharedJump& sharedJump()
{
    static SharedJump jump;
    return jump;
}

constexpr std::uint8_t relativeJump = 0xE9;

void logNotPutBack(const std::string& where)
{
    util::Log log;
    if (log.isEnabled()) {
        log << "zudo::tracks::SurfaceTypeHook::uninstall() - the game's code at " << where
            << " cannot be put back: the jump and its entry stay" << util::endLog;
    }
}

void logSwitchedOff(const std::string& why)
{
    util::Log log;
    if (log.isEnabled()) {
        log << "zudo::tracks::SurfaceTypeHook::install() - surface types from Maps\\Tracks.ini "
               "switched off:  reason = "
            << why << util::endLog;
    }
}

} // namespace

int defaultSurfaceType(int map)
{
    if (isSnowMap(map)) {
        return Snow;
    }
    if (isTarmacMap(map)) {
        return Tarmac;
    }
    return Gravel;
}

int mapSurfaceType(int map)
{
    const int value = config::tracks::Surface(config::mapSection(map)).get();
    if (value == notSet) {
        return defaultSurfaceType(map);
    }
    return surfaceFromFile(value).value_or(defaultSurfaceType(map));
}

SurfaceTypeHook::~SurfaceTypeHook() { uninstall(); }

bool SurfaceTypeHook::install()
{
    if (isInstalled()) {
        return true;
    }
    SharedJump& jump = sharedJump();
    if (jump.patch && jump.patch->apply()) {
        // Written by another hook, or kept since it could not be put back.
        if (!holding_) {
            holding_ = true;
            ++jump.holders;
        }
        return true;
    }
    if (jump.patch) {
        logSwitchedOff("the jump written before cannot be written again");
        return false;
    }
    // Nothing is resolved against a game that is not there.
    if (!util::mem::ZudoExeModule::instance().isAvailable()) {
        logSwitchedOff("the game executable is not loaded");
        return false;
    }
    const HostAddress code = util::mem::bindings::surfaceTypeCode.address();
    std::uint8_t first = 0;
    if (code.isNull() || !code.tryReadBytes(0, &first, 1)) {
        logSwitchedOff("no address for the game's routine");
        return false;
    }
    if (first == relativeJump) {
        // Another library's hook: its jump is not the game's code to keep.
        logSwitchedOff("the game's code at " + code.text() + " holds a jump already");
        return false;
    }
    jump.routine = util::mem::PluginRoutine::ofFree<&surfaceTypeEntry>();
    if (jump.routine.address().isNull()) {
        logSwitchedOff("no address for the hook");
        jump.routine = util::mem::PluginRoutine();
        return false;
    }
    jump.patch.emplace(code, jump.routine.address());
    if (!jump.patch->apply()) {
        logSwitchedOff("the game's code at " + code.text() + " cannot be patched");
        jump.patch.reset();
        jump.routine = util::mem::PluginRoutine();
        return false;
    }
    holding_ = true;
    jump.holders = 1;
    return true;
}

bool SurfaceTypeHook::isInstalled() const
{
    const SharedJump& jump = sharedJump();
    return holding_ && jump.patch && jump.patch->isApplied();
}

bool SurfaceTypeHook::uninstall()
{
    if (!holding_) {
        return true;
    }
    SharedJump& jump = sharedJump();
    if (jump.holders == 1 && jump.patch && !jump.patch->revert()) {
        logNotPutBack(util::mem::bindings::surfaceTypeCode.address().text());
        return false;
    }
    holding_ = false;
    if (--jump.holders == 0) {
        jump.patch.reset();
        jump.routine = util::mem::PluginRoutine();
    }
    return true;
}

} // namespace zudo::tracks
