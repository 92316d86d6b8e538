#include "util/mem/HostAddress.hpp"

#include <cstdio>
#include <utility>

namespace zudo::util::mem {

namespace detail {

bool fieldAddress(HostAddress base, std::uint32_t offset, std::uint32_t size, std::uint32_t& address)
{
    const std::uint64_t first = std::uint64_t{base.value()} + offset;
    if (first + size > 0x1'0000'0000ULL) {
        return false;
    }
    address = static_cast<std::uint32_t>(first);
    return true;
}

void refuseHostAccess(HostAddress base, std::uint32_t offset, std::uint32_t size, bool write,
                      const std::string& why)
{
    throw HostAccessError("host memory at " + base.text() + " + " + std::to_string(offset) + " (" +
                          std::to_string(size) + " bytes) is not " + (write ? "writable" : "readable") +
                          ": " + why);
}

} // namespace detail

std::string HostAddress::text() const
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08x", static_cast<unsigned>(value_));
    return buffer;
}

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
