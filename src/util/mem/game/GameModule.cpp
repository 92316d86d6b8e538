// The game executable inside the game's process.
#include <cstdint>

#include "platform/Platform.hpp"
#include "util/mem/ZudoExeModule.hpp"

namespace zudo::util::mem {

// The game's process answers for itself through the operating system.
void ZudoExeModule::attachToHost() {}

HostAddress ZudoExeModule::foundModule()
{
    if (!handleLookedUp_) {
        handleLookedUp_ = true;
        const auto handle = reinterpret_cast<std::uintptr_t>(platform::moduleHandle(exeName()));
        if (handle != 0) {
            cachedBase_ = HostAddress(static_cast<std::uint32_t>(handle));
            return cachedBase_;
        }
    }
    return HostAddress();
}

} // namespace zudo::util::mem
