// What the process has used: processor time and peak memory (benchmarks).
#include <sys/resource.h>

#include "platform/Platform.hpp"

namespace zudo::platform {

namespace {

double secondsOf(const rusage& usage)
{
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

double processorSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return secondsOf(usage);
}

std::optional<double> endedChildrenProcessorSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return secondsOf(usage);
}

std::uint64_t peakMemoryBytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024U; // Linux counts kilobytes
}

} // namespace zudo::platform
