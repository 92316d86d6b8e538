#pragma once
// The texture check's questions answered by the system itself on the real
// file system (see TextureHost.hpp).
//
// Existence: each directory that holds a file asked about is listed once per
// host object, and a file exists when its directory lists a file of its name
// in any letter case (as Windows finds it). A track's thousands of texture
// questions thus cost one listing per texture directory instead of one path
// resolution per file. Below the current directory, directories are found
// in their letter case on disk through the listings of their parents (a
// listing names the subdirectories too), so that no path is resolved
// component by component from the root of the file system. Where a directory cannot be listed (no permission to
// read it), its files are asked of the file system one by one, each once.
//
// Track ini files are read the way the game's reader answers its three
// queries, over the private-profile rules of the platform layer (names in any
// letter case, values trimmed and unquoted, the first of duplicate sections
// and keys, ";" comment lines):
// - integer: a missing key or an empty value gives the default; otherwise the
//   leading decimal integer of the value (optional sign; "12abc" is 12, "abc"
//   is 0; beyond the int range the nearest limit);
// - string: a missing key gives the default; otherwise the value, also when
//   it is empty;
// - boolean: a missing key or an empty value gives the default; "true",
//   "yes" and "on" (any letter case) are true, "false", "no" and "off" false;
//   any other value is true when its leading integer is not 0.

#include <optional>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

#include "tracks/TextureHost.hpp"

namespace zudo::tracks {

class FileSystemTextureHost : public TextureHost {
public:
    FileSystemTextureHost();
    ~FileSystemTextureHost() override;

    std::int64_t fileSize(const std::string& path) override;
    std::int64_t readFile(const std::string& path, char* buffer, std::int64_t size) override;
    bool fileExists(const std::string& path) override;
    std::unique_ptr<TrackIniReader> openIni(const std::string& path) override;
    SplitPath splitPath(const std::string& path) override;
    bool enterDirectory(const std::string& directory) override;
    void leaveDirectory(const std::string& previous) override;

    // How many questions went to the file system for existence: directory
    // listings and single files (benchmarks, tests).
    std::uint64_t fileSystemQueries() const { return queries_; }

private:
    struct Listing {
        bool readable = false;                 // false: ask its files one by one
        // The lower-case names of its files, sorted: one block per directory
        // instead of a node per name (a run lists about 150,000 names).
        std::vector<std::string> files;
        bool hasFile(std::string_view lowerCaseName) const;
        // Its subdirectories: lower-case name to the name on disk.
        std::unordered_map<std::string, std::string> directories;
    };
    // directoryKey: the directory's key (lower case, "/" separators);
    // directory: its path as the data spells it.
    const Listing& listing(const std::string& directoryKey, const std::string& directory);
    // The directory's path as spelled on disk, when it lies below the
    // current directory and every part is found in its parent's listing.
    std::optional<std::string> spelledOnDisk(const std::string& directoryKey);
    std::string absolutePath(const std::string& path) const;

    std::unordered_map<std::string, Listing> listings_; // entries are never removed
    std::string lastDirectoryKey_;
    const Listing* lastListing_ = nullptr;
    std::unordered_map<std::string, bool> singleFiles_;
    std::uint64_t queries_ = 0;
    // The current directory while the texture check is inside one (as the
    // system spells it) and its key; empty outside, where every question
    // asks the system.
    std::string current_;
    std::string currentKey_;
};

// One spelling for every way of writing a path (relative or absolute, either
// separator, any letter case), to remember answers about the file.
std::string sameFileKey(const std::string& path);

// The rules above, for one value as the platform's ini reader returns it.
std::int32_t trackIniInt(const std::string& value, std::int32_t defaultValue);
bool trackIniBool(const std::string& value, bool defaultValue);

} // namespace zudo::tracks
