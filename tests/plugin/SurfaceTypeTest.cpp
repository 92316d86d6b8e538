// Surface types of maps from Maps\Tracks.ini, and the jump that makes the
// game's own routine answer with them. In the game's process the game's
// routine is really called, through the jump, with the C convention.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plugin/Zuzuzevo.hpp"
#include "support/ShellHost.hpp"
#include "tracks/SurfaceType.hpp"
#include "util/mem/HostCall.hpp"

namespace {

using zudo::tracks::defaultSurfaceType;
using zudo::tracks::mapSurfaceType;
using zudo::tracks::SurfaceTypeHook;
using zudo::util::mem::HostAddress;
namespace mem = zudo::util::mem;

constexpr int gravel = 0;
constexpr int tarmac = 1;
constexpr int snow = 2;
const std::array<std::uint8_t, 5> gameCode{0x55, 0x8B, 0xEC, 0x83, 0xEC}; // push ebp; mov ebp, esp; ...

class SurfaceTypes : public zudo::test::ShellHostTest {
protected:
    void SetUp() override
    {
        ShellHostTest::SetUp();
        previousDirectory = zudo::platform::currentDirectory();
        ASSERT_TRUE(zudo::platform::setCurrentDirectory(install.str()));
        code = mem::bindings::surfaceTypeCode.address();
        ASSERT_FALSE(code.isNull());
        code.writeBytes(0, gameCode.data(), 5);
    }
    void TearDown() override
    {
        zudo::platform::setCurrentDirectory(previousDirectory);
        ShellHostTest::TearDown();
    }

    void writeTracks(const std::string& content) { install.write("Maps/Tracks.ini", content); }

    std::array<std::uint8_t, 5> codeBytes() const
    {
        std::array<std::uint8_t, 5> bytes{};
        code.readBytes(0, bytes.data(), 5);
        return bytes;
    }

    // Calls the game's routine as the game does.
    std::optional<std::int32_t> callGameRoutine(std::int32_t map) const
    {
        return mem::callHostRoutine<std::int32_t>(mem::CallingConvention::Cdecl,
                                                  zudo::test::callableCode(code), HostAddress(), map);
    }

    std::string previousDirectory;
    HostAddress code;
};

TEST_F(SurfaceTypes, DefaultsWithoutTracksIni)
{
    const std::vector<std::pair<int, int>> cases{
        {-1, gravel}, {0, gravel},  {9, gravel},  {10, snow},    {14, snow},   {18, snow},
        {19, gravel}, {40, gravel}, {41, tarmac}, {49, tarmac},  {50, gravel}, {72, gravel},
        {73, tarmac}, {74, gravel}, {84, gravel}, {85, tarmac},  {86, tarmac}, {87, gravel},
    };
    for (const auto& [map, surface] : cases) {
        SCOPED_TRACE("map " + std::to_string(map));
        EXPECT_EQ(defaultSurfaceType(map), surface);
        EXPECT_EQ(mapSurfaceType(map), surface);
    }
}

TEST_F(SurfaceTypes, TracksIniSwapsTarmacAndGravelCodes)
{
    struct Case {
        const char* value;
        int map12; // snow by default
        int map50; // gravel by default
    };
    const std::vector<Case> cases{
        {"0", tarmac, tarmac}, {"1", gravel, gravel}, {"2", snow, snow},
        {"99", snow, gravel},  {"3", snow, gravel},   {"-1", snow, gravel},
        // Like every integer setting, an empty or unreadable value reads as 0.
        {"", tarmac, tarmac},  {"snow", tarmac, tarmac},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("Surface=") + c.value);
        writeTracks(std::string("[Map12]\nSurface=") + c.value + "\n[Map50]\nSurface=" + c.value +
                    "\n");
        EXPECT_EQ(mapSurfaceType(12), c.map12);
        EXPECT_EQ(mapSurfaceType(50), c.map50);
    }
}

TEST_F(SurfaceTypes, SectionsHaveAtLeastTwoDigitsAndTheFileIsReadEveryTime)
{
    writeTracks("[Map5]\nSurface=2\n[Map05]\nSurface=0\n[Map107]\nSurface=2\n");
    EXPECT_EQ(mapSurfaceType(5), tarmac);
    EXPECT_EQ(mapSurfaceType(107), snow);
    writeTracks("[Map05]\nSurface=2\n");
    EXPECT_EQ(mapSurfaceType(5), snow);
    EXPECT_EQ(mapSurfaceType(107), gravel);
}

