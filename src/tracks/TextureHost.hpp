#pragma once
// What the texture check asks of the game: whether a texture file exists, a
// file's size and bytes, the values of a track's ini file, and a path split
// into its directory and bare file name. Two implementations answer:
//
// - the game's own routines, called through the host access layer once the
//   game's executable is there (the plug-in inside the game; the listing tool
//   after loading the executable by hand) - GameTextureHost;
// - the system itself on the real file system, with Windows' path rules
//   (either separator, letter case ignored) - FileSystemTextureHost. The
//   native build always uses it, the listing tool when the game's executable
//   cannot be loaded.
//
// Paths are relative to the current directory unless absolute.

#include <cstdint>
#include <memory>
#include <string>

namespace zudo::tracks {

// The values of one open track ini file.
class TrackIniReader {
public:
    virtual ~TrackIniReader();
    virtual std::int32_t readInt(const std::string& section, const std::string& key,
                                 std::int32_t defaultValue) = 0;
    virtual std::string readString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) = 0;
    virtual bool readBool(const std::string& section, const std::string& key, bool defaultValue) = 0;
};

// A path as the game's path splitter gives it.
struct SplitPath {
    std::string directory; // without a final separator; empty for a bare name
    std::string name;      // file name without directory and extension
};

class TextureHost {
public:
    virtual ~TextureHost();

    // Bytes; -1 when the file cannot be found.
    virtual std::int64_t fileSize(const std::string& path) = 0;
    // Up to size bytes of the file from its start into buffer; the number read
    // (0 when it cannot be read).
    virtual std::int64_t readFile(const std::string& path, char* buffer, std::int64_t size) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    // The reader of one track ini file (an absent file reads as empty).
    virtual std::unique_ptr<TrackIniReader> openIni(const std::string& path) = 0;
    virtual SplitPath splitPath(const std::string& path) = 0;

    // The texture check makes a track's directory current while it asks about
    // that track's textures, and then returns to the previous one. A host may
    // keep the directory meanwhile instead of asking the system for it at
    // every question. False when the directory could not be made current.
    virtual bool enterDirectory(const std::string& directory);
    virtual void leaveDirectory(const std::string& previous);
};

// The implementation the process uses: the one set by useTextureHost, else
// the game's routines when the game's executable is in this process, else the
// file system.
TextureHost& textureHost();
void useTextureHost(std::shared_ptr<TextureHost> host);

} // namespace zudo::tracks
