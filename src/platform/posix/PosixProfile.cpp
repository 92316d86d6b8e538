// Private-profile files on POSIX: every read is answered from a parsed
// document per file, checked against the file's stamp with one stat per call;
// writes replace the file atomically and update the document.
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/PlatformDetail.hpp"
#include "platform/ProfileDocument.hpp"
#include "platform/posix/PosixFileIo.hpp"
#include "platform/posix/PosixPaths.hpp"

namespace zudo::platform {

namespace {

using Document = std::shared_ptr<const detail::ProfileDocument>;

constexpr std::size_t maximumCachedFiles = 64;

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
        if (exists && (!S_ISREG(file.status.st_mode) || posix::isReadOnlyFile(file))) {
            return false;
        }
        const std::string target = exists ? realTarget(file.path) : file.path;
        struct stat parent{};
        if (::stat(posix::directoryOf(target).c_str(), &parent) != 0 || !S_ISDIR(parent.st_mode)) {
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
        if (!posix::replaceAtomically(target, changed, exists ? &file.status : nullptr, stamp)) {
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
        if (!posix::readWholeFile(file.path, content, stamp)) {
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
    if (resolved.error == 0 && S_ISREG(resolved.status.st_mode)) {
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
