#include "tracks/TextureHost.hpp"

#include "tracks/FileSystemTextureHost.hpp"

namespace zudo::tracks {

namespace {

std::shared_ptr<TextureHost>& chosenHost()
{
    static std::shared_ptr<TextureHost> host;
    return host;
}

} // namespace

TrackIniReader::~TrackIniReader() = default;
TextureHost::~TextureHost() = default;

TextureHost& textureHost()
{
    std::shared_ptr<TextureHost>& host = chosenHost();
    if (!host) {
        host = std::make_shared<FileSystemTextureHost>();
    }
    return *host;
}

void useTextureHost(std::shared_ptr<TextureHost> host) { chosenHost() = std::move(host); }

} // namespace zudo::tracks
