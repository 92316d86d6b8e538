// The replacement host of the native build: what the plug-in finds where the
// game would be (objects at their fixed addresses), its memory, its routine
// fakes, and the time and place it reports through the platform layer.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/Platform.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/GameMode.hpp"
#include "util/mem/TrackState.hpp"
#include "util/mem/ZudoExeModule.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace {

using zudo::sim::SimulatedHost;
using zudo::util::mem::HostAddress;
namespace bindings = zudo::util::mem::bindings;
namespace mem = zudo::util::mem;

class Simulated : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.reset();
        host.registerAsHost();
    }
    void TearDown() override { zudo::util::mem::registerReplacementHost(nullptr); }

    SimulatedHost& host = SimulatedHost::instance();
};

TEST_F(Simulated, ExportsItsInterface)
{
    const ZudoReplacementHost* exported = zudo_replacement_host();
    ASSERT_EQ(exported, host.interface());
    EXPECT_EQ(exported->version, 3u);
    EXPECT_EQ(exported->executableBase, 0x00400000u);
    EXPECT_EQ(mem::ZudoExeModule::instance().module(), HostAddress(0x00400000));
}

TEST_F(Simulated, GameObjectsSitBehindTheFixedPointers)
{
    EXPECT_EQ(zudo::gameMode(), zudo::GameMode::Init) << "zero-filled";
    host.setGameMode(10);
    EXPECT_EQ(zudo::gameMode(), zudo::GameMode::Countdown);

    for (const auto* binding : {&bindings::gameObject, &bindings::trackObject, &bindings::weatherControl,
                                &bindings::gameState, &bindings::stagePreparation,
                                &bindings::replayObject, &bindings::activeSetup}) {
        SCOPED_TRACE(binding->info.name);
        EXPECT_FALSE(binding->object().isNull());
    }
    const HostAddress gameState = bindings::gameState.object();
    EXPECT_FALSE(gameState.readAddress(3224).isNull());
    const HostAddress preparation = bindings::stagePreparation.object();
    EXPECT_EQ(preparation.readAddress(4).read<std::int32_t>(35328), 0);

    EXPECT_EQ(bindings::stageStartRecord.address(), HostAddress(0x16607F8));
    EXPECT_EQ(bindings::stageStartRecord.address().read<std::int32_t>(1700), 0);
    EXPECT_EQ(mem::VudezAvu3RAddress(0x60001234).address(), HostAddress(0x60001234));
    EXPECT_EQ(mem::ZozuDudeveAddress(0x610FFFFC).address().read<std::uint32_t>(), 0u);
}

TEST_F(Simulated, TrackIniValuesOfTheCurrentTrack)
{
    EXPECT_EQ(mem::trackParameters().trackExt(), "");
    host.setTrackIni({{"TextureInfo", {{"NumTextures", "2"}}}});
    EXPECT_EQ(mem::trackIniValue("TextureInfo", "NumTextures"), "2");
}

TEST_F(Simulated, HeapBlocksAreAlignedZeroFilledAndReused)
{
    const HostAddress first = host.allocate(20);
    const HostAddress second = host.allocate(1);
    EXPECT_EQ(first.value() % 16, 0u);
    EXPECT_EQ(second.value(), first.value() + 32) << "20 bytes take two 16-byte units";
    first.write<std::uint32_t>(16, 0xDEADBEEF);
    host.release(first);
    host.release(first); // twice: ignored
    const HostAddress again = host.allocate(32);
    EXPECT_EQ(again, first) << "a released block of the same size is reused";
    EXPECT_EQ(again.read<std::uint32_t>(16), 0u) << "and handed out zero-filled";
    EXPECT_TRUE(host.allocate(SimulatedHost::heapSize).isNull()) << "more than the heap holds";
}

TEST_F(Simulated, ResetForgetsFakesAndMemory)
{
    host.registerRoutine(0x47DEF0, [](std::uint32_t, std::span<const std::uint64_t>) { return 1u; });
    host.registerNamedRoutine("textWidth", [](std::uint32_t, std::span<const std::uint64_t>) { return 1u; });
    HostAddress(0x00500000).write<std::uint32_t>(0, 77);
    host.reset();
    host.registerAsHost();
    bool found = true;
    host.callRoutine(0x47DEF0, 0, {}, found);
    EXPECT_FALSE(found);
    EXPECT_FALSE(host.hasNamedRoutine("textWidth"));
    EXPECT_EQ(HostAddress(0x00500000).read<std::uint32_t>(), 0u);
}

std::uint64_t echoRoutine(void* context, std::uint32_t self, const std::uint64_t* arguments,
                          std::uint32_t count)
{
    return *static_cast<std::uint64_t*>(context) + self + (count > 0 ? arguments[0] : 0);
}

TEST_F(Simulated, PluginRoutinesGetAddressesUntilTheyAreGivenBack)
{
    std::uint64_t context = 1000;
    const std::uint32_t address = host.registerPluginRoutine(&echoRoutine, &context);
    EXPECT_GE(address, SimulatedHost::pluginRoutineStart);
    const std::uint64_t argument = 5;
    bool found = false;
    EXPECT_EQ(host.callRoutine(address, 20, {&argument, 1}, found), 1025u);
    EXPECT_TRUE(found);
    EXPECT_NE(host.registerPluginRoutine(&echoRoutine, &context), address);
    host.unregisterPluginRoutine(address);
    host.callRoutine(address, 20, {&argument, 1}, found);
    EXPECT_FALSE(found);
}

TEST_F(Simulated, TickCountAndExecutablePathReachThePlatformLayer)
{
    host.setTickCount(4000);
    host.advanceTickCount(250);
    EXPECT_EQ(zudo::platform::tickCount(), 4250u);

    host.setExecutablePath("/games/zudo/Zoraravi_SSE.exe");
    EXPECT_EQ(zudo::platform::executablePath(), "/games/zudo/Zoraravi_SSE.exe");
    EXPECT_EQ(host.installDirectory(), "/games/zudo/");
    host.setExecutablePath("");
}

} // namespace
