#include "util/mem/Binding.hpp"

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
    if (!binding.isKnown()) {
        return detail::namedRoutineAvailable(binding.name);
    }
    return !resolve(binding).isNull();
}

} // namespace zudo::util::mem
