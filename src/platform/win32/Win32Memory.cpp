#include <windows.h>

#include <cstdint>
#include <cstring>

#include "platform/PlatformDetail.hpp"

namespace zudo::platform {

namespace {

DWORD pageProtection(Protection protection)
{
    switch (protection) {
    case Protection::NoAccess:
        return PAGE_NOACCESS;
    case Protection::ReadOnly:
        return PAGE_READONLY;
    case Protection::ReadWrite:
        return PAGE_READWRITE;
    case Protection::ExecuteRead:
        return PAGE_EXECUTE_READ;
    case Protection::ExecuteReadWrite:
        return PAGE_EXECUTE_READWRITE;
    }
    return PAGE_NOACCESS;
}

Protection protectionOf(DWORD flags)
{
    switch (flags & 0xFF) { // without PAGE_GUARD, PAGE_NOCACHE and the like
    case PAGE_READONLY:
        return Protection::ReadOnly;
    case PAGE_READWRITE:
    case PAGE_WRITECOPY:
        return Protection::ReadWrite;
    case PAGE_EXECUTE:
    case PAGE_EXECUTE_READ:
        return Protection::ExecuteRead;
    case PAGE_EXECUTE_READWRITE:
    case PAGE_EXECUTE_WRITECOPY:
        return Protection::ExecuteReadWrite;
    default:
        return Protection::NoAccess;
    }
}

// Whether every page of the range is committed and allows the access. (A
// read through ReadProcessMemory is no check: Wine reads no-access pages.)
bool rangeAllows(const void* address, std::size_t size, bool write)
{
    auto current = reinterpret_cast<std::uintptr_t>(address);
    const std::uintptr_t end = current + size;
    if (end < current) {
        return false; // the range wraps around the address space
    }
    while (current < end) {
        MemoryRegion region;
        if (!queryMemoryRegion(reinterpret_cast<const void*>(current), region) ||
            !(write ? region.writable : region.readable)) {
            return false;
        }
        current = region.base + region.size;
    }
    return true;
}

} // namespace

void* allocatePages(std::size_t size, Protection protection)
{
    if (size == 0) {
        return nullptr;
    }
    return ::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, pageProtection(protection));
}

void freePages(void* address, std::size_t)
{
    if (address != nullptr) {
        ::VirtualFree(address, 0, MEM_RELEASE);
    }
}

bool protectPages(void* address, std::size_t size, Protection protection, Protection* previous)
{
    if (address == nullptr || size == 0) {
        return false;
    }
    DWORD before = 0;
    if (::VirtualProtect(address, size, pageProtection(protection), &before) == 0) {
        return false;
    }
    if (previous != nullptr) {
        *previous = protectionOf(before);
    }
    return true;
}

bool queryMemoryRegion(const void* address, MemoryRegion& region)
{
    constexpr DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                               PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    constexpr DWORD writable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    MEMORY_BASIC_INFORMATION info{};
    if (::VirtualQuery(address, &info, sizeof info) == 0) {
        return false;
    }
    region.base = reinterpret_cast<std::uintptr_t>(info.BaseAddress);
    region.size = info.RegionSize;
    region.committed = info.State == MEM_COMMIT;
    // The protection of pages that are not committed means nothing.
    const bool accessible = region.committed && (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) == 0;
    region.readable = accessible && (info.Protect & readable) != 0;
    region.writable = accessible && (info.Protect & writable) != 0;
    return true;
}

bool copyMemoryChecked(void* destination, const void* source, std::size_t size)
{
    if (size == 0) {
        return true;
    }
    if (!rangeAllows(source, size, false) || !rangeAllows(destination, size, true)) {
        return false;
    }
    std::memmove(destination, source, size);
    return true;
}

} // namespace zudo::platform
