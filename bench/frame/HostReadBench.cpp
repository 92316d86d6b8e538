// Prints what the range check of host reads costs: nanoseconds per
// read<std::uint32_t> through a host address against a plain copy from the
// same memory. Inside the game's process (the Windows build, run under Wine by
// hand: scripts/wine-run.sh build/win32/bench/frame/bench_host_read.exe) the
// check asks the process's memory regions, kept until the game's code may have
// run; natively it is the replacement host's bounds check.
//
// Each read follows a chain through a block of host memory (the value read is
// the offset of the next), so that no read can start before the one before it
// ends, as when the plug-in follows the game's pointers.
//
//   bench_host_read [--reads N]

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/BenchHost.hpp"
#include "util/mem/HostAddress.hpp"

namespace {

using zudo::util::mem::HostAddress;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t blockSize = 64 * 1024;
constexpr std::uint32_t stride = 4 * 1024 + 4; // every read on another page
constexpr int rounds = 5;

// The block as a chain: the word at each offset holds the offset of the next.
void writeChain(HostAddress block)
{
    std::uint32_t offset = 0;
    for (std::uint32_t i = 0; i < blockSize / 4; ++i) {
        const std::uint32_t next = (offset + stride) % (blockSize - 4) & ~3u;
        block.write<std::uint32_t>(offset, next);
        offset = next;
    }
}

// The fastest of a few rounds, in nanoseconds per read.
template <class Follow>
double nanosecondsPerRead(long reads, Follow&& follow)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        std::uint32_t offset = 0;
        const Clock::time_point start = Clock::now();
        for (long i = 0; i < reads; ++i) {
            offset = follow(offset);
        }
        const double elapsed = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        if (offset == 1) {
            std::puts(""); // keeps the chain's result alive
        }
        best = std::min(best, elapsed / static_cast<double>(reads));
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    long reads = 10'000'000;
    if (argc == 3 && std::string(argv[1]) == "--reads") {
        reads = std::max(1000L, std::strtol(argv[2], nullptr, 10));
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: bench_host_read [--reads N]\n");
        return 1;
    }
    zudo::bench::attachBenchHost();
    const zudo::util::mem::HostBlock memory(blockSize);
    const HostAddress block = memory.address();
    const auto* bytes = static_cast<const std::uint8_t*>(zudo::util::mem::hostPointer(block, blockSize));
    if (block.isNull() || bytes == nullptr) {
        std::fprintf(stderr, "bench_host_read: no host memory\n");
        return 1;
    }
    writeChain(block);

    const double plain = nanosecondsPerRead(reads, [bytes](std::uint32_t offset) {
        std::uint32_t next = 0;
        std::memcpy(&next, bytes + offset, sizeof next);
        return next;
    });
    const double checked = nanosecondsPerRead(reads, [block](std::uint32_t offset) {
        return block.read<std::uint32_t>(offset);
    });
    const double afterForgetting = nanosecondsPerRead(reads / 20, [block](std::uint32_t offset) {
        zudo::util::mem::forgetHostMemoryRegions(); // as at every call from the game
        return block.read<std::uint32_t>(offset);
    });
    const double forgetting = nanosecondsPerRead(reads, [](std::uint32_t offset) {
        zudo::util::mem::forgetHostMemoryRegions();
        return offset + 4;
    });
    std::printf("read<std::uint32_t>, best of %d rounds of %ld reads (ns per read):\n", rounds, reads);
    std::printf("  plain copy                          %8.2f\n", plain);
    std::printf("  checked, regions known              %8.2f  (+%.2f)\n", checked, checked - plain);
    std::printf("  checked, regions forgotten before   %8.2f  (the first read after a call from the game)\n",
                afterForgetting);
    std::printf("  forgetting the regions alone        %8.2f\n", forgetting);
    return 0;
}
