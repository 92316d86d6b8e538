#pragma once
// Paths as Windows takes them, on a POSIX file system: "\\" and "/" both
// separate, and a component missing in the given letter case is looked up
// without regard to case (directory listings are cached and checked against
// the directory's stamp). Only the POSIX implementation uses this.

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace zudo::platform::posix {

std::string withSlashes(std::string_view path);

struct ResolvedPath {
    std::string path;   // the path for the POSIX functions
    int error = 0;      // 0 when the entry exists (status is then valid)
    struct stat status{};
};

// The path as given when it exists; otherwise each missing component is
// replaced by an existing entry whose name differs only in letter case, as
// far as such entries exist, and the rest is kept as given.
ResolvedPath resolvePath(std::string_view path);

// Whether Windows would see the file's read-only attribute: nobody may write
// it (or this process may not), which the superuser's access() would hide.
// Such a file is neither written, replaced nor removed.
bool isReadOnlyFile(const ResolvedPath& file);

// What tells that a file or directory changed without reading it.
struct Stamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool operator==(const Stamp&) const = default;
};
Stamp stampOf(const struct stat& status);

// The clock that file times are taken from.
timespec fileClockNow();

// Whether content read at readStart (taken before reading) is certain to be
// the content of every later file with the same stamp. It is not while the
// file clock has not moved past the modification time: a rewrite within the
// same clock tick (or within two seconds on a file system that keeps whole
// seconds) would keep the stamp.
bool stampIsSettled(const Stamp& stamp, const timespec& readStart);

} // namespace zudo::platform::posix
