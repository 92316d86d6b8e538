// What the process has used: processor time and peak memory (benchmarks).
// A file of its own, so that only programs that ask link it.
#include <windows.h>
#include <psapi.h>

#include "platform/Platform.hpp"

namespace zudo::platform {

namespace {

double secondsOf(const FILETIME& time)
{
    const auto units = (static_cast<std::uint64_t>(time.dwHighDateTime) << 32U) | time.dwLowDateTime;
    return static_cast<double>(units) / 1e7; // 100 ns units
}

} // namespace

double processorSeconds()
{
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user) == 0) {
        return 0.0;
    }
    return secondsOf(kernel) + secondsOf(user);
}

std::optional<double> endedChildrenProcessorSeconds() { return std::nullopt; }

std::uint64_t peakMemoryBytes()
{
    // Looked up rather than imported: older Windows has the routine only in
    // psapi.dll, and nothing else of the system should depend on it.
    using MemoryInfo = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    const auto query = reinterpret_cast<MemoryInfo>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "K32GetProcessMemoryInfo")));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (query == nullptr || query(::GetCurrentProcess(), &counters, sizeof(counters)) == 0) {
        return 0;
    }
    return counters.PeakWorkingSetSize;
}

} // namespace zudo::platform
