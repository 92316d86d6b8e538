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
    uninstall();
    // Nothing is resolved against a game that is not there.
    if (!util::mem::ZudoExeModule::instance().isAvailable()) {
        logSwitchedOff("the game executable is not loaded");
        return false;
    }
    const HostAddress code = util::mem::bindings::surfaceTypeCode.address();
    routine_ = util::mem::PluginRoutine::ofFree<&surfaceTypeEntry>();
    const HostAddress entry = routine_.address();
    if (code.isNull() || entry.isNull()) {
        logSwitchedOff("no address for the game's routine or for the hook");
        uninstall();
        return false;
    }
    patch_.emplace(code, entry);
    if (!patch_->apply()) {
        logSwitchedOff("the game's code at " + code.text() + " cannot be patched");
        uninstall();
        return false;
    }
    return true;
}

bool SurfaceTypeHook::isInstalled() const { return patch_ && patch_->isApplied(); }

void SurfaceTypeHook::uninstall()
{
    if (patch_) {
        patch_->revert();
        patch_.reset();
    }
    routine_ = util::mem::PluginRoutine();
}

} // namespace zudo::tracks
