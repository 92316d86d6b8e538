#include "util/mem/Binding.hpp"

#include "platform/Platform.hpp"

namespace zudo::util::mem {

HostAddress resolve(const BindingInfo& binding)
{
    if (!binding.isKnown()) {
        return HostAddress();
    }
    return resolveAddress(binding.module, binding.address);
}

HostAddress ObjectPointerBinding::object() const
{
    const HostAddress slot = resolve(info);
    std::uint32_t pointer = 0;
    if (slot.isNull() || !slot.tryReadBytes(0, &pointer, sizeof pointer)) {
        return HostAddress();
    }
    return HostAddress(pointer);
}

bool routineAvailable(const BindingInfo& binding)
{
#if ZUDO_HOST_IS_NATIVE
    return binding.isKnown() && !resolve(binding).isNull();
#else
    const ::ZudoReplacementHost* host = platform::replacementHost();
    if (host == nullptr) {
        return false;
    }
    if (!binding.isKnown()) {
        return host->hasNamedRoutine != nullptr && host->hasNamedRoutine(binding.name) != 0;
    }
    return !resolve(binding).isNull();
#endif
}

} // namespace zudo::util::mem
