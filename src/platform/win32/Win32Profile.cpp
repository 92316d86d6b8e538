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

namespace {

// The copy is ours alone: a read-only attribute that CopyFileA brought along
// must not keep it from being removed.
void removePendingCopy(const std::string& pending)
{
    ::SetFileAttributesA(pending.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(pending.c_str());
}

} // namespace

// Windows' own writes rewrite the file in place, so a process killed in the
// middle would leave it torn: the sections are written into a copy beside it,
// which then replaces it in one rename.
bool writeProfileSections(const std::vector<std::pair<std::string, std::string>>& sections,
                          const std::string& file)
{
    const std::string pending = file + ".new";
    removePendingCopy(pending);
    const DWORD attributes = ::GetFileAttributesA(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
            ::CopyFileA(file.c_str(), pending.c_str(), FALSE) == 0) {
            return false;
        }
    }
    bool written = true;
    for (const auto& [section, entries] : sections) {
        written = written && writeProfileSection(section.c_str(), entries.c_str(), pending);
    }
    // Brings what Windows may still hold of the copy into the file.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, pending.c_str());
    if (!written ||
        ::MoveFileExA(pending.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        removePendingCopy(pending);
        return false;
    }
    return true;
}

} // namespace zudo::platform
