// The one function the game looks up in the library.

#include <new>

#include "plugin/HostInterfaces.hpp"
#include "plugin/Zuzuzevo.hpp"

extern "C" ZUDO_EXPORT PluginInterface* ZUDO_CDECL ZUDO_CreatePlugin(GameInterface* pGame)
{
    try {
        return new (std::nothrow) zudo::plugin::Zuzuzevo(pGame);
    } catch (...) {
        return nullptr; // nothing may reach the game
    }
}
