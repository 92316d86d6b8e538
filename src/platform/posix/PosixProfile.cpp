// Private-profile files on POSIX: every read is answered from a parsed
// document per file, checked against the file's stamp with one stat per call;
// writes replace the file atomically and update the document.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/posix/PosixEmulation.hpp"
#include "platform/posix/PosixFileIo.hpp"
#include "platform/posix/PosixPaths.hpp"
#include "platform/posix/ProfileDocument.hpp"

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
        return change(path, [&](const detail::ProfileDocument& current) {
            return key != nullptr ? current.withValue(section, key, value) : current.withoutSection(section);
        });
    }

    using SectionLines = std::pair<std::string, std::vector<std::string_view>>;

    bool writeSections(const std::vector<SectionLines>& sections, const std::string& path)
    {
        return change(path, [&](const detail::ProfileDocument& current) {
            std::string content = current.content();
            for (const auto& [section, entries] : sections) {
                content = detail::ProfileDocument(std::move(content)).withSectionEntries(section, entries);
            }
            return content;
        });
    }

private:
    template <class Change>
    bool change(const std::string& path, Change&& makeChangedContent)
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
        std::string changed = makeChangedContent(*current);
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

// The parsed document of a profile file; null when it is no readable file.
Document documentOf(const std::string& file)
{
    const posix::ResolvedPath resolved = posix::resolvePath(file);
    if (resolved.error != 0 || !S_ISREG(resolved.status.st_mode)) {
        return nullptr;
    }
    return profileCache().document(resolved);
}

} // namespace

std::uint32_t profileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                            std::uint32_t size, const std::string& file)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const Document document = documentOf(file);
    return detail::readProfile(document.get(), section, key, defaultValue, buffer, size);
}

bool writeProfileString(const char* section, const char* key, const char* value, const std::string& file)
{
    if (section == nullptr) {
        return key == nullptr && value == nullptr; // Windows' request to flush its cache
    }
    return profileCache().write(section, key, value, file);
}

std::uint32_t profileSection(const char* section, char* buffer, std::uint32_t size, const std::string& file)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const Document document = documentOf(file);
    if (document == nullptr || section == nullptr) {
        return detail::copyNameList({}, buffer, size);
    }
    return document->copySectionEntries(section, buffer, size);
}

namespace {

// The entries of a section write: NUL-ended strings up to an empty one.
std::vector<std::string_view> entryLines(const char* entries)
{
    std::vector<std::string_view> lines;
    for (const char* entry = entries; *entry != '\0'; entry += std::strlen(entry) + 1) {
        lines.emplace_back(entry);
    }
    return lines;
}

} // namespace

bool writeProfileSection(const char* section, const char* entries, const std::string& file)
{
    if (section == nullptr || entries == nullptr) {
        return false;
    }
    return profileCache().writeSections({{section, entryLines(entries)}}, file);
}

bool writeProfileSections(const std::vector<std::pair<std::string, std::string>>& sections,
                          const std::string& file)
{
    std::vector<ProfileCache::SectionLines> lines;
    for (const auto& [section, entries] : sections) {
        lines.emplace_back(section, entryLines(entries.c_str()));
    }
    return profileCache().writeSections(lines, file);
}

} // namespace zudo::platform
