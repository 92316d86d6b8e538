#pragma once
// Times and heap allocations of frames, and their printed summary.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <streambuf>
#include <vector>

#include "AllocationCounter.hpp"

namespace zudo::bench {

using Clock = std::chrono::steady_clock;

// A stream buffer that takes everything and keeps nothing.
class DiscardingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

struct Figures {
    std::vector<double> microseconds;
    std::vector<std::uint64_t> allocations;
};

inline double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

template <class Step>
Figures measure(std::size_t frames, Step&& step)
{
    Figures figures;
    figures.microseconds.reserve(frames);
    figures.allocations.reserve(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const std::uint64_t before = allocationCount();
        const Clock::time_point start = Clock::now();
        step();
        const Clock::time_point end = Clock::now();
        figures.allocations.push_back(allocationCount() - before);
        figures.microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    return figures;
}

inline void print(const char* what, const Figures& figures)
{
    std::uint64_t total = 0;
    std::uint64_t most = 0;
    for (const std::uint64_t count : figures.allocations) {
        total += count;
        most = std::max(most, count);
    }
    std::printf("%-42s %6zu frames  median %8.2f us  p90 %8.2f us  min %8.2f us  "
                "allocations per frame %.2f (most %llu)\n",
                what, figures.microseconds.size(), percentile(figures.microseconds, 0.5),
                percentile(figures.microseconds, 0.9),
                *std::min_element(figures.microseconds.begin(), figures.microseconds.end()),
                static_cast<double>(total) / static_cast<double>(figures.allocations.size()),
                static_cast<unsigned long long>(most));
}

} // namespace zudo::bench
