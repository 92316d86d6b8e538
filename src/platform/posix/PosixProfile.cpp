// Private-profile files on POSIX: every read is answered from a parsed
// document per file, checked against the file's stamp with one stat per call;
// writes replace the file atomically and update the document.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/PlatformDetail.hpp"
#include "platform/ProfileDocument.hpp"
#include "platform/posix/PosixPaths.hpp"

namespace zudo::platform {

namespace {

using Document = std::shared_ptr<const detail::ProfileDocument>;

constexpr std::size_t maximumCachedFiles = 64;

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor()
    {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }
    bool valid() const { return descriptor_ >= 0; }
    bool close()
    {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return ::close(descriptor) == 0;
    }

private:
    int descriptor_;
};

bool readWholeFile(const std::string& path, std::string& content, posix::Stamp& stamp)
{
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status{};
    if (!file.valid() || ::fstat(file.get(), &status) != 0 || S_ISDIR(status.st_mode)) {
        return false;
    }
    stamp = posix::stampOf(status);
    content.clear();
    content.resize(static_cast<std::size_t>(status.st_size) + 1); // one more byte notices growth
    std::size_t length = 0;
    for (;;) {
        if (length == content.size()) {
            content.resize(content.size() * 2);
        }
        const ssize_t count = ::read(file.get(), content.data() + length, content.size() - length);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return false;
        }
        if (count == 0) {
            break;
        }
        length += static_cast<std::size_t>(count);
    }
    content.resize(length);
    return true;
}

bool writeAll(int descriptor, const std::string& content)
{
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t count = ::write(descriptor, content.data() + written, content.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes content beside target and renames it over target, so that the file
// is always either the old or the new one; mode is kept for an existing file.
bool replaceAtomically(const std::string& target, const std::string& content, const struct stat* existing,
                       posix::Stamp& stamp)
{
    static std::atomic<unsigned> counter{0};
    const std::string directory = directoryOf(target);
    const std::string name = target.substr(target.rfind('/') + 1);
    const std::string temporary = directory + "/." + name + "." + std::to_string(::getpid()) + "-" +
                                  std::to_string(counter++) + ".tmp";
    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!file.valid()) {
        return false;
    }
    struct stat status{};
    const bool written = (existing == nullptr || ::fchmod(file.get(), existing->st_mode & 07777) == 0) &&
                         writeAll(file.get(), content) && ::fsync(file.get()) == 0 &&
                         ::fstat(file.get(), &status) == 0;
    if (!file.close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    stamp = posix::stampOf(status); // a rename keeps the inode and its modification time
    return true;
}

class ProfileCache {
public:
    // The document of an existing file; null when it cannot be read.
    Document document(const posix::ResolvedPath& file)
    {
        const std::lock_guard lock(mutex_);
        return documentLocked(file);
    }

    bool write(const char* section, const char* key, const char* value, const std::string& path)
    {
        const std::lock_guard lock(mutex_);
        const posix::ResolvedPath file = posix::resolvePath(path);
        const bool exists = file.error == 0;
        if (exists && S_ISDIR(file.status.st_mode)) {
            return false;
        }
        const std::string target = exists ? realTarget(file.path) : file.path;
        struct stat parent{};
        if (::stat(directoryOf(target).c_str(), &parent) != 0 || !S_ISDIR(parent.st_mode)) {
            return false; // Windows creates no directories for a profile
        }
        Document current = exists ? documentLocked(file) : emptyDocument();
        if (!current) {
            return false;
        }
        std::string changed = key != nullptr ? current->withValue(section, key, value)
                                             : current->withoutSection(section);
        if (changed == current->content()) {
            return true; // nothing to change; a deletion creates no file either
        }
        const timespec writeStart = posix::fileClockNow();
        posix::Stamp stamp;
        if (!replaceAtomically(target, changed, exists ? &file.status : nullptr, stamp)) {
            return false;
        }
        Cached& cached = entryFor(file.path);
        cached.document = std::make_shared<const detail::ProfileDocument>(std::move(changed));
        cached.stamp = stamp;
        cached.settled = posix::stampIsSettled(stamp, writeStart);
        return true;
    }

private:
    struct Cached {
        posix::Stamp stamp;
        bool settled = false;
        Document document;
        std::uint64_t lastUse = 0;
    };

    static Document emptyDocument()
    {
        static const Document empty = std::make_shared<const detail::ProfileDocument>(std::string());
        return empty;
    }

    // Writes go to the file a symbolic link points at, so that the link stays.
    static std::string realTarget(const std::string& path)
    {
        char* real = ::realpath(path.c_str(), nullptr);
        if (real == nullptr) {
            return path;
        }
        std::string result = real;
        std::free(real);
        return result;
    }

    Document documentLocked(const posix::ResolvedPath& file)
    {
        Cached& cached = entryFor(file.path);
        if (cached.document && cached.settled && cached.stamp == posix::stampOf(file.status)) {
            return cached.document;
        }
        const timespec readStart = posix::fileClockNow();
        std::string content;
        posix::Stamp stamp;
        if (!readWholeFile(file.path, content, stamp)) {
            files_.erase(file.path);
            return nullptr;
        }
        const bool same = cached.document && cached.stamp == stamp && cached.document->content() == content;
        if (!same) {
            cached.document = std::make_shared<const detail::ProfileDocument>(std::move(content));
        }
        cached.stamp = stamp;
        cached.settled = posix::stampIsSettled(stamp, readStart);
        return cached.document;
    }

    Cached& entryFor(const std::string& path)
    {
        if (files_.size() >= maximumCachedFiles && files_.find(path) == files_.end()) {
            evictLeastRecentlyUsed();
        }
        Cached& cached = files_[path];
        cached.lastUse = ++useCounter_;
        return cached;
    }

    void evictLeastRecentlyUsed()
    {
        auto oldest = files_.begin();
        for (auto it = files_.begin(); it != files_.end(); ++it) {
            if (it->second.lastUse < oldest->second.lastUse) {
                oldest = it;
            }
        }
        files_.erase(oldest);
    }

    std::mutex mutex_;
    std::unordered_map<std::string, Cached> files_;
    std::uint64_t useCounter_ = 0;
};

ProfileCache& profileCache()
{
    static ProfileCache cache;
    return cache;
}

} // namespace

std::uint32_t profileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                            std::uint32_t size, const std::string& file)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const posix::ResolvedPath resolved = posix::resolvePath(file);
    Document document;
    if (resolved.error == 0 && !S_ISDIR(resolved.status.st_mode)) {
        document = profileCache().document(resolved);
    }
    return detail::readProfile(document.get(), section, key, defaultValue, buffer, size);
}

bool writeProfileString(const char* section, const char* key, const char* value, const std::string& file)
{
    if (section == nullptr) {
        return key == nullptr && value == nullptr; // Windows' request to flush its cache
    }
    return profileCache().write(section, key, value, file);
}

} // namespace zudo::platform
