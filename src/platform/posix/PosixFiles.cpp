#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/posix/PosixEmulation.hpp"
#include "platform/posix/PosixFileIo.hpp"
#include "platform/posix/PosixPaths.hpp"

namespace zudo::platform {

namespace {

// Windows reports a directory where a file is expected as access denied.
int asWindowsError(int error) { return error == EISDIR ? EACCES : error; }

} // namespace

int statFile(const std::string& path, FileStatus& status)
{
    const posix::ResolvedPath resolved = posix::resolvePath(path);
    if (resolved.error != 0) {
        return resolved.error == ENOTDIR ? ENOENT : resolved.error;
    }
    status.directory = S_ISDIR(resolved.status.st_mode);
    status.size = static_cast<std::int64_t>(resolved.status.st_size);
    status.modified = static_cast<std::int64_t>(resolved.status.st_mtim.tv_sec);
    return 0;
}

// The C runtime checks existence, and for write access (2) the read-only
// attribute; read access (4) and other bits always pass on Windows.
int accessFile(const std::string& path, int mode)
{
    const posix::ResolvedPath resolved = posix::resolvePath(path);
    if (resolved.error != 0) {
        return resolved.error == ENOTDIR ? ENOENT : resolved.error;
    }
    return (mode & 2) != 0 && posix::isReadOnlyFile(resolved) ? EACCES : 0;
}

bool fileExists(const std::string& path) { return accessFile(path, 0) == 0; }

std::optional<std::string> fullPath(const std::string& path)
{
    std::string given = posix::withSlashes(path);
    if (given.empty()) {
        const std::string current = currentDirectory(); // as the C runtime does for ""
        return current.empty() ? std::nullopt : std::optional<std::string>(current);
    }
    if (given.front() != '/') {
        const std::string current = currentDirectory();
        if (current.empty()) {
            return std::nullopt;
        }
        given = current + "/" + given;
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= given.size()) {
        const std::size_t end = std::min(given.find('/', start), given.size());
        const std::string part = given.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& part : parts) {
        result += "/" + part;
    }
    if (result.empty() || given.back() == '/') {
        result += '/';
    }
    return result;
}

std::string nativePath(const std::string& path) { return posix::resolvePath(path).path; }

int replaceFile(const std::string& from, const std::string& to)
{
    const std::string source = nativePath(from);
    const posix::ResolvedPath target = posix::resolvePath(to);
    if (posix::isReadOnlyFile(target)) {
        return EACCES;
    }
    return ::rename(source.c_str(), target.path.c_str()) == 0 ? 0 : asWindowsError(errno);
}

// POSIX text files end their lines in "\n" already: text and binary are alike.
int writeFileToDisk(const std::string& path, const std::string& contents, bool /*text*/)
{
    const posix::ResolvedPath file = posix::resolvePath(path);
    if (posix::isReadOnlyFile(file)) {
        return EACCES; // also for the superuser, whom the file's mode would not stop
    }
    return asWindowsError(posix::writeFileSynced(file.path, contents));
}

int removeFile(const std::string& path)
{
    const posix::ResolvedPath file = posix::resolvePath(path);
    if (posix::isReadOnlyFile(file)) {
        return EACCES;
    }
    return ::unlink(file.path.c_str()) == 0 ? 0 : asWindowsError(errno);
}

int createDirectory(const std::string& path)
{
    return ::mkdir(nativePath(path).c_str(), 0777) == 0 ? 0 : errno;
}

std::string currentDirectory()
{
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

bool setCurrentDirectory(const std::string& path) { return ::chdir(nativePath(path).c_str()) == 0; }

std::string tempDirectory()
{
    const char* configured = std::getenv("TMPDIR");
    std::string directory = (configured != nullptr && *configured != '\0') ? configured : "/tmp";
    if (directory.back() != '/') {
        directory += '/';
    }
    return directory;
}

std::string errorText(int errorNumber) { return std::strerror(errorNumber); }

// ---------------------------------------------------------------------------

struct ReadHandle::Impl {
    int descriptor = -1;
};

ReadHandle::ReadHandle() : impl_(std::make_unique<Impl>()) {}

ReadHandle::~ReadHandle() { close(); }

bool ReadHandle::open(const std::string& path)
{
    close();
    const posix::ResolvedPath resolved = posix::resolvePath(path);
    if (resolved.error != 0 || S_ISDIR(resolved.status.st_mode)) {
        return false; // Windows opens no directory as a file
    }
    impl_->descriptor = ::open(resolved.path.c_str(), O_RDONLY | O_CLOEXEC);
    FileIdentityInfo ignored;
    if (!info(ignored)) {
        close();
        return false;
    }
    return true;
}

bool ReadHandle::isOpen() const { return impl_->descriptor >= 0; }

bool ReadHandle::info(FileIdentityInfo& out) const
{
    struct stat status{};
    if (impl_->descriptor < 0 || ::fstat(impl_->descriptor, &status) != 0) {
        return false;
    }
    out.lastWrite = static_cast<std::uint64_t>(detail::unixTimeToFileTime(
        static_cast<std::int64_t>(status.st_mtim.tv_sec), static_cast<std::int64_t>(status.st_mtim.tv_nsec)));
    out.volumeSerial = static_cast<std::uint32_t>(status.st_dev);
    out.size = static_cast<std::uint64_t>(status.st_size);
    out.fileIndex = static_cast<std::uint64_t>(status.st_ino);
    return true;
}

void ReadHandle::close()
{
    if (impl_->descriptor >= 0) {
        ::close(impl_->descriptor);
        impl_->descriptor = -1;
    }
}

} // namespace zudo::platform
