#pragma once
// Inside the game's process only: whether a range of this process's memory
// allows a read or a write, from the memory regions Windows reports, kept
// while they cannot have changed.

#include <cstdint>
#include <string>

namespace zudo::util::mem::detail {

enum class HostAccess { Read, Write };

// Why an access to a range is refused; allowed() when it is not.
struct HostAccessRefusal {
    enum class Reason { None, BeyondAddressSpace, NotCommitted, NoAccess, ReadOnly };
    Reason reason = Reason::None;
    std::uint32_t page = 0; // the first byte of the range that the access may not touch

    bool allowed() const { return reason == Reason::None; }
    std::string text() const;
};

// Whether every byte of [address, address + size) lies in committed pages
// that allow the access (several regions if need be). The range must not wrap
// past 4 GiB (fieldAddress).
HostAccessRefusal checkHostAccess(std::uint32_t address, std::uint32_t size, HostAccess access);

} // namespace zudo::util::mem::detail
