#include <windows.h>

#include <vector>

#include "platform/PlatformDetail.hpp"

namespace zudo::platform {

std::uint32_t processId() { return ::GetCurrentProcessId(); }

std::uint32_t threadId() { return ::GetCurrentThreadId(); }

namespace detail {

std::string systemExecutablePath()
{
    std::vector<char> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::string(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2); // the name was cut
    }
}

} // namespace detail

ModuleHandle moduleHandle(const std::string& name)
{
    return reinterpret_cast<ModuleHandle>(::GetModuleHandleA(name.empty() ? nullptr : name.c_str()));
}

ModuleHandle loadLibrary(const std::string& path) { return reinterpret_cast<ModuleHandle>(::LoadLibraryA(path.c_str())); }

ModuleHandle loadLibraryUnresolved(const std::string& path)
{
    return reinterpret_cast<ModuleHandle>(::LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES));
}

void freeLibrary(ModuleHandle module)
{
    if (module != nullptr) {
        ::FreeLibrary(static_cast<HMODULE>(module));
    }
}

void closeHandle(void* handle)
{
    if (handle != nullptr) {
        ::CloseHandle(handle);
    }
}

void* procAddress(ModuleHandle module, const std::string& name)
{
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name.c_str()));
}

void* procAddress(ModuleHandle module, std::uint16_t ordinal)
{
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), MAKEINTRESOURCEA(ordinal)));
}

void* programSymbol(const char* name)
{
    return reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA(nullptr), name));
}

} // namespace zudo::platform
