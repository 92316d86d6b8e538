#pragma once
// The heap allocations of the whole process so far (see AllocationCounter.cpp).

#include <cstdint>

std::uint64_t allocationCount();
