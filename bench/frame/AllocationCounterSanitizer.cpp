// Counts heap allocations in a build with AddressSanitizer, whose allocator
// stands for malloc and operator new in the whole process (a replacement
// malloc of this program would run before the sanitizer is set up, and its
// blocks would reach the sanitizer's free). The sanitizer calls a hook of
// ours for every block it hands out, the plug-in's included.

#include "AllocationCounter.hpp"

#include <atomic>
#include <cstddef>

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*allocated)(const volatile void*, std::size_t),
                                                         void (*freed)(const volatile void*));

namespace {

std::atomic<std::uint64_t> allocations{0};

void countAllocation(const volatile void*, std::size_t) { allocations.fetch_add(1, std::memory_order_relaxed); }

void ignoreFree(const volatile void*) {}

const bool hooked = __sanitizer_install_malloc_and_free_hooks(&countAllocation, &ignoreFree) != 0;

} // namespace

std::uint64_t allocationCount()
{
    static_cast<void>(hooked);
    return allocations.load();
}
