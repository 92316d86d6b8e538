// Host memory against the replacement host: its simulated 32-bit address
// space, every access checked against its bounds.
#include <cstring>

#include "util/mem/HostAddress.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace zudo::util::mem {

namespace {

const char* const outsideHostMemory = "outside the replacement host's memory";

// The bytes of [base + offset, + size) in the replacement host's space, or
// null when they are not all there (or, for a write, not all writable).
std::uint8_t* simulatedBytes(HostAddress base, std::uint32_t offset, std::uint32_t size, bool write = false)
{
    const ::ZudoReplacementHost* host = replacementHost();
    std::uint32_t address = 0;
    if (host == nullptr || host->memory == nullptr || base.isNull() ||
        !detail::fieldAddress(base, offset, size, address)) {
        return nullptr;
    }
    if (write && host->writableMemory != nullptr) {
        return host->writableMemory(address, size);
    }
    return host->memory(address, size);
}

} // namespace

bool hostIsThisProcess() { return false; }

void forgetHostMemoryRegions() noexcept {}

void HostAddress::readBytes(std::uint32_t offset, void* out, std::uint32_t size) const
{
    const std::uint8_t* bytes = simulatedBytes(*this, offset, size);
    if (bytes == nullptr) {
        detail::refuseHostAccess(*this, offset, size, false, outsideHostMemory);
    }
    std::memcpy(out, bytes, size);
}

void HostAddress::writeBytes(std::uint32_t offset, const void* bytes, std::uint32_t size) const
{
    std::uint8_t* target = simulatedBytes(*this, offset, size, true);
    if (target == nullptr) {
        std::uint8_t* readable = simulatedBytes(*this, offset, size);
        detail::refuseHostAccess(*this, offset, size, true,
                                 readable != nullptr ? "the replacement host keeps it read-only"
                                                     : outsideHostMemory);
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

void* hostPointer(HostAddress address, std::uint32_t size) { return simulatedBytes(address, 0, size); }

HostBlock::HostBlock(std::uint32_t size)
{
    const ::ZudoReplacementHost* host = replacementHost();
    if (host != nullptr && host->allocate != nullptr) {
        address_ = HostAddress(host->allocate(size));
        size_ = address_ ? size : 0;
    }
}

void HostBlock::release()
{
    const ::ZudoReplacementHost* host = replacementHost();
    if (address_ && host != nullptr && host->release != nullptr) {
        host->release(address_.value());
    }
    address_ = HostAddress();
    size_ = 0;
}

} // namespace zudo::util::mem
