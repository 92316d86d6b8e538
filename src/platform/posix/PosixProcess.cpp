#include <dlfcn.h>
#include <sys/types.h>
#include <unistd.h>

#include <vector>

#include "platform/posix/PosixEmulation.hpp"

namespace zudo::platform {

std::uint32_t processId() { return static_cast<std::uint32_t>(::getpid()); }

std::uint32_t threadId() { return static_cast<std::uint32_t>(::gettid()); }

namespace detail {

std::string systemExecutablePath()
{
    std::vector<char> buffer(1024);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace detail

// Natively no Windows module is ever loaded: the host is reached through the
// replacement host instead, so every lookup finds nothing.
ModuleHandle moduleHandle(const std::string&) { return nullptr; }
ModuleHandle loadLibrary(const std::string&) { return nullptr; }
ModuleHandle loadLibraryUnresolved(const std::string&) { return nullptr; }
void freeLibrary(ModuleHandle) {}
void closeHandle(void*) {}
void* procAddress(ModuleHandle, const std::string&) { return nullptr; }
void* procAddress(ModuleHandle, std::uint16_t) { return nullptr; }

void* programSymbol(const char* name) { return ::dlsym(RTLD_DEFAULT, name); }

} // namespace zudo::platform
