#include "ui/GameHolder.hpp"

namespace zudo::ui {

GameHolder& GameHolder::instance()
{
    static GameHolder holder;
    return holder;
}

} // namespace zudo::ui
