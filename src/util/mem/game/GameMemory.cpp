// Host memory inside the game's process: host addresses are addresses of this
// (32-bit) process, every read and write checked against its memory regions
// first (HostMemoryRegions.cpp).
#include <cstring>
#include <new>

#include "util/mem/HostAddress.hpp"
#include "util/mem/game/HostMemoryRegions.hpp"
#include "util/mem/game/ProcessAddress.hpp"

namespace zudo::util::mem {

namespace {

using detail::HostAccess;

// The address of [base + offset, + size) once the range is known to allow the
// access; HostAccessError otherwise.
std::uint32_t checkedAddress(HostAddress base, std::uint32_t offset, std::uint32_t size, HostAccess access)
{
    const bool write = access == HostAccess::Write;
    std::uint32_t address = 0;
    if (!detail::fieldAddress(base, offset, size, address)) {
        detail::refuseHostAccess(base, offset, size, write, "it runs past the end of the 32-bit address space");
    }
    const detail::HostAccessRefusal refusal = detail::checkHostAccess(address, size, access);
    if (!refusal.allowed()) {
        detail::refuseHostAccess(base, offset, size, write, refusal.text());
    }
    return address;
}

void* bytesAt(std::uint32_t address) { return reinterpret_cast<void*>(std::uintptr_t{address}); }

} // namespace

bool hostIsThisProcess() { return true; }

void HostAddress::readBytes(std::uint32_t offset, void* out, std::uint32_t size) const
{
    const std::uint32_t address = checkedAddress(*this, offset, size, HostAccess::Read);
    if (size != 0) {
        std::memcpy(out, bytesAt(address), size);
    }
}

void HostAddress::writeBytes(std::uint32_t offset, const void* bytes, std::uint32_t size) const
{
    const std::uint32_t address = checkedAddress(*this, offset, size, HostAccess::Write);
    if (size != 0) {
        std::memcpy(bytesAt(address), bytes, size);
    }
}

bool HostAddress::tryReadBytes(std::uint32_t offset, void* out, std::uint32_t size) const
{
    std::uint32_t address = 0;
    if (isNull() || !detail::fieldAddress(*this, offset, size, address) ||
        !detail::checkHostAccess(address, size, HostAccess::Read).allowed()) {
        return false;
    }
    if (size != 0) {
        std::memcpy(out, bytesAt(address), size);
    }
    return true;
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
        forgetHostMemoryRegions(); // the heap may have given its pages back
    }
    address_ = HostAddress();
    size_ = 0;
}

} // namespace zudo::util::mem
