// Resolving fixed host addresses and calling host routines through them.
// Natively the routines are fakes of the replacement host; in the Windows
// build they are real functions of this program, reached by choosing the
// game executable's base so that the binding lands on them.

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "HostFixture.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/GameMode.hpp"
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
#if !ZUDO_HOST_IS_NATIVE
    zudo::platform::registerReplacementHost(nullptr);
#endif
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
// Calls with each convention.

struct Recorded {
    std::uint32_t self = 0;
    std::vector<std::int64_t> arguments;
};
Recorded recorded;

#if ZUDO_HOST_IS_NATIVE

// Real host-style routines: a thiscall member, a cdecl and a stdcall function.
class StageStarter {
public:
    std::int32_t base = 1000;
    ZUDO_NOINLINE std::int32_t ZUDO_THISCALL start(std::int32_t stage, std::int32_t tintSet,
                                                    std::int32_t carSlot, std::int32_t last)
    {
        recorded.self = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(this));
        recorded.arguments = {stage, tintSet, carSlot, last};
        return base + stage;
    }
};

ZUDO_NOINLINE float ZUDO_CDECL measure(const char* text)
{
    recorded.arguments = {static_cast<std::int64_t>(std::strlen(text))};
    return 2.5f * static_cast<float>(std::strlen(text));
}

ZUDO_NOINLINE void ZUDO_STDCALL takeTwo(std::int32_t first, std::int32_t second)
{
    recorded.arguments = {first, second};
}

std::uint32_t addressOfStart()
{
    auto member = &StageStarter::start;
    void* code = nullptr;
    std::memcpy(&code, &member, sizeof code); // a non-virtual member: the code address first
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(code));
}

template <class F>
std::uint32_t addressOf(F* function)
{
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(function));
}

#endif

TEST_F(Binding, MemberRoutineGetsItsObjectAndArgumentsInOrder)
{
#if ZUDO_HOST_IS_NATIVE
    StageStarter starter;
    const HostAddress self = mem::hostAddressOf(&starter);
    // Put the executable where startStage (0x47DEF0) lands on StageStarter::start.
    ZudoExeModule::instance().assumeLoadedAt(HostAddress(addressOfStart() - 0x07DEF0));
    const std::int32_t expected = 1000 + 12;
#else
    const HostAddress self = hostMemory(16);
    zudo::sim::SimulatedHost::instance().registerRoutine(
        0x47DEF0, [](std::uint32_t object, std::span<const std::uint64_t> arguments) {
            recorded.self = object;
            recorded.arguments.clear();
            for (const std::uint64_t argument : arguments) {
                recorded.arguments.push_back(static_cast<std::int64_t>(argument));
            }
            return std::uint64_t{1000} + arguments[0];
        });
    const std::int32_t expected = 1000 + 12;
#endif
    for (int round = 0; round < 100; ++round) { // a wrong stack clean-up would not survive this
        recorded = {};
        ASSERT_EQ(bindings::startStage(self, 12, 3, 5, -1), expected);
    }
    EXPECT_EQ(recorded.self, self.value());
    EXPECT_EQ(recorded.arguments, (std::vector<std::int64_t>{12, 3, 5, -1}));
    EXPECT_TRUE(bindings::startStage.available());

    EXPECT_EQ(bindings::startStage(HostAddress(), 1, 2, 3, 4), std::nullopt)
        << "a member routine without its object is refused";
}

TEST_F(Binding, FreeRoutinesWithTheCAndTheStandardConvention)
{
#if ZUDO_HOST_IS_NATIVE
    const std::uint32_t measureAddress = addressOf(&measure);
    const std::uint32_t takeTwoAddress = addressOf(&takeTwo);
#else
    const std::uint32_t measureAddress = 0x500000;
    const std::uint32_t takeTwoAddress = 0x500010;
    auto& host = zudo::sim::SimulatedHost::instance();
    host.registerRoutine(measureAddress, [](std::uint32_t, std::span<const std::uint64_t> arguments) {
        const auto* text = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(arguments[0]));
        recorded.arguments = {static_cast<std::int64_t>(std::strlen(text))};
        const float width = 2.5f * static_cast<float>(std::strlen(text));
        std::uint32_t bits = 0;
        std::memcpy(&bits, &width, sizeof bits);
        return std::uint64_t{bits};
    });
    host.registerRoutine(takeTwoAddress, [](std::uint32_t, std::span<const std::uint64_t> arguments) {
        recorded.arguments = {static_cast<std::int32_t>(arguments[0]),
                              static_cast<std::int32_t>(arguments[1])};
        return std::uint64_t{0};
    });
#endif
    using mem::CallingConvention;
    for (int round = 0; round < 100; ++round) {
        ASSERT_EQ(mem::callHostRoutine<float>(CallingConvention::Cdecl, HostAddress(measureAddress),
                                              HostAddress(), "four"),
                  10.0f);
        ASSERT_TRUE(mem::callHostRoutine<void>(CallingConvention::Stdcall,
                                               HostAddress(takeTwoAddress), HostAddress(), 7, -8));
    }
    EXPECT_EQ(recorded.arguments, (std::vector<std::int64_t>{7, -8}));
    EXPECT_FALSE(mem::callHostRoutine<void>(CallingConvention::Cdecl, HostAddress(), HostAddress()))
        << "a null routine is refused";
}

TEST_F(Binding, UnknownRoutinesAreOnlyCalledWhereTheHostSuppliesThem)
{
    EXPECT_FALSE(bindings::textWidth.info.isKnown());
    EXPECT_FALSE(bindings::textWidth.available());
    EXPECT_EQ(bindings::textWidth("abc"), std::nullopt);
#if !ZUDO_HOST_IS_NATIVE
    zudo::sim::SimulatedHost::instance().registerNamedRoutine(
        "textWidth", [](std::uint32_t, std::span<const std::uint64_t> arguments) {
            const auto* text = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(arguments[0]));
            const float width = 8.0f * static_cast<float>(std::strlen(text));
            std::uint32_t bits = 0;
            std::memcpy(&bits, &width, sizeof bits);
            return std::uint64_t{bits};
        });
    EXPECT_TRUE(bindings::textWidth.available());
    EXPECT_EQ(bindings::textWidth("abc"), 24.0f);
    EXPECT_FALSE(bindings::setupCheck.available()) << "only the registered name is supplied";
#endif
}

#if !ZUDO_HOST_IS_NATIVE
TEST_F(Binding, NativeAccessOutsideTheHostsMemoryThrows)
{
    for (const std::uint32_t address : {0u, 0x10u, 0x3FFFFCu, 0x017FFFFEu, 0xFFFFFFF0u}) {
        SCOPED_TRACE(address);
        EXPECT_THROW(HostAddress(address).read<std::uint32_t>(), mem::HostAccessError);
        std::uint32_t value = 0;
        EXPECT_FALSE(HostAddress(address).tryReadBytes(0, &value, sizeof value));
    }
    EXPECT_NO_THROW(HostAddress(0x017FFFFCu).read<std::uint32_t>()) << "last word of the image";
    EXPECT_THROW(HostAddress(0x00400000).read<std::uint32_t>(0xFFFFFFFEu), mem::HostAccessError)
        << "an offset that wraps past 4 GiB";
}
#endif

} // namespace
