// The simulated game's service park as a plug-in reaches it through the
// bindings by name: host events with one-shot handlers and listeners, the
// service menu and its clock, the repair state, and the traces of the calls.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.hpp"
#include "sim/host/ServiceParkFakes.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "sim/record/Trace.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/MemoryPatch.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace {

using namespace zudo::sim;
namespace bindings = zudo::util::mem::bindings;
using zudo::util::mem::HostAddress;
using Lines = std::vector<std::string>;

// What the "plug-in" routines of these tests saw.
std::vector<std::string> seen;

std::uint64_t handler(void* name, std::uint32_t self, const std::uint64_t* arguments, std::uint32_t count)
{
    std::string line = static_cast<const char*>(name);
    line += " self " + std::to_string(self);
    for (std::uint32_t i = 0; i < count; ++i) {
        line += ' ' + std::to_string(static_cast<std::int32_t>(arguments[i]));
    }
    seen.push_back(line);
    return 5;
}

class SimulatedServicePark : public ::testing::Test {
protected:
    void SetUp() override
    {
        seen.clear();
        host.reset();
        host.registerAsHost();
        park = &registerServiceParkFakes(host, game);
    }
    void TearDown() override
    {
        host.reset();
        zudo::util::mem::registerReplacementHost(nullptr);
    }
    HostAddress routine(const char* name)
    {
        return HostAddress(host.registerPluginRoutine(&handler, const_cast<char*>(name)));
    }
    Lines traceLines() const
    {
        Lines result;
        for (const RecordedCall& call : game.log().calls()) {
            result.emplace_back();
            appendCall(result.back(), game.log(), call);
        }
        return result;
    }

    SimulatedHost& host = SimulatedHost::instance();
    GameRecorder game;
    ServicePark* park = nullptr;
};

TEST_F(SimulatedServicePark, OneShotHandlersRunOnceBeforeTheListeners)
{
    EXPECT_FALSE(park->raise(24, 1)) << "nothing registered";
    ASSERT_EQ(bindings::addHostListener(routine("listener")), true);
    ASSERT_EQ(bindings::hostEventOnce(24, routine("once 24")), true);
    ASSERT_EQ(bindings::hostEventOnce(39, routine("once 39")), true);

    EXPECT_TRUE(park->raise(24, 9));
    EXPECT_TRUE(park->raise(24, 6));
    EXPECT_TRUE(park->raise(39, -1));
    EXPECT_EQ(seen, (Lines{"once 24 self 0 9", "listener self 0 9", "listener self 0 6",
                           "once 39 self 0 -1", "listener self 0 -1"}));
    EXPECT_EQ(traceLines(), (Lines{"HostCall addHostListener", "HostCall hostEventOnce 24",
                                   "HostCall hostEventOnce 39"}));
}

TEST_F(SimulatedServicePark, TheMenuRunsTheActionAndTheClockDrawsThroughSlotEight)
{
    EXPECT_FALSE(park->frame(1.0F)) << "no menu yet";
    EXPECT_FALSE(park->selectMenuItem().has_value());
    const HostAddress page =
        bindings::serviceMenuCreate("new_main", routine("action"), 50, 49, 2320, 400).value_or(HostAddress());
    ASSERT_FALSE(page.isNull());
    const HostAddress clock = bindings::serviceMenuClock(page).value_or(HostAddress());
    ASSERT_FALSE(clock.isNull());
    EXPECT_EQ(clock.readAddress(), bindings::serviceWidgetTable.address());
    EXPECT_EQ(park->selectMenuItem(), 5);

    bindings::setRepairTime(60.0F);
    EXPECT_TRUE(park->frame(0.5F)) << "the game's own frame";
    EXPECT_EQ(bindings::repairTimeLeft(), 59.5F);

    zudo::util::mem::VTableClone table(clock, ServicePark::clockTableSlots);
    const HostAddress own = table.replace(8 * 4, routine("frame"));
    EXPECT_EQ(own, HostAddress(ServicePark::clockFrameRoutine));
    ASSERT_TRUE(table.install());
    EXPECT_TRUE(park->frame(0.25F));
    EXPECT_EQ(seen.back(), "frame self " + std::to_string(clock.value()) + " 1048576000") << "0.25f's bits";
    EXPECT_EQ(bindings::repairTimeLeft(), 59.5F) << "the replacement did not pass it on";

    EXPECT_EQ(traceLines(), (Lines{"HostCall serviceMenuCreate 50 49 2320 400 \"new_main\"",
                                   "HostCall serviceMenuClock", "HostCall setRepairTime 60000",
                                   "HostCall serviceClockFrame 500", "HostCall repairTimeLeft",
                                   "HostCall repairTimeLeft"}));
}

TEST_F(SimulatedServicePark, ARepairWorksForTheSecondsTheScriptAsksFor)
{
    host.objects().game.write<std::int32_t>(ServicePark::repairWorkOffset, 2);
    const HostAddress page =
        bindings::serviceMenuCreate("new_main", routine("action"), 0, 0, 0, 0).value_or(HostAddress());
    bindings::serviceMenuClock(page);
    EXPECT_EQ(bindings::repairUnderWay(), false);
    EXPECT_EQ(bindings::loadRepairIni("Cars\\Car01\\repair.ini"), 0);
    EXPECT_EQ(bindings::repairUnderWay(), true);
    EXPECT_EQ(bindings::repairWorkDone(), false);
    park->frame(1.5F);
    EXPECT_EQ(bindings::repairWorkDone(), false);
    park->frame(0.5F);
    EXPECT_EQ(bindings::repairWorkDone(), true);
    bindings::stopService();
    EXPECT_EQ(bindings::repairUnderWay(), false);
    EXPECT_EQ(bindings::repairWorkDone(), false);

    park->loadError = 3;
    EXPECT_EQ(bindings::loadRepairIni("x"), 3);
    EXPECT_EQ(bindings::repairUnderWay(), false) << "a failed load starts nothing";
    const Lines trace = traceLines();
    EXPECT_EQ(trace[trace.size() - 2], "HostCall loadRepairIni \"x\"");
}

} // namespace
