#include "tracks/TextureHost.hpp"

#include "platform/Platform.hpp"
#include "tracks/FileSystemTextureHost.hpp"
#include "tracks/GameTextureHost.hpp"
#include "util/mem/ZudoExeModule.hpp"

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

bool TextureHost::enterDirectory(const std::string& directory) { return platform::setCurrentDirectory(directory); }

void TextureHost::leaveDirectory(const std::string& previous) { platform::setCurrentDirectory(previous); }

TextureHost& textureHost()
{
    std::shared_ptr<TextureHost>& host = chosenHost();
    if (!host) {
        if (util::mem::ZudoExeModule::instance().isAvailable()) {
            host = std::make_shared<GameTextureHost>();
        } else {
            host = std::make_shared<FileSystemTextureHost>();
        }
    }
    return *host;
}

void useTextureHost(std::shared_ptr<TextureHost> host) { chosenHost() = std::move(host); }

} // namespace zudo::tracks
