// Maps/TextureFilenameMap.dat: the pairs read from the file's bytes, read
// again through the texture host from the file, and every source translated.

#include "FuzzCheck.hpp"
#include "FuzzSupport.hpp"
#include "tracks/FileSystemTextureHost.hpp"
#include "tracks/TextureFilenameMap.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const zudo::tracks::TextureFilenameMap map(bytes);
    for (const auto& [source, target] : map.pairs()) {
        ZUDO_FUZZ_CHECK(map.translate(source) == target);
    }
    map.translate(bytes);

    zudo::fuzz::ScratchInstallation::instance().write(zudo::tracks::TextureFilenameMap::fileName, bytes);
    zudo::tracks::FileSystemTextureHost host;
    const zudo::tracks::TextureFilenameMap loaded = zudo::tracks::TextureFilenameMap::load(host);
    ZUDO_FUZZ_CHECK(loaded.pairs() == map.pairs() || size <= 4);
    return 0;
}
