#pragma once
// Addresses inside the host (the game) and typed access to what lies there.
//
// The host is a 32-bit program: its objects hold 32-bit pointers. The plug-in
// therefore never turns host memory into C++ objects of its own; it keeps host
// addresses as 32-bit values and reads or writes fields at byte offsets.
//
// Each build has its own half of what differs (util/mem/game/ and
// util/mem/replacement/, chosen by CMake):
// - in the game's process (Windows build): the plug-in runs inside the host,
//   so a host address is a plain address of this process. Every read and
//   write first checks that its range lies in committed pages that allow it
//   (the process's memory regions, kept for the length of one call from the
//   game: see forgetHostMemoryRegions), so that a host pointer to freed or
//   protected memory throws HostAccessError instead of crashing the game;
// - against the replacement host (native build): the host is the simulator
//   (sim/), which keeps a simulated 32-bit address space; every access goes
//   through its memory() function and is checked against its bounds (and
//   writes against the ranges it keeps read-only). An access outside it
//   throws HostAccessError, so that a test shows the fault instead of
//   crashing.

#include <compare>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace zudo::util::mem {

// Thrown by reads and writes whose range is not host memory that allows them
// (inside the game: not committed, no access, read-only for a write, past the
// end of the address space; against the replacement host: outside its memory,
// or no replacement host there), and by the layout readers for host data that
// cannot be what it claims to be.
class HostAccessError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class HostAddress {
public:
    constexpr HostAddress() = default;
    constexpr explicit HostAddress(std::uint32_t value) : value_(value) {}

    constexpr std::uint32_t value() const { return value_; }
    constexpr bool isNull() const { return value_ == 0; }
    constexpr explicit operator bool() const { return value_ != 0; }
    constexpr HostAddress operator+(std::uint32_t offset) const
    {
        return HostAddress(value_ + offset);
    }
    constexpr auto operator<=>(const HostAddress&) const = default;

    // The field of type T at offset. T is a trivially copyable type laid out
    // as the host lays it out (fixed-width integers, float, char arrays).
    template <class T>
    T read(std::uint32_t offset = 0) const
    {
        static_assert(std::is_trivially_copyable_v<T>);
        T result;
        readBytes(offset, &result, sizeof(T));
        return result;
    }
    template <class T>
    void write(std::uint32_t offset, const T& value) const
    {
        static_assert(std::is_trivially_copyable_v<T>);
        writeBytes(offset, &value, sizeof(T));
    }
    // A 32-bit pointer held at offset.
    HostAddress readAddress(std::uint32_t offset = 0) const
    {
        return HostAddress(read<std::uint32_t>(offset));
    }
    void writeAddress(std::uint32_t offset, HostAddress address) const
    {
        write<std::uint32_t>(offset, address.value());
    }

    // HostAccessError when [address + offset, + size) is not readable (or
    // writable) host memory.
    void readBytes(std::uint32_t offset, void* out, std::uint32_t size) const;
    void writeBytes(std::uint32_t offset, const void* bytes, std::uint32_t size) const;
    // Like readBytes, but false instead of an exception.
    bool tryReadBytes(std::uint32_t offset, void* out, std::uint32_t size) const;

    // "0x" and eight hexadecimal digits, for messages.
    std::string text() const;

private:
    std::uint32_t value_ = 0;
};

static_assert(sizeof(HostAddress) == 4);

// The bytes of the host at address as a pointer of this process, or null when
// the range is not host memory (replacement host: outside its
// space; inside the game: only for the null address, nothing else is checked).
void* hostPointer(HostAddress address, std::uint32_t size);

// True inside the game's process, where host addresses are addresses of this
// process (and host code is protected by pages); false against the
// replacement host, whose memory is a buffer of its own.
bool hostIsThisProcess();

// Inside the game: forgets the memory regions that reads and writes have
// looked up, so that the next access asks Windows again. Called whenever the
// game's code may have run since (each call from the game into the plug-in,
// each call of a game routine) and after the plug-in changes protection or
// frees pages itself. Against the replacement host: nothing to forget.
void forgetHostMemoryRegions() noexcept;

namespace detail {
// The address of a field, or false when offset carries it past 4 GiB.
bool fieldAddress(HostAddress base, std::uint32_t offset, std::uint32_t size, std::uint32_t& address);

// The error of an access to [base + offset, + size) that is refused: "host
// memory at BASE + OFFSET (SIZE bytes) is not readable: WHY" (or "writable").
[[noreturn]] void refuseHostAccess(HostAddress base, std::uint32_t offset, std::uint32_t size, bool write,
                                   const std::string& why);
} // namespace detail

// A block of host memory that the plug-in owns and hands to the host by
// address (cloned virtual tables; tests lay out host objects in it). Zero-
// filled. Against the replacement host it comes from the host's allocator;
// inside the game from the heap of this process.
class HostBlock {
public:
    HostBlock() = default;
    explicit HostBlock(std::uint32_t size);
    ~HostBlock();
    HostBlock(HostBlock&& other) noexcept;
    HostBlock& operator=(HostBlock&& other) noexcept;
    HostBlock(const HostBlock&) = delete;
    HostBlock& operator=(const HostBlock&) = delete;

    // Null when the block could not be allocated.
    HostAddress address() const { return address_; }
    std::uint32_t size() const { return size_; }

private:
    void release();

    HostAddress address_;
    std::uint32_t size_ = 0;
};

// Base of the typed views of host objects: a host address and the fields the
// system relies on, each at a named offset. Views are cheap values.
class HostView {
public:
    constexpr HostView() = default;
    constexpr explicit HostView(HostAddress address) : address_(address) {}
    constexpr HostAddress address() const { return address_; }
    constexpr bool isNull() const { return address_.isNull(); }

protected:
    template <class T>
    T field(std::uint32_t offset) const
    {
        return address_.read<T>(offset);
    }
    template <class T>
    void setField(std::uint32_t offset, const T& value) const
    {
        address_.write<T>(offset, value);
    }

private:
    HostAddress address_;
};

} // namespace zudo::util::mem
