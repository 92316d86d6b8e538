// Resolving fixed host addresses and calling host routines through them.
// The routines are the test's own, placed where the game has them
// (HostRoutineDouble): inside the game's process really called through a
// jump, against the replacement host called by it.

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "support/HostTest.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/GameMode.hpp"
#include "util/mem/ModuleAddress.hpp"
#include "util/mem/TrackState.hpp"

namespace {

using zudo::util::mem::HostAddress;
using zudo::util::mem::HostModule;
using zudo::util::mem::ZudoExeModule;
namespace bindings = zudo::util::mem::bindings;
namespace mem = zudo::util::mem;

class Binding : public zudo::test::HostTest {};

TEST_F(Binding, ResolvesAtThePreferredBaseAndAtAMovedBase)
{
    struct Case {
        std::uint32_t base;
        std::uint32_t expected;
    };
    for (const Case c : {Case{0x00400000, 0x7EAC48}, Case{0x10000000, 0x103EAC48}}) {
        SCOPED_TRACE(c.base);
        ZudoExeModule::instance().assumeLoadedAt(HostAddress(c.base));
        EXPECT_EQ(mem::resolve(bindings::gameObject.info), HostAddress(c.expected));
        EXPECT_EQ(mem::ExecutableAddress::at(0x7EAC48).offset(), 0x3EAC48u);
        EXPECT_EQ(bindings::surfaceTypeCode.address(), HostAddress(c.base + 0x0A1330));
    }
}

TEST_F(Binding, LibraryAddressesFollowTheGamesLibraryTable)
{
    // An executable image large enough to hold the pointer at 0x894FB8.
    const HostAddress image = hostMemory(0x495000);
    ZudoExeModule::instance().assumeLoadedAt(image);
    const HostAddress table = hostMemory(32);
    image.writeAddress(0x894FB8 - 0x400000, table);
    table.write<std::uint32_t>(20, 0x70000000);
    table.write<std::uint32_t>(28, 0x71230000);

    EXPECT_EQ(mem::VudezAvu3RAddress(0x60001234).address(), HostAddress(0x70001234));
    EXPECT_EQ(mem::ZozuDudeveAddress(0x61000010).address(), HostAddress(0x71230010));
    EXPECT_EQ(mem::VudezAvu3RAddress(0x60000000).moduleName(), "VudezAvu3R.DLL");
    EXPECT_EQ(mem::ZozuDudeveAddress(0x61000000).moduleName(), "ZozuDudeve.DLL");

    image.writeAddress(0x894FB8 - 0x400000, HostAddress());
    EXPECT_TRUE(mem::VudezAvu3RAddress(0x60001234).address().isNull())
        << "no library table, no library address";
}

TEST_F(Binding, WithoutTheGameNothingIsResolvedAndCallsAreRefused)
{
    removeGame();
    ASSERT_FALSE(ZudoExeModule::instance().isAvailable());
    EXPECT_TRUE(mem::resolve(bindings::gameObject.info).isNull());
    EXPECT_TRUE(bindings::gameObject.object().isNull());
    EXPECT_TRUE(bindings::stageStartRecord.address().isNull());
    EXPECT_TRUE(mem::VudezAvu3RAddress(0x60001234).address().isNull());
    EXPECT_FALSE(bindings::startStage.available());
    EXPECT_EQ(bindings::startStage(HostAddress(0x1000), 1, 2, 3, -1), std::nullopt);
    EXPECT_FALSE(bindings::prepareSetupScreen());
    EXPECT_EQ(zudo::gameMode(), zudo::GameMode::Unknown);
    EXPECT_EQ(mem::trackIniValue("TextureInfo", "NumTextures"), "");
    EXPECT_TRUE(mem::trackParameters().isNull());
    EXPECT_FALSE(mem::openSavedGame(HostAddress(0x1000), "x"));
}

TEST_F(Binding, TableHasOneEntryPerNameAndNoUnknownObjects)
{
    std::set<std::string> names;
    for (const mem::BindingInfo* binding : bindings::all()) {
        SCOPED_TRACE(binding->name);
        EXPECT_TRUE(names.insert(binding->name).second) << "name used twice";
        const bool routine = binding->kind == mem::BindingKind::Routine;
        EXPECT_EQ(routine, binding->convention != mem::CallingConvention::None);
        if (!binding->isKnown()) {
            EXPECT_TRUE(routine) << "only routines may be bound by name";
        } else if (binding->module == HostModule::Executable) {
            EXPECT_GE(binding->address, 0x00400000u);
            EXPECT_LT(binding->address, 0x01800000u);
        }
    }
}

// ---------------------------------------------------------------------------
// Calls of member and free routines.

struct Recorded {
    std::uint32_t self = 0;
    std::vector<std::int64_t> arguments;
};
Recorded recorded;

// The game's stage start, a member of the game object: 1000 + the stage.
std::int32_t ZUDO_FASTCALL startStageDouble(std::uint32_t self, std::uint32_t, std::int32_t stage,
                                            std::int32_t tintSet, std::int32_t carSlot, std::int32_t last)
{
    recorded.self = self;
    recorded.arguments = {stage, tintSet, carSlot, last};
    return 1000 + stage;
}

// A free routine of the C convention with a float result: 2.5 per character.
float ZUDO_CDECL measureDouble(const char* text)
{
    recorded.arguments = {static_cast<std::int64_t>(std::strlen(text))};
    return 2.5f * static_cast<float>(std::strlen(text));
}

class Calls : public zudo::test::HostTest {
protected:
    zudo::test::ExecutableImage image;
};

TEST_F(Calls, MemberRoutineGetsItsObjectAndArgumentsInOrder)
{
    ASSERT_TRUE(image.ready());
    const zudo::test::HostRoutineDouble start(0x47DEF0, mem::PluginRoutine::of<&startStageDouble>());
    ASSERT_TRUE(start.placed());
    const HostAddress self = hostMemory(16);
    for (int round = 0; round < 100; ++round) { // a wrong stack clean-up would not survive this
        recorded = {};
        ASSERT_EQ(bindings::startStage(self, 12, 3, 5, -1), 1012);
    }
    EXPECT_EQ(recorded.self, self.value());
    EXPECT_EQ(recorded.arguments, (std::vector<std::int64_t>{12, 3, 5, -1}));
    EXPECT_TRUE(bindings::startStage.available());

    EXPECT_EQ(bindings::startStage(HostAddress(), 1, 2, 3, 4), std::nullopt)
        << "a member routine without its object is refused";
}

TEST_F(Calls, FreeRoutineWithTheCConventionAndAFloatResult)
{
    ASSERT_TRUE(image.ready());
    const zudo::test::HostRoutineDouble measure(0x500000, mem::PluginRoutine::ofFree<&measureDouble>());
    ASSERT_TRUE(measure.placed());
    const HostAddress routine = mem::resolveAddress(HostModule::Executable, 0x500000);
    using mem::CallingConvention;
    for (int round = 0; round < 100; ++round) {
        ASSERT_EQ(mem::callHostRoutine<float>(CallingConvention::Cdecl, routine, HostAddress(), "four"),
                  10.0f);
    }
    EXPECT_EQ(recorded.arguments, (std::vector<std::int64_t>{4}));
    EXPECT_FALSE(mem::callHostRoutine<void>(CallingConvention::Cdecl, HostAddress(), HostAddress()))
        << "a null routine is refused";
}

TEST_F(Binding, UnknownRoutinesAreOnlyCalledWhereTheHostSuppliesThem)
{
    EXPECT_FALSE(bindings::textWidth.info.isKnown());
    EXPECT_FALSE(bindings::textWidth.available());
    EXPECT_EQ(bindings::textWidth("abc"), std::nullopt);
    const bool supplied = zudo::test::supplyNamedRoutine(
        "textWidth", [](std::uint32_t, std::span<const std::uint64_t> arguments) {
            const float width = 8.0f * static_cast<float>(std::strlen(zudo::test::textArgument(arguments[0])));
            return std::uint64_t{std::bit_cast<std::uint32_t>(width)};
        });
    if (!supplied) {
        GTEST_SKIP() << "inside the game a routine without a known address is never called";
    }
    EXPECT_TRUE(bindings::textWidth.available());
    EXPECT_EQ(bindings::textWidth("abc"), 24.0f);
    EXPECT_FALSE(bindings::setupCheck.available()) << "only the registered name is supplied";
}

} // namespace
