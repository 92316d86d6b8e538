// The texture check's questions answered by the game's own ini reader and file
// system, here fakes of them in the replacement host (native build only; the
// Windows build has no game whose routines the test could call).

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "TrackFixture.hpp"
#include "platform/Platform.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "tracks/GameTextureHost.hpp"
#include "util/mem/MsvcLayout.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace zudo::tracks {
namespace {

// A fake of the game's ini reader and file system in the replacement host,
// keeping what the calls passed.
class GameRoutines : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::SimulatedHost& host = sim::SimulatedHost::instance();
        host.reset();
        host.registerAsHost();
        auto text = [](std::uint64_t argument) { return std::string(reinterpret_cast<const char*>(argument)); };
        host.registerRoutine(0x410F80, [this](std::uint32_t self, auto) {
            setUp.insert(self);
            return std::uint64_t{self};
        });
        host.registerRoutine(0x410FF0, [this](std::uint32_t self, auto) {
            released.insert(self);
            return std::uint64_t{0};
        });
        host.registerRoutine(0x4110F0, [this, text](std::uint32_t, std::span<const std::uint64_t> arguments) {
            opened = text(arguments[0]);
            openMode = static_cast<std::int32_t>(arguments[1]);
            return std::uint64_t{1};
        });
        auto lookup = [this, text](std::span<const std::uint64_t> arguments) -> const std::string* {
            const auto found = values.find(text(arguments[0]) + "/" + text(arguments[1]));
            return found == values.end() ? nullptr : &found->second;
        };
        host.registerRoutine(0x4114D0, [lookup](std::uint32_t, std::span<const std::uint64_t> arguments) {
            const std::string* value = lookup(arguments);
            return value != nullptr ? static_cast<std::uint64_t>(std::stoi(*value)) : arguments[2];
        });
        host.registerRoutine(0x411670, [lookup](std::uint32_t, std::span<const std::uint64_t> arguments) {
            const std::string* value = lookup(arguments);
            return value != nullptr ? std::uint64_t{*value == "1"} : arguments[2];
        });
        host.registerRoutine(0x411420, [lookup, text](std::uint32_t, std::span<const std::uint64_t> arguments) {
            const std::string* value = lookup(arguments.subspan(1));
            const util::mem::HostAddress result(static_cast<std::uint32_t>(arguments[0]));
            util::mem::msvc::writeString(result, value != nullptr ? *value : text(arguments[3]),
                                         [](std::uint32_t size) { return sim::SimulatedHost::instance().allocate(size); });
            return arguments[0];
        });
        host.registerNamedRoutine("hostFileExists", [this, text](std::uint32_t, std::span<const std::uint64_t> arguments) {
            asked.push_back(text(arguments[0]));
            return std::uint64_t{asked.back().find("here") != std::string::npos};
        });
    }
    void TearDown() override { util::mem::registerReplacementHost(nullptr); }

    std::map<std::string, std::string> values{{"TextureInfo/NumTextures", "2"},
                                              {"TextureInfo/Texture0", "A texture name longer than fifteen"},
                                              {"Rock/IsGroundTexture", "1"}};
    std::set<std::uint32_t> setUp;
    std::set<std::uint32_t> released;
    std::string opened;
    std::int32_t openMode = 0;
    std::vector<std::string> asked;
};

TEST_F(GameRoutines, TrackIniReadsGoThroughTheGamesReader)
{
    GameTextureHost host;
    {
        const auto ini = host.openIni("Maps\\t_M.ini");
        EXPECT_EQ(setUp.size(), 1u);
        EXPECT_EQ(opened, platform::fullPath("Maps\\t_M.ini").value()) << "opened by its full path";
        EXPECT_EQ(openMode, 2);
        EXPECT_EQ(ini->readInt("TextureInfo", "NumTextures", 0), 2);
        EXPECT_EQ(ini->readInt("TextureInfo", "Missing", -7), -7);
        EXPECT_EQ(ini->readString("TextureInfo", "Texture0", ""), "A texture name longer than fifteen");
        EXPECT_EQ(ini->readString("TextureInfo", "Texture1", "dflt"), "dflt");
        EXPECT_TRUE(ini->readBool("Rock", "IsGroundTexture", false));
        EXPECT_TRUE(ini->readBool("Tree", "IsGroundTexture", true));
        EXPECT_TRUE(released.empty());
    }
    EXPECT_EQ(released, setUp) << "the reader object is released with the reader";
}

TEST_F(GameRoutines, EachFileIsAskedOnce)
{
    GameTextureHost host;
    EXPECT_TRUE(host.fileExists("Maps\\here.dds"));
    EXPECT_TRUE(host.fileExists("maps/HERE.DDS"));
    EXPECT_FALSE(host.fileExists("Maps\\gone.dds"));
    EXPECT_FALSE(host.fileExists("Maps\\gone.dds"));
    EXPECT_EQ(asked, (std::vector<std::string>{"Maps\\here.dds", "Maps\\gone.dds"}));
}

} // namespace
} // namespace zudo::tracks
