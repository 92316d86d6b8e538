#include "util/mem/ModuleAddress.hpp"

#include <cstdint>

#include "platform/Platform.hpp"
#include "util/mem/ZudoExeModule.hpp"

namespace zudo::util::mem {

std::uint32_t preferredBase(HostModule module)
{
    switch (module) {
    case HostModule::Executable:
        return 0x00400000;
    case HostModule::VudezAvu3R:
        return 0x60000000;
    case HostModule::ZozuDudeve:
        return 0x61000000;
    }
    return 0;
}

HostAddress ModuleAddress::address() const
{
    const auto handle = reinterpret_cast<std::uintptr_t>(platform::moduleHandle(moduleName()));
    return atBase(HostAddress(static_cast<std::uint32_t>(handle)));
}

ExecutableAddress ExecutableAddress::at(std::uint32_t preferredAddress)
{
    return ExecutableAddress(preferredAddress - preferredBase(HostModule::Executable));
}

std::string ExecutableAddress::moduleName() const { return ZudoExeModule::exeName(); }

HostAddress ExecutableAddress::address() const
{
    return atBase(ZudoExeModule::instance().module());
}

LibraryAddress::LibraryAddress(HostModule library, std::uint32_t preferredAddress)
    : ModuleAddress(preferredAddress - preferredBase(library)), library_(library)
{
}

std::string LibraryAddress::moduleName() const
{
    return library_ == HostModule::VudezAvu3R ? "VudezAvu3R.DLL" : "ZozuDudeve.DLL";
}

HostAddress LibraryAddress::address() const { return atBase(libraryBase(library_)); }

HostAddress libraryBase(HostModule library)
{
    const HostAddress slot = ExecutableAddress::at(library_table::pointerAddress).address();
    std::uint32_t table = 0;
    if (slot.isNull() || !slot.tryReadBytes(0, &table, sizeof table) || table == 0) {
        return HostAddress();
    }
    const std::uint32_t offset = library == HostModule::VudezAvu3R ? library_table::vudezAvu3RBase
                                                                   : library_table::zozuDudeveBase;
    std::uint32_t base = 0;
    if (!HostAddress(table).tryReadBytes(offset, &base, sizeof base)) {
        return HostAddress();
    }
    return HostAddress(base);
}

HostAddress resolveAddress(HostModule module, std::uint32_t preferredAddress)
{
    switch (module) {
    case HostModule::Executable:
        return ExecutableAddress::at(preferredAddress).address();
    case HostModule::VudezAvu3R:
        return VudezAvu3RAddress(preferredAddress).address();
    case HostModule::ZozuDudeve:
        return ZozuDudeveAddress(preferredAddress).address();
    }
    return HostAddress();
}

} // namespace zudo::util::mem
