#pragma once
// Fixed host addresses resolved against the place where their module is
// actually loaded. Every address is written as the host had it at its
// module's preferred load address; the offset from that base is kept and added
// to the module's current load address.

#include <cstdint>
#include <string>
#include <string_view>

#include "util/mem/HostAddress.hpp"

namespace zudo::util::mem {

// The modules of the host that the system reaches into.
enum class HostModule : std::uint8_t {
    Executable, // the game executable (zudoExeName), preferred base 0x00400000
    VudezAvu3R, // "VudezAvu3R.DLL", preferred base 0x60000000
    ZozuDudeve, // "ZozuDudeve.DLL", preferred base 0x61000000
};

std::uint32_t preferredBase(HostModule module);

// The host object whose pointer the executable keeps at 0x894FB8 records
// where the game loaded its two libraries.
namespace library_table {
inline constexpr std::uint32_t pointerAddress = 0x894FB8;
inline constexpr std::uint32_t vudezAvu3RBase = 20; // 32-bit load address
inline constexpr std::uint32_t zozuDudeveBase = 28; // 32-bit load address
} // namespace library_table

// An address in one module, built on the stack for each use.
class ModuleAddress {
public:
    explicit ModuleAddress(std::uint32_t offset) : offset_(offset) {}
    virtual ~ModuleAddress() = default;
    ModuleAddress(const ModuleAddress&) = default;
    ModuleAddress& operator=(const ModuleAddress&) = default;

    virtual std::string moduleName() const = 0;
    // The module's current load address plus the offset; null when the module
    // is not there (nothing is ever resolved against a missing module).
    // This base version asks the platform for the module by name.
    virtual HostAddress address() const;

    std::uint32_t offset() const { return offset_; }

protected:
    HostAddress atBase(HostAddress base) const { return base ? base + offset_ : HostAddress(); }

private:
    std::uint32_t offset_;
};

// An address in the game executable; its load address comes from
// ZudoExeModule::module().
class ExecutableAddress final : public ModuleAddress {
public:
    // From the address at the preferred base 0x00400000.
    static ExecutableAddress at(std::uint32_t preferredAddress);
    using ModuleAddress::ModuleAddress;
    std::string moduleName() const override;
    HostAddress address() const override;
};

// An address in one of the game's two libraries, whose load address the game
// records in its library table (see library_table).
class LibraryAddress : public ModuleAddress {
public:
    std::string moduleName() const override;
    HostAddress address() const override;

protected:
    LibraryAddress(HostModule library, std::uint32_t preferredAddress);

private:
    HostModule library_;
};

class VudezAvu3RAddress final : public LibraryAddress {
public:
    explicit VudezAvu3RAddress(std::uint32_t preferredAddress)
        : LibraryAddress(HostModule::VudezAvu3R, preferredAddress)
    {
    }
};

class ZozuDudeveAddress final : public LibraryAddress {
public:
    explicit ZozuDudeveAddress(std::uint32_t preferredAddress)
        : LibraryAddress(HostModule::ZozuDudeve, preferredAddress)
    {
    }
};

// Where a host library is loaded now, from the library table; null when the
// executable or the table is not there.
HostAddress libraryBase(HostModule library);

// The address at the preferred base of module, resolved as above.
HostAddress resolveAddress(HostModule module, std::uint32_t preferredAddress);

} // namespace zudo::util::mem
