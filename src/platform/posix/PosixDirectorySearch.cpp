#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>

#include "platform/posix/PosixEmulation.hpp"
#include "platform/posix/PosixPaths.hpp"

namespace zudo::platform {

namespace {

bool isDotEntry(std::string_view name) { return name == "." || name == ".."; }

// "." and ".." first, then the rest as NTFS orders names.
bool searchOrder(const FindData& a, const FindData& b)
{
    if (isDotEntry(a.name) != isDotEntry(b.name)) {
        return isDotEntry(a.name);
    }
    return detail::lessIgnoringCase(a.name, b.name);
}

// The C runtime's errno when the directory of a search cannot be read.
int searchError(int openError)
{
    switch (openError) {
    case ENOENT:
        return ENOENT;
    case ENOTDIR:
        return EINVAL; // Windows: "the directory name is invalid"
    case EACCES:
    case EPERM:
        return EACCES;
    default:
        return openError;
    }
}

bool describe(int directory, const std::string& name, FindData& entry)
{
    struct stat status{};
    if (::fstatat(directory, name.c_str(), &status, 0) != 0 &&
        ::fstatat(directory, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return false; // gone since the listing was read
    }
    entry.name = name;
    entry.directory = S_ISDIR(status.st_mode);
    entry.size = entry.directory ? 0 : static_cast<std::int64_t>(status.st_size);
    entry.modified = static_cast<std::int64_t>(status.st_mtim.tv_sec);
    return true;
}

} // namespace

struct DirectorySearch::Impl {
    std::vector<FindData> entries;
    std::size_t next = 0;
    int error = 0;

    bool fail(int errorNumber)
    {
        entries.clear();
        next = 0;
        error = errorNumber;
        return false;
    }
    bool read(const std::string& pattern);
};

bool DirectorySearch::Impl::read(const std::string& pattern)
{
    const std::string slashed = posix::withSlashes(pattern);
    const std::size_t separator = slashed.rfind('/');
    std::string directory = separator == std::string::npos ? "." : slashed.substr(0, separator + 1);
    std::string mask = separator == std::string::npos ? slashed : slashed.substr(separator + 1);
    if (detail::hasWildcard(directory)) {
        return fail(EINVAL); // wildcards belong in the last component only
    }
    while (!mask.empty() && mask.back() == ' ') {
        mask.pop_back(); // Windows ignores trailing blanks of a name
    }
    if (mask.empty()) {
        return fail(ENOENT);
    }
    const posix::ResolvedPath resolved = posix::resolvePath(directory);
    if (resolved.error != 0) {
        return fail(searchError(resolved.error));
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> handle(::opendir(resolved.path.c_str()), &::closedir);
    if (!handle) {
        return fail(searchError(errno));
    }
    // A drive's root has no "." and ".." on Windows; "/" stands for it here.
    const bool root = resolved.path.find_first_not_of('/') == std::string::npos;
    entries.clear();
    while (const dirent* found = ::readdir(handle.get())) {
        const std::string name = found->d_name;
        if ((root && isDotEntry(name)) || !detail::matchesWildcard(name, mask)) {
            continue;
        }
        FindData entry;
        if (describe(::dirfd(handle.get()), name, entry)) {
            entries.push_back(std::move(entry));
        }
    }
    std::sort(entries.begin(), entries.end(), searchOrder);
    next = 0;
    error = entries.empty() ? ENOENT : 0;
    return !entries.empty();
}

DirectorySearch::DirectorySearch() : impl_(std::make_unique<Impl>()) {}

DirectorySearch::~DirectorySearch() = default;

bool DirectorySearch::first(const std::string& pattern, FindData& entry)
{
    if (!impl_->read(pattern)) {
        return false;
    }
    entry = impl_->entries[impl_->next++];
    return true;
}

bool DirectorySearch::next(FindData& entry)
{
    if (impl_->next >= impl_->entries.size()) {
        impl_->error = ENOENT; // as _findnext reports the end
        return false;
    }
    entry = impl_->entries[impl_->next++];
    return true;
}

int DirectorySearch::errorNumber() const { return impl_->error; }

void DirectorySearch::close()
{
    impl_->entries.clear();
    impl_->next = 0;
}

bool listFileNames(const std::string& directory, std::vector<std::string>& names, int& errorNumber)
{
    const posix::ResolvedPath resolved = posix::resolvePath(directory);
    if (resolved.error != 0 || !S_ISDIR(resolved.status.st_mode)) {
        errorNumber = resolved.error != 0 ? searchError(resolved.error) : EINVAL;
        return false;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(resolved.path.c_str()), ::closedir);
    if (!listing) {
        errorNumber = searchError(errno);
        return false;
    }
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string name = entry->d_name;
        if (isDotEntry(name) || entry->d_type == DT_DIR) {
            continue;
        }
        struct stat status{};
        const bool known = entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK;
        if (known || ::fstatat(::dirfd(listing.get()), name.c_str(), &status, 0) != 0 || !S_ISDIR(status.st_mode)) {
            names.push_back(name);
        }
    }
    errorNumber = 0;
    return true;
}

} // namespace zudo::platform