TEST_F(SurfaceTypes, TheHookMakesTheGamesRoutineAnswerFromTheFile)
{
    writeTracks("[Map12]\nSurface=0\n[Map50]\nSurface=2\n");
    {
        SurfaceTypeHook hook;
        ASSERT_TRUE(hook.install());
        EXPECT_TRUE(hook.isInstalled());
        EXPECT_EQ(codeBytes()[0], 0xE9) << "a relative jump";
        EXPECT_TRUE(hook.install()) << "installing again changes nothing";

        EXPECT_EQ(callGameRoutine(12), tarmac);
        EXPECT_EQ(callGameRoutine(50), snow);
        EXPECT_EQ(callGameRoutine(45), tarmac) << "no value in the file";
        EXPECT_EQ(callGameRoutine(1), gravel);
    }
    EXPECT_EQ(codeBytes(), gameCode) << "the game's bytes are back";
}

TEST_F(SurfaceTypes, HooksShareOneJumpAndTheLastPutsTheGamesBytesBack)
{
    writeTracks("[Map03]\nSurface=2\n");
    auto first = std::make_unique<SurfaceTypeHook>();
    auto second = std::make_unique<SurfaceTypeHook>();
    ASSERT_TRUE(first->install());
    const std::array<std::uint8_t, 5> jump = codeBytes();
    ASSERT_TRUE(second->install());
    EXPECT_EQ(codeBytes(), jump) << "one jump for both";

    first.reset(); // the first plug-in object goes first
    EXPECT_TRUE(second->isInstalled());
    EXPECT_EQ(callGameRoutine(3), snow) << "the second still answers";
    second.reset();
    EXPECT_EQ(codeBytes(), gameCode) << "the game's bytes, not a jump, are back";
}

TEST_F(SurfaceTypes, AJumpOfSomeoneElseIsLeftAlone)
{
    const std::array<std::uint8_t, 5> foreign{0xE9, 0x10, 0x20, 0x30, 0x40};
    code.writeBytes(0, foreign.data(), 5);
    SurfaceTypeHook hook;
    EXPECT_FALSE(hook.install());
    EXPECT_EQ(codeBytes(), foreign);
}

TEST_F(SurfaceTypes, AJumpThatCannotBePutBackStaysWithItsEntry)
{
    writeTracks("[Map03]\nSurface=2\n");
    SurfaceTypeHook hook;
    ASSERT_TRUE(hook.install());
    {
        const zudo::test::UnwritableHostMemory locked(code, 5);
        if (!locked.made()) {
            hook.uninstall();
            GTEST_SKIP() << "inside the game's process the patch lifts the page's protection itself";
        }
        EXPECT_FALSE(hook.uninstall());
        EXPECT_TRUE(hook.isInstalled()) << "the hook still holds the jump";
        EXPECT_EQ(callGameRoutine(3), snow) << "the jump still leads to a live entry";
    }
    EXPECT_TRUE(hook.uninstall()) << "tried again once the code can be written";
    EXPECT_EQ(codeBytes(), gameCode);
}

TEST_F(SurfaceTypes, ThePluginObjectInstallsTheHookForItsLifetime)
{
    writeTracks("[Map03]\nSurface=2\n");
    {
        zudo::plugin::Zuzuzevo plugin(&game);
        EXPECT_TRUE(plugin.surfaceTypesFromFile());
        EXPECT_EQ(callGameRoutine(3), snow);
    }
    EXPECT_EQ(codeBytes(), gameCode);
}

TEST_F(SurfaceTypes, WithoutTheGameNothingIsPatched)
{
    removeGame();
    SurfaceTypeHook hook;
    EXPECT_FALSE(hook.install());
    EXPECT_FALSE(hook.isInstalled());

    zudo::plugin::Zuzuzevo plugin(&game);
    EXPECT_FALSE(plugin.surfaceTypesFromFile());
    plugin.DrawMenuPage();
    EXPECT_EQ(game.lastFrameTexts().front(), "Zuzuzevo") << "the plug-in works all the same";
    EXPECT_EQ(mapSurfaceType(12), snow);
}

} // namespace
