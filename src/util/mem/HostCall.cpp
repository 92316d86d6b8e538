#include "util/mem/HostCall.hpp"

namespace zudo::util::mem {

PluginRoutine PluginRoutine::registered(::ZudoPluginRoutine routine)
{
    const ::ZudoReplacementHost* host = platform::replacementHost();
    if (host == nullptr || host->registerPluginRoutine == nullptr) {
        return PluginRoutine();
    }
    return PluginRoutine(HostAddress(host->registerPluginRoutine(routine, nullptr)), true);
}

void PluginRoutine::release()
{
    if (registeredWithHost_ && address_) {
        const ::ZudoReplacementHost* host = platform::replacementHost();
        if (host != nullptr && host->unregisterPluginRoutine != nullptr) {
            host->unregisterPluginRoutine(address_.value());
        }
    }
    address_ = HostAddress();
    registeredWithHost_ = false;
}

PluginRoutine::~PluginRoutine() { release(); }

PluginRoutine::PluginRoutine(PluginRoutine&& other) noexcept
    : address_(std::exchange(other.address_, HostAddress())),
      registeredWithHost_(std::exchange(other.registeredWithHost_, false))
{
}

PluginRoutine& PluginRoutine::operator=(PluginRoutine&& other) noexcept
{
    if (this != &other) {
        release();
        address_ = std::exchange(other.address_, HostAddress());
        registeredWithHost_ = std::exchange(other.registeredWithHost_, false);
    }
    return *this;
}

} // namespace zudo::util::mem
