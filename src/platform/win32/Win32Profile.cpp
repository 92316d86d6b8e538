#include <windows.h>

#include "platform/PlatformDetail.hpp"

namespace zudo::platform {

std::uint32_t profileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                            std::uint32_t size, const std::string& file)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const DWORD count = ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file.c_str());
    const bool listing = section == nullptr || key == nullptr;
    if (listing && size >= 2 && count == size - 2) {
        // Windows ends a cut listing with two NULs; Wine's ANSI function
        // leaves the last byte of the buffer untouched.
        buffer[size - 1] = '\0';
    }
    return count;
}

struct ProfileSnapshot::Impl {
    std::string file;
};

ProfileSnapshot::ProfileSnapshot(const std::string& file) : impl_(std::make_unique<Impl>(Impl{file})) {}

ProfileSnapshot::~ProfileSnapshot() = default;

std::uint32_t ProfileSnapshot::string(const char* section, const char* key, const char* defaultValue,
                                      char* buffer, std::uint32_t size) const
{
    return profileString(section, key, defaultValue, buffer, size, impl_->file);
}

bool writeProfileString(const char* section, const char* key, const char* value, const std::string& file)
{
    return ::WritePrivateProfileStringA(section, key, value, file.c_str()) != 0;
}

std::uint32_t profileSection(const char* section, char* buffer, std::uint32_t size, const std::string& file)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const DWORD count = ::GetPrivateProfileSectionA(section, buffer, size, file.c_str());
    if (size >= 2 && count == size - 2) {
        buffer[size - 1] = '\0';
    }
    return count;
}

bool writeProfileSection(const char* section, const char* entries, const std::string& file)
{
    return ::WritePrivateProfileSectionA(section, entries, file.c_str()) != 0;
}

bool writeProfileSections(const std::vector<std::pair<std::string, std::string>>& sections,
                          const std::string& file)
{
    bool written = true;
    for (const auto& [section, entries] : sections) {
        written = writeProfileSection(section.c_str(), entries.c_str(), file) && written;
    }
    return written;
}

} // namespace zudo::platform
