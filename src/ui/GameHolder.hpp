#pragma once
// The game interface the plug-in was created with, for every drawing path
// (the screen, in-game messages). Null until the plug-in object exists.

class GameInterface;

namespace zudo::ui {

class GameHolder {
public:
    static GameHolder& instance();

    GameInterface* game() const { return game_; }
    void setGame(GameInterface* game) { game_ = game; }

private:
    GameHolder() = default;
    GameInterface* game_ = nullptr;
};

} // namespace zudo::ui
