// The game executable inside the game's process.
#include <cstdint>
#include <string>

#include "platform/Platform.hpp"
#include "util/mem/ZudoExeModule.hpp"

namespace zudo::util::mem {

namespace {

// Whether the plug-in's factory was called: this process is the game.
bool attached = false;

// The module of the running process's executable, found by its file name.
platform::ModuleHandle processModule()
{
    const std::string path = platform::executablePath();
    const std::size_t separator = path.find_last_of("\\/");
    return platform::moduleHandle(separator == std::string::npos ? path : path.substr(separator + 1));
}

HostAddress baseOf(platform::ModuleHandle handle)
{
    return HostAddress(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle)));
}

} // namespace

void ZudoExeModule::attachToHost()
{
    attached = true;
    ZudoExeModule& module = instance();
    if (module.cachedBase_.isNull()) {
        module.handleLookedUp_ = false; // looked up again, as the game's process
    }
}

void ZudoExeModule::detachFromHost()
{
    if (!attached) {
        return;
    }
    attached = false;
    ZudoExeModule& module = instance();
    if (!module.handLoad_ || !module.handLoad_->loaded) {
        module.cachedBase_ = HostAddress();
        module.handleLookedUp_ = false;
    }
}

HostAddress ZudoExeModule::foundModule()
{
    if (!handleLookedUp_) {
        handleLookedUp_ = true;
        // Inside the game the running process is the game, also when its
        // executable has another name than the setting gives.
        platform::ModuleHandle handle = attached ? processModule() : nullptr;
        if (handle == nullptr) {
            handle = platform::moduleHandle(exeName());
        }
        if (handle != nullptr) {
            cachedBase_ = baseOf(handle);
            return cachedBase_;
        }
    }
    return HostAddress();
}

} // namespace zudo::util::mem
