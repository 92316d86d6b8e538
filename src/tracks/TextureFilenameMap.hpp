#pragma once
// Which texture file the game really opens for a name: the pairs of
// Maps/TextureFilenameMap.dat, source path to target path, both lower case.
//
// File layout: 4 bytes not interpreted, then zero-terminated strings in pairs
// (source, target, source, target, ...) up to the first empty string or the
// end of the file. A last string without a partner is ignored; of two pairs
// with the same source the first counts.

#include <cstdint>
#include <map>
#include <string>

namespace zudo::tracks {

class TextureHost;

class TextureFilenameMap {
public:
    static constexpr const char* fileName = "Maps/TextureFilenameMap.dat";
    // Larger files are not read (the game's own files hold a few thousand
    // pairs, far below this); a report on standard error says so.
    static constexpr std::int64_t largestFile = 64 * 1024 * 1024;

    // The map of the process, read through textureHost() on first use.
    static TextureFilenameMap& instance();

    TextureFilenameMap() = default;
    // Parses the file's bytes.
    explicit TextureFilenameMap(const std::string& fileBytes);
    virtual ~TextureFilenameMap();

    // Reads Maps/TextureFilenameMap.dat (relative to the current directory)
    // through host. A missing file, or one of 4 bytes or less, gives an empty map.
    static TextureFilenameMap load(TextureHost& host);

    // The target of the lower-cased path, or the lower-cased path itself.
    std::string translate(const std::string& path) const;

    const std::map<std::string, std::string>& pairs() const { return pairs_; }

private:
    std::map<std::string, std::string> pairs_;
};

} // namespace zudo::tracks
