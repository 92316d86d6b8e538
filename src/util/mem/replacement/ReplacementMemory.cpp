// Host memory against the replacement host: its simulated 32-bit address
// space, every access checked against its bounds.
#include <cstring>
#include <string>

#include "util/mem/HostAddress.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace zudo::util::mem {

namespace {

[[noreturn]] void outsideHostMemory(HostAddress base, std::uint32_t offset, std::uint32_t size)
{
    throw HostAccessError("host memory at " + base.text() + " + " + std::to_string(offset) +
                          " (" + std::to_string(size) + " bytes) is not accessible");
}

std::uint8_t* simulatedBytes(HostAddress base, std::uint32_t offset, std::uint32_t size)
{
    const ::ZudoReplacementHost* host = replacementHost();
    std::uint32_t address = 0;
    if (host == nullptr || host->memory == nullptr || base.isNull() ||
        !detail::fieldAddress(base, offset, size, address)) {
        return nullptr;
    }
    return host->memory(address, size);
}

} // namespace

bool hostIsThisProcess() { return false; }

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
