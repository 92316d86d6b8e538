// The game mode, the track parameter block and its ini values, and the
// saved-game open routine, read from host objects the test lays out itself
// inside an executable image placed in host memory.

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/HostTest.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/GameMode.hpp"
#include "util/mem/TrackState.hpp"

namespace {

using zudo::GameMode;
using zudo::util::mem::HostAddress;
using zudo::util::mem::ZudoExeModule;
namespace mem = zudo::util::mem;
namespace msvc = zudo::util::mem::msvc;

class HostState : public zudo::test::HostTest {
protected:
    // An executable image up to the track object's pointer (0x7EAC48 is the
    // highest address used here), placed at a base of the test's choosing.
    void SetUp() override
    {
        HostTest::SetUp();
        image = hostMemory(0x7EAC48 - 0x400000 + 4);
        ZudoExeModule::instance().assumeLoadedAt(image);
    }

    HostAddress at(std::uint32_t hostAddress) const { return image + (hostAddress - 0x400000); }

    void setGameMode(std::int32_t mode)
    {
        if (game.isNull()) {
            game = hostMemory(0x800);
            at(0x7EAC48).writeAddress(0, game);
        }
        game.write<std::int32_t>(0x728, mode);
    }

    // Track object -> parameter block -> ini handler -> values record.
    HostAddress makeTrack()
    {
        const HostAddress track = hostMemory(0x100);
        at(0x7EA678).writeAddress(0, track);
        const HostAddress parameters = hostMemory(0x148);
        track.writeAddress(0x70, parameters);
        return parameters;
    }

    HostAddress makeIniRecord(std::int32_t mode, const std::string& fileName, std::int32_t fileMode,
                              bool readOnly,
                              const std::map<std::string, std::map<std::string, std::string>>& ini)
    {
        const HostAddress record = hostMemory(52);
        record.write<std::int32_t>(0, mode);
        std::vector<msvc::MapEntry> sections;
        for (const auto& [section, keys] : ini) {
            sections.push_back({[this, name = section, values = keys](HostAddress value) {
                msvc::writeString(value, name, allocator());
                msvc::writeStringMap(value + 28, {values.begin(), values.end()}, allocator());
            }});
        }
        msvc::writeMap(record + 4, 28 + 12, sections, allocator());
        msvc::writeString(record + 16, fileName, allocator());
        record.write<std::int32_t>(44, fileMode);
        record.write<std::int32_t>(48, readOnly ? 1 : 0);
        return record;
    }

    HostAddress image;
    HostAddress game;
};

TEST_F(HostState, GameModeNames)
{
    const std::vector<std::pair<std::int32_t, std::string>> names{
        {0, "INIT"},       {1, "GAME"},           {2, "PAUSE"},
        {3, "MENU"},       {4, "DEMO"},           {5, "LOADING"},
        {6, "INIT_FRONT_END"}, {7, "PC_DEV"},     {8, "REPLAY"},
        {9, "END_RACE"},   {10, "COUNTDOWN"},     {11, "INVALID"},
        {12, "LOADING_FRONTEND"}, {13, "INITIALIZE_TRACK"}, {14, "LOADING_CUTSCENE"},
        {15, "CUTSCENE"},  {16, "DONE"},          {17, "INVALID"},
        {-1, "INVALID"},   {1000, "INVALID"},     {INT32_MIN, "INVALID"},
    };
    for (const auto& [mode, name] : names) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(zudo::gameModeName(mode), name);
    }
    EXPECT_EQ(zudo::gameModeName(GameMode::Countdown), "COUNTDOWN");
    EXPECT_EQ(zudo::gameModeName(GameMode::Unknown), "INVALID");
}

TEST_F(HostState, GameModeIsReadFromTheGameObjectEachTime)
{
    EXPECT_EQ(zudo::gameMode(), GameMode::Unknown) << "the host holds no game object yet";
    setGameMode(10);
    EXPECT_EQ(zudo::gameMode(), GameMode::Countdown);
    setGameMode(2);
    EXPECT_EQ(zudo::gameMode(), GameMode::Pause);
}

TEST_F(HostState, TrackIniValuesAndMissingSectionsOrKeys)
{
    const HostAddress parameters = makeTrack();
    const HostAddress handler = hostMemory(8);
    parameters.writeAddress(0x2C, handler);
    handler.writeAddress(0, makeIniRecord(2, "Maps/track.ini", 1, false,
                                          {{"TextureInfo", {{"NumTextures", "3"}, {"Texture0", "road"}}},
                                           {"Texture", {{"NumTextures", "99"}}},
                                           {"road", {{"IsGroundTexture", "1"}}}}));

    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    for (const Case c : {Case{"TextureInfo", "NumTextures", "3"}, Case{"TextureInfo", "Texture0", "road"},
                         Case{"road", "IsGroundTexture", "1"}, Case{"Texture", "NumTextures", "99"},
                         Case{"TextureInfo", "Texture1", ""}, Case{"TextureInfo", "numtextures", ""},
                         Case{"Missing", "NumTextures", ""}, Case{"", "", ""}}) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(mem::trackIniValue(c.section, c.key), c.value);
    }
}

