// The one function the game looks up in the library.

#include <new>

#include "plugin/Zuzuzevo.hpp"
#include "ui/HostInterfaces.hpp"
#include "util/mem/ZudoExeModule.hpp"

extern "C" ZUDO_EXPORT PluginInterface* ZUDO_CDECL ZUDO_CreatePlugin(GameInterface* pGame)
{
    try {
        zudo::util::mem::ZudoExeModule::attachToHost();
        return new (std::nothrow) zudo::plugin::Zuzuzevo(pGame);
    } catch (...) {
        return nullptr; // nothing may reach the game
    }
}
