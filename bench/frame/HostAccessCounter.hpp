#pragma once
// Counts the plug-in's reads and writes of host memory against the replacement
// host: each goes through the host's memory functions, and inside the game
// each of them is range-checked (HostMemoryRegions.cpp). One counter at a time.

#include <cstdint>

#include "util/mem/replacement/ReplacementHost.hpp"

namespace zudo::bench {

class HostAccessCounter {
public:
    // Registers a copy of host that counts, until the counter goes.
    explicit HostAccessCounter(const ::ZudoReplacementHost* host) : counting_(*host)
    {
        counted() = host;
        count() = 0;
        counting_.memory = &memory;
        counting_.writableMemory = &writableMemory;
        util::mem::registerReplacementHost(&counting_);
    }
    ~HostAccessCounter() { util::mem::registerReplacementHost(counted()); }
    HostAccessCounter(const HostAccessCounter&) = delete;
    HostAccessCounter& operator=(const HostAccessCounter&) = delete;

    // Accesses since the last reset.
    std::uint64_t accesses() const { return count(); }
    void reset() { count() = 0; }

    // Accesses of one run of step.
    template <class Step>
    std::uint64_t of(Step&& step)
    {
        reset();
        step();
        return accesses();
    }

private:
    static const ::ZudoReplacementHost*& counted()
    {
        static const ::ZudoReplacementHost* host = nullptr;
        return host;
    }
    static std::uint64_t& count()
    {
        static std::uint64_t value = 0;
        return value;
    }
    static std::uint8_t* memory(std::uint32_t address, std::uint32_t size)
    {
        ++count();
        return counted()->memory(address, size);
    }
    static std::uint8_t* writableMemory(std::uint32_t address, std::uint32_t size)
    {
        ++count();
        return counted()->writableMemory(address, size);
    }

    ::ZudoReplacementHost counting_;
};

} // namespace zudo::bench
