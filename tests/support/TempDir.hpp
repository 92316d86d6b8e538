#pragma once
// A fresh directory for one test, removed with everything in it at the end.
// Fixtures are written with the standard library, independently of the
// system's own platform layer, so that tests check that layer from outside.

#include <filesystem>
#include <string>

namespace zudo::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The directory as the system writes paths: a plain string.
    std::string str() const { return path_.string(); }
    // A path below the directory ("a/b.txt" style, relative).
    std::string file(const std::string& relative) const { return (path_ / relative).string(); }

    // Writes a file (binary, creating parent directories) and returns its path.
    std::string write(const std::string& relative, const std::string& content) const;
    // The whole content of a file, or an empty string when it cannot be read.
    std::string read(const std::string& relative) const;

private:
    std::filesystem::path path_;
};

// A file without write permission (the read-only attribute on Windows) for
// the time of a test; writable again afterwards so that it can be removed.
class ReadOnly {
public:
    explicit ReadOnly(std::filesystem::path path);
    ~ReadOnly();
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;

private:
    std::filesystem::path path_;
};

// Writes and reads whole files by absolute path.
void writeFile(const std::filesystem::path& path, const std::string& content);
std::string readFile(const std::filesystem::path& path);

} // namespace zudo::test