TEST_F(HostState, TrackWithoutIniHandlerHasNoValues)
{
    makeTrack();
    EXPECT_EQ(mem::trackIniValue("TextureInfo", "NumTextures"), "");
}

TEST_F(HostState, ParameterBlockFieldsAndDiagnosticText)
{
    const HostAddress parameters = makeTrack();
    parameters.write<std::int32_t>(0x10, 4);
    parameters.write<std::int32_t>(0x1C, 2);
    parameters.write<std::int32_t>(0x20, 17);
    parameters.write<std::int32_t>(0x24, -1);
    const std::vector<std::pair<std::uint32_t, std::string>> strings{
        {0x30, ".trk"},  {0x4C, ".phy"},       {0x68, ".col"},   {0x84, ".dln"},
        {0xA0, ".mat"},  {0xBC, ".bwl"},       {0xD8, ".scr"},   {0xF4, ".fnc"},
        {0x110, "Maps/clouds_M_with_a_long_name.dds"}, {0x12C, "sky.dds"}};
    for (const auto& [offset, text] : strings) {
        msvc::writeString(parameters + offset, text, allocator());
    }
    const HostAddress handler = hostMemory(8);
    parameters.writeAddress(0x2C, handler);
    handler.writeAddress(0, makeIniRecord(2, "Maps/track.ini", 1, true, {}));
    handler.writeAddress(4, makeIniRecord(0, "", 0, false, {}));

    const mem::TrackParameters block = mem::trackParameters();
    ASSERT_EQ(block.address(), parameters);
    EXPECT_EQ(block.phase(), 4);
    EXPECT_EQ(block.carIndex(), 2);
    EXPECT_EQ(block.stage(), 17);
    EXPECT_EQ(block.tintSet(), -1);
    EXPECT_EQ(block.trackIniHandler(), handler);
    EXPECT_EQ(block.driveLineExt(), ".dln");
    EXPECT_EQ(block.cloudsFilename(), "Maps/clouds_M_with_a_long_name.dds");
    EXPECT_EQ(block.skyBoxesFilename(), "sky.dds");

    EXPECT_EQ(block.describe(),
              "  phase = 4  carIndex = 2  stage = 17  tintSet = -1"
              "  trackExt = .trk  physicsExt = .phy  collisionExt = .col  driveLineExt = .dln"
              "  materialExt = .mat  brakeWallExt = .bwl  scriptExt = .scr  fenceDataExt = .fnc"
              "  cloudsFilename = Maps/clouds_M_with_a_long_name.dds  skyBoxesFilename = sky.dds"
              "  trackIniHandler: \n"
              "backup:  mode = 0  fileName =   fileMode = 0  isFileIsReadOnly = 0\n"
              "values:  mode = 2  fileName = Maps/track.ini  fileMode = 1  isFileIsReadOnly = 1\n");
}

// ---------------------------------------------------------------------------

std::string openedName;
std::int32_t openResult = 0;

// The game's routine that opens a saved game, a member of a file object.
std::int32_t ZUDO_FASTCALL savedGameOpenDouble(std::uint32_t, std::uint32_t, const char* name)
{
    openedName = name;
    return openResult;
}

class SavedGame : public zudo::test::HostTest {
protected:
    zudo::test::ExecutableImage image;
};

TEST_F(SavedGame, OpenIsTrueExactlyWhenTheHostAnswersOne)
{
    ASSERT_TRUE(image.ready());
    const zudo::test::HostRoutineDouble open(mem::bindings::savedGameOpen.info.address,
                                             mem::PluginRoutine::of<&savedGameOpenDouble>());
    ASSERT_TRUE(open.placed());
    const HostAddress object = hostMemory(16);
    const auto answer = [](std::int32_t result) { openResult = result; };
    for (const auto& [hostResult, opened] :
         std::vector<std::pair<std::int32_t, bool>>{{1, true}, {0, false}, {2, false}, {-1, false}}) {
        SCOPED_TRACE(hostResult);
        answer(hostResult);
        openedName.clear();
        EXPECT_EQ(mem::openSavedGame(object, "slot3.sav"), opened);
        EXPECT_EQ(openedName, "slot3.sav");
    }
}

} // namespace
