#include "util/mem/HostAddress.hpp"

#include <cstdio>
#include <new>
#include <utility>

#include "platform/Platform.hpp"

namespace zudo::util::mem {

namespace {

// The address of a field, or nothing when offset carries it past 4 GiB.
bool fieldAddress(HostAddress base, std::uint32_t offset, std::uint32_t size,
                  std::uint32_t& address)
{
    const std::uint64_t first = std::uint64_t{base.value()} + offset;
    if (first + size > 0x1'0000'0000ULL) {
        return false;
    }
    address = static_cast<std::uint32_t>(first);
    return true;
}

#if !ZUDO_HOST_IS_NATIVE
[[noreturn]] void outsideHostMemory(HostAddress base, std::uint32_t offset, std::uint32_t size)
{
    throw HostAccessError("host memory at " + base.text() + " + " + std::to_string(offset) +
                          " (" + std::to_string(size) + " bytes) is not accessible");
}

std::uint8_t* simulatedBytes(HostAddress base, std::uint32_t offset, std::uint32_t size)
{
    const ::ZudoReplacementHost* host = platform::replacementHost();
    std::uint32_t address = 0;
    if (host == nullptr || host->memory == nullptr || base.isNull() ||
        !fieldAddress(base, offset, size, address)) {
        return nullptr;
    }
    return host->memory(address, size);
}
#endif

} // namespace

std::string HostAddress::text() const
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08x", static_cast<unsigned>(value_));
    return buffer;
}

#if ZUDO_HOST_IS_NATIVE

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
    if (isNull() || !fieldAddress(*this, offset, size, address)) {
        return false;
    }
    return platform::copyMemoryChecked(out, reinterpret_cast<const void*>(std::uintptr_t{address}),
                                       size);
}

void* hostPointer(HostAddress address, std::uint32_t size)
{
    std::uint32_t last = 0;
    if (address.isNull() || !fieldAddress(address, 0, size, last)) {
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

#else

void HostAddress::readBytes(std::uint32_t offset, void* out, std::uint32_t size) const
{
    const std::uint8_t* bytes = simulatedBytes(*this, offset, size);
    if (bytes == nullptr) {
        outsideHostMemory(*this, offset, size);
    }
    std::memcpy(out, bytes, size);
}

void HostAddress::writeBytes(std::uint32_t offset, const void* bytes, std::uint32_t size) const
{
    std::uint8_t* target = simulatedBytes(*this, offset, size);
    if (target == nullptr) {
        outsideHostMemory(*this, offset, size);
    }
    std::memcpy(target, bytes, size);
}

bool HostAddress::tryReadBytes(std::uint32_t offset, void* out, std::uint32_t size) const
{
    const std::uint8_t* bytes = simulatedBytes(*this, offset, size);
    if (bytes == nullptr) {
        return false;
    }
    std::memcpy(out, bytes, size);
    return true;
}

void* hostPointer(HostAddress address, std::uint32_t size)
{
    return simulatedBytes(address, 0, size);
}

HostBlock::HostBlock(std::uint32_t size)
{
    const ::ZudoReplacementHost* host = platform::replacementHost();
    if (host != nullptr && host->allocate != nullptr) {
        address_ = HostAddress(host->allocate(size));
        size_ = address_ ? size : 0;
    }
}

void HostBlock::release()
{
    const ::ZudoReplacementHost* host = platform::replacementHost();
    if (address_ && host != nullptr && host->release != nullptr) {
        host->release(address_.value());
    }
    address_ = HostAddress();
    size_ = 0;
}

#endif

HostBlock::~HostBlock() { release(); }

HostBlock::HostBlock(HostBlock&& other) noexcept
    : address_(std::exchange(other.address_, HostAddress())), size_(std::exchange(other.size_, 0))
{
}

HostBlock& HostBlock::operator=(HostBlock&& other) noexcept
{
    if (this != &other) {
        release();
        address_ = std::exchange(other.address_, HostAddress());
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

} // namespace zudo::util::mem
