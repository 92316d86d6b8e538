#pragma once
// Names of files and directories: a path split into its directory and its
// name. Both "\\" and "/" separate path parts; joining always writes "\\".
// Every relative path of the system is anchored at the host directory:
//
//     zudo::io::File(zudo::io::File(zudo::io::hostDirectory()), "Maps\\Tracks.ini").fullPath()

#include <cstdint>
#include <string>

namespace zudo::io {

class File {
public:
    File() = default;
    // Trailing separators are dropped, then the path is split at its last
    // separator ("C:\\Games\\Host\\" is directory "C:\\Games", name "Host").
    explicit File(const std::string& path);
    // The child of parent: leading separators of relative are dropped and the
    // two are joined with "\\" before the split.
    File(const File& parent, const std::string& relative);
    File(const File&) = default;
    File& operator=(const File&) = default;
    virtual ~File();

    std::string directory() const { return directory_; }
    std::string name() const { return name_; }
    // The directory, "\\" when it is not empty, and the name.
    std::string fullPath() const;
    // The name after its last "."; empty without one.
    std::string extension() const;
    // The name up to its last "."; the whole name without one.
    std::string baseName() const;

    bool exists() const;
    // Bytes; -1 when the file's status cannot be read.
    std::int64_t size() const;
    // The full path made absolute; empty when that fails.
    std::string absolutePath() const;
    // Seconds since 1970-01-01 UTC. Throws zudo::Exception when the file's
    // status cannot be read.
    std::int64_t lastModified() const;
    // CRC-32 (the zip and zlib checksum) of the contents; 0 for a directory or
    // an empty file. Computed once and kept. Throws zudo::Exception when the
    // file cannot be read.
    std::uint32_t checksum() const;

private:
    void split(std::string path);

    std::string directory_;
    std::string name_;
    mutable std::uint32_t checksum_ = 0; // 0: not computed yet
};

// The directory of the running host executable (the game's, not the plug-in's).
std::string hostDirectory();

// The text with each of \ / : * ? " < > | replaced by replacement.
std::string sanitizeFileName(const std::string& text, char replacement = '_');

// Whether c separates path parts.
inline bool isPathSeparator(char c) { return c == '\\' || c == '/'; }

} // namespace zudo::io
