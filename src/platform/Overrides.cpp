// What the system asks about the process it runs in, where a program standing
// in for the game's process (the replacement host, a test) may answer in place
// of the operating system.
#include <atomic>
#include <mutex>

#include "platform/PlatformDetail.hpp"

namespace zudo::platform {

namespace {

std::mutex& overrideMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::string& executableOverride()
{
    static std::string path;
    return path;
}

std::atomic<ExecutablePathSource> executableSource{nullptr};
std::atomic<TickSource> tickSource{nullptr};

} // namespace

std::string executablePath()
{
    {
        const std::lock_guard lock(overrideMutex());
        if (!executableOverride().empty()) {
            return executableOverride();
        }
    }
    if (const ExecutablePathSource source = executableSource.load(); source != nullptr) {
        if (const char* path = source(); path != nullptr && *path != '\0') {
            return path;
        }
    }
    return detail::systemExecutablePath();
}

void setExecutablePath(const std::string& path)
{
    const std::lock_guard lock(overrideMutex());
    executableOverride() = path;
}

void setExecutablePathSource(ExecutablePathSource source) { executableSource.store(source); }

std::uint32_t tickCount()
{
    if (const TickSource source = tickSource.load(); source != nullptr) {
        return source();
    }
    return detail::systemTickCount();
}

void setTickSource(TickSource source) { tickSource.store(source); }

} // namespace zudo::platform
