// What the system asks about the process it runs in, where a replacement host
// (the simulator or a test) may answer in place of the operating system.
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

} // namespace

std::string executablePath()
{
    {
        const std::lock_guard lock(overrideMutex());
        if (!executableOverride().empty()) {
            return executableOverride();
        }
    }
    const ::ZudoReplacementHost* host = replacementHost();
    if (host != nullptr && host->executablePath != nullptr) {
        if (const char* path = host->executablePath(); path != nullptr && *path != '\0') {
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

std::uint32_t tickCount()
{
    const ::ZudoReplacementHost* host = replacementHost();
    if (host != nullptr && host->tickCount != nullptr) {
        return host->tickCount();
    }
    return detail::systemTickCount();
}

} // namespace zudo::platform
