#pragma once
// One Windows-style ini file, read and written through the platform's
// private-profile functions: letter case of names ignored, values trimmed, the
// first of duplicate sections and keys wins, a missing file reads as empty.
// Typed access to single keys is in config/Settings.hpp.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace zudo::platform {
class ProfileSnapshot;
}

namespace zudo::io {

class IniFile {
public:
    // Values longer than this are cut to it.
    static constexpr std::uint32_t longestValue = 4095;
    // Section and key listings are read into a buffer of this many bytes.
    static constexpr std::uint32_t listingBufferSize = 1024 * 1024;

    // name: absolute, or relative to the current directory.
    explicit IniFile(std::string name);
    virtual ~IniFile();

    const std::string& name() const { return name_; }
    // The name made absolute. Should that fail for a file that cannot be
    // reached, the file of that name in the running executable's directory.
    // Empty for an empty name.
    std::string resolvedPath() const;
    // False only when the file surely does not exist.
    bool exists() const;

    // The value with leading and trailing white space removed, or the
    // (trimmed) default when the key is missing.
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // Creates the file and the section when missing. False on failure.
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value) const;

    // Appends the section names in file order; always true.
    bool sectionNames(std::deque<std::string>& out) const;
    // Appends the key names of one section in file order; always true.
    bool keyNames(const std::string& section, std::deque<std::string>& out) const;

private:
    void appendNames(const char* section, std::deque<std::string>& out) const;

    std::string name_;
};

// An ini file read once for many reads of its values while nothing writes it
// (a track's ini file: hundreds of values): each value as IniFile::readString
// gives it, without going to the file system for each.
class IniSnapshot {
public:
    explicit IniSnapshot(const IniFile& file);
    ~IniSnapshot();
    IniSnapshot(const IniSnapshot&) = delete;
    IniSnapshot& operator=(const IniSnapshot&) = delete;

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

private:
    std::unique_ptr<platform::ProfileSnapshot> profile_;
    mutable std::vector<char> buffer_;
};

} // namespace zudo::io
