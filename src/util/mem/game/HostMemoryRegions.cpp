// The range check of host reads and writes inside the game's process.
//
// A host pointer read from the game's memory may point anywhere: into memory
// the game has freed, a guard page, the game's read-only code and data. A
// plain copy through it would be an access violation that no C++ handler
// catches, ending the game. So every read and write first asks whether its
// range lies in committed pages that allow it.
//
// Asking Windows (VirtualQuery) for every read would cost more than the read;
// a frame makes thousands of them, nearly all in a few regions (the game's
// image, a few heap segments). So the regions Windows reported are kept in a
// small cache, for as long as they cannot have changed:
// - memory is committed, freed or re-protected only by code that runs. On the
//   game's main thread, which makes every call into the plug-in, the game's
//   code runs only between two calls into the plug-in and inside the game's
//   routines the plug-in calls. So the cache is forgotten at the start of
//   every call from the game (the plug-in's interface slots, the routines the
//   game reaches through tables and jumps the plug-in installed) and after
//   every call of a game routine (forgetHostMemoryRegions). The plug-in's own
//   protection changes (ProtectScope) and frees of host memory forget it too.
//   Only regions that allow some access are kept: pages that are free or
//   reserved now may be committed by the plug-in's own allocations.
// - the cache belongs to the thread that first used it, the game's main
//   thread; a read or write on any other thread asks Windows itself. Forgetting
//   advances a generation that the owner compares on its next lookup, so that
//   it may happen on any thread.
// - another thread of the game may free memory at any moment, also between a
//   check and the copy; no check made beforehand can close that gap, cached or
//   not. The game's own threads do not hand the plug-in their memory.
#include "util/mem/game/HostMemoryRegions.hpp"

#include <array>
#include <atomic>
#include <cstdio>

#include "platform/Platform.hpp"
#include "util/mem/HostAddress.hpp"

namespace zudo::util::mem {

namespace {

std::atomic<std::uint32_t> regionGeneration{1};

struct KnownRegion {
    std::uint32_t base = 0;
    std::uint32_t size = 0; // 0: an empty slot
    bool committed = false;
    bool readable = false;
    bool writable = false;

    bool holds(std::uint32_t address) const { return address - base < size; }
};

// Regions that Windows reported, the oldest replaced first.
class RegionCache {
public:
    const KnownRegion* find(std::uint32_t address) const
    {
        for (const KnownRegion& region : regions_) {
            if (region.holds(address)) {
                return &region;
            }
        }
        return nullptr;
    }
    void add(const KnownRegion& region)
    {
        regions_[next_] = region;
        next_ = (next_ + 1) % regions_.size();
    }
    // Empty when the generation has moved on since the cache was filled.
    void keepUpWith(std::uint32_t generation)
    {
        if (generation != generation_) {
            regions_ = {};
            next_ = 0;
            generation_ = generation;
        }
    }

private:
    std::array<KnownRegion, 8> regions_{};
    std::size_t next_ = 0;
    std::uint32_t generation_ = 0;
};

RegionCache cache;
std::atomic<std::uint32_t> cacheOwner{0};

bool ownsCache()
{
    const std::uint32_t self = platform::threadId();
    std::uint32_t owner = cacheOwner.load(std::memory_order_acquire);
    if (owner == self) {
        return true;
    }
    return owner == 0 && cacheOwner.compare_exchange_strong(owner, self, std::memory_order_acq_rel);
}

bool queryRegion(std::uint32_t address, KnownRegion& known)
{
    platform::MemoryRegion region;
    if (!platform::queryMemoryRegion(reinterpret_cast<const void*>(std::uintptr_t{address}), region) ||
        region.size == 0) {
        return false;
    }
    const std::uint64_t end = std::uint64_t{region.base} + region.size;
    known.base = static_cast<std::uint32_t>(region.base);
    known.size = static_cast<std::uint32_t>((end > 0x1'0000'0000ULL ? 0x1'0000'0000ULL : end) - region.base);
    known.committed = region.committed;
    known.readable = region.readable;
    known.writable = region.writable;
    return known.holds(address);
}

// The region holding address; false beyond the address space.
bool regionAt(std::uint32_t address, KnownRegion& region)
{
    if (!ownsCache()) {
        return queryRegion(address, region); // other threads ask Windows every time
    }
    cache.keepUpWith(regionGeneration.load(std::memory_order_acquire));
    if (const KnownRegion* known = cache.find(address)) {
        region = *known;
        return true;
    }
    if (!queryRegion(address, region)) {
        return false;
    }
    // Memory that cannot be touched is not kept: the plug-in's own allocations
    // may commit it (the heap grows into its reserved pages) while no game
    // code runs, and a refusal is rare enough to ask again.
    if (region.readable || region.writable) {
        cache.add(region);
    }
    return true;
}

} // namespace

void forgetHostMemoryRegions() noexcept { regionGeneration.fetch_add(1, std::memory_order_acq_rel); }

namespace detail {

std::string HostAccessRefusal::text() const
{
    char where[16];
    std::snprintf(where, sizeof where, "0x%08x", static_cast<unsigned>(page));
    switch (reason) {
    case Reason::None:
        break;
    case Reason::BeyondAddressSpace:
        return std::string(where) + " lies beyond the process's address space";
    case Reason::NotCommitted:
        return std::string("no memory is committed at ") + where;
    case Reason::NoAccess:
        return std::string("the page at ") + where + " allows no access";
    case Reason::ReadOnly:
        return std::string("the page at ") + where + " is read-only";
    }
    return {};
}

HostAccessRefusal checkHostAccess(std::uint32_t address, std::uint32_t size, HostAccess access)
{
    using Reason = HostAccessRefusal::Reason;
    std::uint64_t current = address;
    const std::uint64_t end = current + size;
    while (current < end) {
        const auto at = static_cast<std::uint32_t>(current);
        KnownRegion region;
        if (!regionAt(at, region)) {
            return {Reason::BeyondAddressSpace, at};
        }
        if (!region.committed) {
            return {Reason::NotCommitted, at};
        }
        if (access == HostAccess::Write && region.readable && !region.writable) {
            return {Reason::ReadOnly, at};
        }
        if (!(access == HostAccess::Write ? region.writable : region.readable)) {
            return {Reason::NoAccess, at};
        }
        current = std::uint64_t{region.base} + region.size;
    }
    return {};
}

} // namespace detail

} // namespace zudo::util::mem
