// Calls into the replacement host: it calls the fake registered for the
// routine's address or name with the widened arguments.
#include <type_traits>

#include "util/mem/HostCall.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace zudo::util::mem {

static_assert(std::is_same_v<PluginRoutineThunk, ::ZudoPluginRoutine>);

namespace detail {

std::optional<std::uint64_t> invokeRoutine(CallingConvention, HostAddress routine, HostAddress self,
                                           std::span<const std::uint64_t> arguments, ResultKind)
{
    const ::ZudoReplacementHost* host = replacementHost();
    if (host == nullptr || host->callRoutine == nullptr) {
        return std::nullopt;
    }
    int found = 0;
    const std::uint64_t result = host->callRoutine(routine.value(), self.value(), arguments.data(),
                                                   static_cast<std::uint32_t>(arguments.size()), &found);
    return found != 0 ? std::optional(result) : std::nullopt;
}

std::optional<std::uint64_t> invokeNamedRoutine(const char* name, HostAddress self,
                                                std::span<const std::uint64_t> arguments, ResultKind)
{
    const ::ZudoReplacementHost* host = replacementHost();
    if (host == nullptr || host->callNamedRoutine == nullptr) {
        return std::nullopt;
    }
    int found = 0;
    const std::uint64_t result = host->callNamedRoutine(
        name, self.value(), arguments.data(), static_cast<std::uint32_t>(arguments.size()), &found);
    return found != 0 ? std::optional(result) : std::nullopt;
}

bool namedRoutineAvailable(const char* name)
{
    const ::ZudoReplacementHost* host = replacementHost();
    return host != nullptr && host->hasNamedRoutine != nullptr && host->hasNamedRoutine(name) != 0;
}

} // namespace detail

PluginRoutine PluginRoutine::forRoutine(std::uintptr_t, PluginRoutineThunk thunk)
{
    const ::ZudoReplacementHost* host = replacementHost();
    if (host == nullptr || host->registerPluginRoutine == nullptr) {
        return PluginRoutine();
    }
    return PluginRoutine(HostAddress(host->registerPluginRoutine(thunk, nullptr)), true);
}

void PluginRoutine::release()
{
    if (registeredWithHost_ && address_) {
        const ::ZudoReplacementHost* host = replacementHost();
        if (host != nullptr && host->unregisterPluginRoutine != nullptr) {
            host->unregisterPluginRoutine(address_.value());
        }
    }
    address_ = HostAddress();
    registeredWithHost_ = false;
}

} // namespace zudo::util::mem
