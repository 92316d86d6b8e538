#include "plugin/GameHolder.hpp"

namespace zudo::plugin {

GameHolder& GameHolder::instance()
{
    static GameHolder holder;
    return holder;
}

} // namespace zudo::plugin
