#include "util/mem/GameMode.hpp"

#include <array>

#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"

namespace zudo {

GameMode gameMode()
{
    const util::mem::GameObjectView game(util::mem::bindings::gameObject.object());
    if (game.isNull()) {
        return GameMode::Unknown;
    }
    return static_cast<GameMode>(game.mode());
}

std::string_view gameModeName(std::int32_t mode)
{
    static constexpr std::array<std::string_view, 17> names{
        "INIT",   "GAME",     "PAUSE",            "MENU",           "DEMO",
        "LOADING", "INIT_FRONT_END", "PC_DEV",    "REPLAY",         "END_RACE",
        "COUNTDOWN", "INVALID", "LOADING_FRONTEND", "INITIALIZE_TRACK", "LOADING_CUTSCENE",
        "CUTSCENE", "DONE"};
    if (mode < 0 || mode >= static_cast<std::int32_t>(names.size())) {
        return "INVALID";
    }
    return names[static_cast<std::size_t>(mode)];
}

std::string_view gameModeName(GameMode mode) { return gameModeName(static_cast<std::int32_t>(mode)); }

} // namespace zudo
