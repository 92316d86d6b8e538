// Host memory inside the game's process: host addresses are addresses of this
// (32-bit) process.
#include <cstring>
#include <new>

#include "platform/Platform.hpp"
#include "util/mem/HostAddress.hpp"
#include "util/mem/game/ProcessAddress.hpp"

namespace zudo::util::mem {

bool hostIsThisProcess() { return true; }

void HostAddress::readBytes(std::uint32_t offset, void* out, std::uint32_t size) const
{
    std::memcpy(out, reinterpret_cast<const void*>(std::uintptr_t{value_} + offset), size);
}

void HostAddress::writeBytes(std::uint32_t offset, const void* bytes, std::uint32_t size) const
{
    std::memcpy(reinterpret_cast<void*>(std::uintptr_t{value_} + offset), bytes, size);
}

bool HostAddress::tryReadBytes(std::uint32_t offset, void* out, std::uint32_t size) const
{
    std::uint32_t address = 0;
    if (isNull() || !detail::fieldAddress(*this, offset, size, address)) {
        return false;
    }
    return platform::copyMemoryChecked(out, reinterpret_cast<const void*>(std::uintptr_t{address}),
                                       size);
}

void* hostPointer(HostAddress address, std::uint32_t size)
{
    std::uint32_t last = 0;
    if (address.isNull() || !detail::fieldAddress(address, 0, size, last)) {
        return nullptr;
    }
    return reinterpret_cast<void*>(std::uintptr_t{address.value()});
}

HostBlock::HostBlock(std::uint32_t size)
{
    // Host objects are read through 32-bit addresses: this process is 32-bit.
    auto* bytes = new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]();
    if (bytes != nullptr) {
        address_ = hostAddressOf(bytes);
        size_ = size;
    }
}

void HostBlock::release()
{
    if (address_) {
        delete[] reinterpret_cast<std::uint8_t*>(std::uintptr_t{address_.value()});
    }
    address_ = HostAddress();
    size_ = 0;
}

} // namespace zudo::util::mem
