#include <sys/mman.h>
#include <sys/uio.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cinttypes>
#include <cstdint>

#include "platform/posix/PosixEmulation.hpp"

namespace zudo::platform {

namespace {

int protectionFlags(Protection protection)
{
    switch (protection) {
    case Protection::NoAccess:
        return PROT_NONE;
    case Protection::ReadOnly:
        return PROT_READ;
    case Protection::ReadWrite:
        return PROT_READ | PROT_WRITE;
    case Protection::ExecuteRead:
        return PROT_READ | PROT_EXEC;
    case Protection::ExecuteReadWrite:
        return PROT_READ | PROT_WRITE | PROT_EXEC;
    }
    return PROT_NONE;
}

Protection protectionOf(bool read, bool write, bool execute)
{
    if (execute) {
        return write ? Protection::ExecuteReadWrite : Protection::ExecuteRead;
    }
    if (write) {
        return Protection::ReadWrite;
    }
    return read ? Protection::ReadOnly : Protection::NoAccess;
}

struct Mapping {
    std::uintptr_t start = 0;
    std::uintptr_t end = 0; // past the last byte
    bool mapped = false;    // false: the gap between two mappings
    bool read = false;
    bool write = false;
    bool execute = false;
};

// The mapping of /proc/self/maps that holds address, or the gap around it.
bool mappingAt(std::uintptr_t address, Mapping& mapping)
{
    std::FILE* maps = std::fopen("/proc/self/maps", "re");
    if (maps == nullptr) {
        return false;
    }
    mapping = Mapping{0, UINTPTR_MAX, false};
    std::uintmax_t start = 0;
    std::uintmax_t end = 0;
    char permissions[8] = {};
    char rest[4096];
    while (std::fscanf(maps, "%jx-%jx %7s", &start, &end, permissions) == 3) {
        if (address < start) {
            mapping.end = static_cast<std::uintptr_t>(start); // in the gap before this mapping
            break;
        }
        if (address < end) {
            mapping = Mapping{static_cast<std::uintptr_t>(start), static_cast<std::uintptr_t>(end), true,
                              permissions[0] == 'r', permissions[1] == 'w', permissions[2] == 'x'};
            break;
        }
        mapping.start = static_cast<std::uintptr_t>(end);
        if (std::fgets(rest, sizeof rest, maps) == nullptr) {
            break;
        }
    }
    std::fclose(maps);
    return true;
}

// The protection of the mapping that holds address.
bool currentProtection(std::uintptr_t address, Protection& protection)
{
    Mapping mapping;
    if (!mappingAt(address, mapping) || !mapping.mapped) {
        return false;
    }
    protection = protectionOf(mapping.read, mapping.write, mapping.execute);
    return true;
}

std::uintptr_t pageSize() { return static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE)); }

// Copies through a pipe: the kernel reports an inaccessible source or
// destination as EFAULT instead of faulting.
bool copyThroughPipe(void* destination, const void* source, std::size_t size)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    constexpr std::size_t chunk = 4096; // always fits into a pipe
    bool copied = true;
    for (std::size_t done = 0; copied && done < size; done += chunk) {
        const std::size_t count = size - done < chunk ? size - done : chunk;
        copied = ::write(ends[1], static_cast<const char*>(source) + done, count) == static_cast<ssize_t>(count) &&
                 ::read(ends[0], static_cast<char*>(destination) + done, count) == static_cast<ssize_t>(count);
    }
    ::close(ends[0]);
    ::close(ends[1]);
    return copied;
}

} // namespace

void* allocatePages(std::size_t size, Protection protection)
{
    if (size == 0) {
        return nullptr;
    }
    void* pages = ::mmap(nullptr, size, protectionFlags(protection), MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return pages == MAP_FAILED ? nullptr : pages;
}

void freePages(void* address, std::size_t size)
{
    if (address != nullptr && size != 0) {
        ::munmap(address, size);
    }
}

bool protectPages(void* address, std::size_t size, Protection protection, Protection* previous)
{
    if (address == nullptr || size == 0) {
        return false;
    }
    const std::uintptr_t page = pageSize();
    const auto begin = reinterpret_cast<std::uintptr_t>(address) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(address) + size + page - 1) & ~(page - 1);
    Protection before = Protection::NoAccess;
    if (previous != nullptr && !currentProtection(begin, before)) {
        return false;
    }
    if (::mprotect(reinterpret_cast<void*>(begin), end - begin, protectionFlags(protection)) != 0) {
        return false;
    }
    if (previous != nullptr) {
        *previous = before;
    }
    return true;
}

bool queryMemoryRegion(const void* address, MemoryRegion& region)
{
    const std::uintptr_t page = pageSize();
    const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(address) & ~(page - 1);
    Mapping mapping;
    if (!mappingAt(first, mapping)) {
        return false;
    }
    region.base = first;
    region.size = mapping.end - first;
    region.committed = mapping.mapped;
    region.readable = mapping.mapped && mapping.read;
    region.writable = mapping.mapped && mapping.write;
    return true;
}

bool copyMemoryChecked(void* destination, const void* source, std::size_t size)
{
    if (size == 0) {
        return true;
    }
    // Reading from the own process checks both ranges in the kernel.
    iovec local{destination, size};
    iovec remote{const_cast<void*>(source), size};
    const ssize_t copied = ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0);
    if (copied >= 0) {
        return static_cast<std::size_t>(copied) == size;
    }
    if (errno == ENOSYS || errno == EPERM) {
        return copyThroughPipe(destination, source, size); // the call is forbidden here
    }
    return false;
}

} // namespace zudo::platform
