#include <gtest/gtest.h>

#include <map>
#include <set>

#include "TrackFixture.hpp"
#include "platform/Platform.hpp"
#include "tracks/GameTextureHost.hpp"
#include "util/mem/MsvcLayout.hpp"


namespace zudo::tracks {
namespace {

TEST(GameTextureHost, WithoutTheGameTheFileSystemAnswers)
{
    test::TrackFixture fixture;
    fixture.writeFile("Maps/T/t_M.ini", "[TextureInfo]\nNumTextures=3\nTexture0=Rock\n[Rock]\nIsGroundTexture=yes\n");
    fixture.writeFile("Maps/T/t_M_textures/dry/Rock.dds");
    fixture.writeFile("Maps/TextureFilenameMap.dat", std::string("1234a") + '\0' + "b");
    GameTextureHost host;
    const auto ini = host.openIni("Maps\\T\\t_M.ini");
    EXPECT_EQ(ini->readInt("textureinfo", "numtextures", 0), 3);
    EXPECT_EQ(ini->readString("TextureInfo", "Texture0", ""), "Rock");
    EXPECT_EQ(ini->readString("TextureInfo", "Texture1", "none"), "none");
    EXPECT_TRUE(ini->readBool("Rock", "IsGroundTexture", false));
    EXPECT_TRUE(host.fileExists("maps/t/T_M_TEXTURES\\DRY\\rock.dds"));
    EXPECT_FALSE(host.fileExists("Maps\\T\\t_M_textures\\wet\\rock.dds"));
    EXPECT_EQ(host.fileSize("Maps/TextureFilenameMap.dat"), 7);
    const SplitPath split = host.splitPath("Maps\\T\\t_M.ini");
    EXPECT_EQ(split.directory, "Maps\\T");
    EXPECT_EQ(split.name, "t_M");
}

} // namespace
} // namespace zudo::tracks
