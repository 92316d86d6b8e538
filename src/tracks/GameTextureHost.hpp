#pragma once
// The texture check's questions answered by the game's own routines, called
// through the host access layer (see TextureHost.hpp):
//
// - track ini files: the game's ini reader (set up, open with mode 2, integer,
//   string and boolean reads, release), at its fixed addresses;
// - file size, read and existence: the game's file system where its routines
//   can be called; their addresses are not known, so in the game these
//   questions go to the file system directly (FileSystemTextureHost), as does
//   the path split, whose result fields inside the game's splitter object are
//   not known either (it only splits text).
//
// A call the host refuses (no executable, no routine) is answered from the
// file system as well, so the check never stops halfway.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "tracks/FileSystemTextureHost.hpp"

namespace zudo::tracks {

class GameTextureHost : public TextureHost {
public:
    // Bytes of host memory given to the game's ini reader object: its size is
    // the game's; this is far more than an object of a few containers needs.
    static constexpr std::uint32_t iniReaderObjectSize = 4096;

    GameTextureHost();
    ~GameTextureHost() override;

    std::int64_t fileSize(const std::string& path) override;
    std::int64_t readFile(const std::string& path, char* buffer, std::int64_t size) override;
    bool fileExists(const std::string& path) override;
    std::unique_ptr<TrackIniReader> openIni(const std::string& path) override;
    SplitPath splitPath(const std::string& path) override;
    bool enterDirectory(const std::string& directory) override;
    void leaveDirectory(const std::string& previous) override;

private:
    FileSystemTextureHost fileSystem_;
    std::unordered_map<std::string, bool> existence_;
};

} // namespace zudo::tracks
