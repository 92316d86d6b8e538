#include "util/mem/HostCall.hpp"

namespace zudo::util::mem {

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
