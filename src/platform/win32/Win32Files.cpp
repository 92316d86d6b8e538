#include <windows.h>

#include <direct.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/PlatformDetail.hpp"
#include "platform/win32/Win32Errors.hpp"

namespace zudo::platform {

namespace win32 {

int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NO_MORE_FILES:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_WRITE_PROTECT:
    case ERROR_CANNOT_MAKE:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_DIR_NOT_EMPTY:
        return ENOTEMPTY;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EINVAL;
    }
}

} // namespace win32

int statFile(const std::string& path, FileStatus& status)
{
    struct _stat64 info{};
    if (::_stat64(path.c_str(), &info) != 0) {
        return errno;
    }
    status.directory = (info.st_mode & _S_IFDIR) != 0;
    status.size = info.st_size;
    status.modified = info.st_mtime;
    return 0;
}

int accessFile(const std::string& path, int mode) { return ::_access(path.c_str(), mode) == 0 ? 0 : errno; }

bool fileExists(const std::string& path) { return accessFile(path, 0) == 0; }

std::optional<std::string> fullPath(const std::string& path)
{
    char* full = ::_fullpath(nullptr, path.c_str(), 0);
    if (full == nullptr) {
        return std::nullopt;
    }
    std::string result = full;
    std::free(full);
    return result;
}

std::string nativePath(const std::string& path) { return path; }

namespace {

// Windows refuses to write or replace a file with the read-only attribute;
// Wine run by the superuser does both, so the attribute is checked first.
bool hasReadOnlyAttribute(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::string withWindowsLineEnds(const std::string& text)
{
    std::string converted;
    converted.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') {
            converted.push_back('\r');
        }
        converted.push_back(c);
    }
    return converted;
}

bool writeAll(HANDLE file, const std::string& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1U << 20));
        DWORD count = 0;
        if (::WriteFile(file, bytes.data() + written, chunk, &count, nullptr) == 0 || count == 0) {
            return false;
        }
        written += count;
    }
    return true;
}

} // namespace

int replaceFile(const std::string& from, const std::string& to)
{
    if (hasReadOnlyAttribute(to)) {
        return EACCES;
    }
    if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
        return 0;
    }
    return win32::errnoOf(::GetLastError());
}

int writeFileToDisk(const std::string& path, const std::string& contents, bool text)
{
    if (hasReadOnlyAttribute(path)) {
        return EACCES;
    }
    // Not shared: nobody reads a half-written file.
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return win32::errnoOf(::GetLastError());
    }
    const bool written = writeAll(file, text ? withWindowsLineEnds(contents) : contents) &&
                         ::FlushFileBuffers(file) != 0;
    const int result = written ? 0 : win32::errnoOf(::GetLastError());
    ::CloseHandle(file);
    return result;
}

int removeFile(const std::string& path) { return ::remove(path.c_str()) == 0 ? 0 : errno; }

int createDirectory(const std::string& path) { return ::_mkdir(path.c_str()) == 0 ? 0 : errno; }

std::string currentDirectory()
{
    const DWORD length = ::GetCurrentDirectoryA(0, nullptr);
    if (length == 0) {
        return {};
    }
    std::string directory(length, '\0');
    const DWORD written = ::GetCurrentDirectoryA(length, directory.data());
    directory.resize(written < length ? written : 0);
    return directory;
}

bool setCurrentDirectory(const std::string& path) { return ::SetCurrentDirectoryA(path.c_str()) != 0; }

std::string tempDirectory()
{
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof buffer, buffer);
    return (length == 0 || length > MAX_PATH) ? std::string() : std::string(buffer, length);
}

std::string errorText(int errorNumber) { return std::strerror(errorNumber); }

// ---------------------------------------------------------------------------

struct ReadHandle::Impl {
    HANDLE handle = INVALID_HANDLE_VALUE;
};

ReadHandle::ReadHandle() : impl_(std::make_unique<Impl>()) {}

ReadHandle::~ReadHandle() { close(); }

bool ReadHandle::open(const std::string& path)
{
    close();
    impl_->handle = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (impl_->handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    FileIdentityInfo ignored;
    if (!info(ignored)) {
        close();
        return false;
    }
    // Nothing else in the process may close the handle by mistake.
    ::SetHandleInformation(impl_->handle, HANDLE_FLAG_PROTECT_FROM_CLOSE, HANDLE_FLAG_PROTECT_FROM_CLOSE);
    return true;
}

bool ReadHandle::isOpen() const { return impl_->handle != INVALID_HANDLE_VALUE; }

bool ReadHandle::info(FileIdentityInfo& out) const
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (impl_->handle == INVALID_HANDLE_VALUE || ::GetFileInformationByHandle(impl_->handle, &information) == 0) {
        return false;
    }
    out.lastWrite = (std::uint64_t{information.ftLastWriteTime.dwHighDateTime} << 32) |
                    information.ftLastWriteTime.dwLowDateTime;
    out.volumeSerial = information.dwVolumeSerialNumber;
    out.size = (std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow;
    out.fileIndex = (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    return true;
}

void ReadHandle::close()
{
    if (impl_->handle != INVALID_HANDLE_VALUE) {
        ::SetHandleInformation(impl_->handle, HANDLE_FLAG_PROTECT_FROM_CLOSE, 0);
        ::CloseHandle(impl_->handle);
        impl_->handle = INVALID_HANDLE_VALUE;
    }
}

} // namespace zudo::platform
