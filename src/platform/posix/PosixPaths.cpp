#include "platform/posix/PosixPaths.hpp"

#include <dirent.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/posix/PosixEmulation.hpp"

namespace zudo::platform::posix {

namespace {

constexpr std::size_t maximumCachedDirectories = 256;

std::string lowerCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        c = detail::foldCase(c);
    }
    return result;
}

// The entries of one directory by their lower-case names.
struct DirectoryListing {
    Stamp stamp;
    bool settled = false;
    std::unordered_map<std::string, std::string> namesByLowerCase;
};

class DirectoryCache {
public:
    // The name of the entry of directory whose name equals name but for letter case.
    std::optional<std::string> find(const std::string& directory, std::string_view name)
    {
        const std::lock_guard lock(mutex_);
        struct stat status{};
        if (::stat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
            return std::nullopt;
        }
        DirectoryListing* listing = listingOf(directory, stampOf(status));
        if (listing == nullptr) {
            return std::nullopt;
        }
        const std::string key = lowerCase(name);
        auto found = listing->namesByLowerCase.find(key);
        if (found == listing->namesByLowerCase.end() && !listing->settled) {
            listing = scan(directory); // the entry may have come within the same clock tick
            if (listing == nullptr) {
                return std::nullopt;
            }
            found = listing->namesByLowerCase.find(key);
        }
        if (found == listing->namesByLowerCase.end()) {
            return std::nullopt;
        }
        return found->second;
    }

private:
    DirectoryListing* listingOf(const std::string& directory, const Stamp& stamp)
    {
        const auto cached = listings_.find(directory);
        if (cached != listings_.end() && cached->second.stamp == stamp) {
            return &cached->second;
        }
        return scan(directory);
    }

    DirectoryListing* scan(const std::string& directory)
    {
        const timespec readStart = fileClockNow();
        const std::unique_ptr<DIR, int (*)(DIR*)> handle(::opendir(directory.c_str()), &::closedir);
        if (!handle) {
            listings_.erase(directory);
            return nullptr;
        }
        struct stat status{};
        if (::fstat(::dirfd(handle.get()), &status) != 0) {
            return nullptr;
        }
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(handle.get())) {
            names.emplace_back(entry->d_name);
        }
        // Of names that differ only in case, the first in byte order is found.
        std::sort(names.begin(), names.end());
        if (listings_.size() >= maximumCachedDirectories) {
            listings_.clear();
        }
        DirectoryListing& listing = listings_[directory];
        listing.stamp = stampOf(status);
        listing.settled = stampIsSettled(listing.stamp, readStart);
        listing.namesByLowerCase.clear();
        for (std::string& name : names) {
            listing.namesByLowerCase.emplace(lowerCase(name), std::move(name));
        }
        return &listing;
    }

    std::mutex mutex_;
    std::unordered_map<std::string, DirectoryListing> listings_;
};

DirectoryCache& directoryCache()
{
    static DirectoryCache cache;
    return cache;
}

std::vector<std::string_view> componentsOf(std::string_view path)
{
    std::vector<std::string_view> components;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start) {
            components.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return components;
}

bool entryExists(const std::string& path)
{
    struct stat status{};
    return ::lstat(path.c_str(), &status) == 0;
}

std::string resolveByLetterCase(const std::string& path)
{
    const std::vector<std::string_view> components = componentsOf(path);
    std::string resolved = path.front() == '/' ? "/" : "";
    for (std::size_t i = 0; i < components.size(); ++i) {
        const std::string_view component = components[i];
        const std::string candidate = resolved + std::string(component);
        if (component == "." || component == ".." || entryExists(candidate)) {
            resolved = candidate;
        } else if (auto actual = directoryCache().find(resolved.empty() ? "." : resolved, component)) {
            resolved += *actual;
        } else {
            resolved = candidate; // nothing of that name: the rest stays as given
            for (++i; i < components.size(); ++i) {
                resolved.append("/").append(components[i]);
            }
            break;
        }
        if (i + 1 < components.size()) {
            resolved += '/';
        }
    }
    if (path.back() == '/' && resolved.back() != '/') {
        resolved += '/';
    }
    return resolved;
}

} // namespace

std::string withSlashes(std::string_view path)
{
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

ResolvedPath resolvePath(std::string_view path)
{
    ResolvedPath result;
    result.path = withSlashes(path);
    if (result.path.empty()) {
        result.error = ENOENT;
        return result;
    }
    if (::stat(result.path.c_str(), &result.status) == 0) {
        return result;
    }
    result.error = errno;
    if (result.error != ENOENT && result.error != ENOTDIR) {
        return result;
    }
    std::string resolved = resolveByLetterCase(result.path);
    if (resolved != result.path) {
        result.path = std::move(resolved);
        result.error = ::stat(result.path.c_str(), &result.status) == 0 ? 0 : errno;
    }
    return result;
}

bool isReadOnlyFile(const ResolvedPath& file)
{
    if (file.error != 0 || S_ISDIR(file.status.st_mode)) {
        return false;
    }
    return (file.status.st_mode & 0222) == 0 || ::access(file.path.c_str(), W_OK) != 0;
}

Stamp stampOf(const struct stat& status)
{
    Stamp stamp;
    stamp.device = static_cast<std::uint64_t>(status.st_dev);
    stamp.inode = static_cast<std::uint64_t>(status.st_ino);
    stamp.size = static_cast<std::int64_t>(status.st_size);
    stamp.modifiedSeconds = static_cast<std::int64_t>(status.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<std::int64_t>(status.st_mtim.tv_nsec);
    return stamp;
}

timespec fileClockNow()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}

bool stampIsSettled(const Stamp& stamp, const timespec& readStart)
{
    std::int64_t seconds = stamp.modifiedSeconds;
    const std::int64_t nanoseconds = stamp.modifiedNanoseconds;
    if (nanoseconds == 0) {
        seconds += 2; // a file system that keeps whole (or even) seconds
    }
    const auto readSeconds = static_cast<std::int64_t>(readStart.tv_sec);
    const auto readNanoseconds = static_cast<std::int64_t>(readStart.tv_nsec);
    return readSeconds > seconds || (readSeconds == seconds && readNanoseconds > nanoseconds);
}

} // namespace zudo::platform::posix
