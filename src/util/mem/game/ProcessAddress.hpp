#pragma once
// Inside the game's process only: memory of this process is host memory.

#include <cstdint>

#include "util/mem/HostAddress.hpp"

namespace zudo::util::mem {

// The host address of memory of this process: the same value, since the
// plug-in runs inside the host.
inline HostAddress hostAddressOf(const void* pointer)
{
    static_assert(sizeof(pointer) == sizeof(std::uint32_t), "the game's process is 32-bit");
    return HostAddress(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer)));
}

} // namespace zudo::util::mem
