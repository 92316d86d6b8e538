// The bindings of replays and of the service park: the known ones resolve to
// the game's addresses at its preferred base; the game's service park side is
// bound by name only, never resolved, and unavailable unless the host supplies
// it (neither host of these tests does).

#include <gtest/gtest.h>

#include "support/HostTest.hpp"
#include "util/mem/Bindings.hpp"

namespace {

using zudo::util::mem::HostAddress;
using zudo::util::mem::ZudoExeModule;
namespace bindings = zudo::util::mem::bindings;
namespace mem = zudo::util::mem;

class ServiceBindings : public zudo::test::HostTest {};

TEST_F(ServiceBindings, ReplayAndRepairBindingsResolveToTheGamesAddresses)
{
    ZudoExeModule::instance().assumeLoadedAt(HostAddress(0x00400000));
    struct Case {
        const mem::BindingInfo& binding;
        std::uint32_t address;
    };
    const Case cases[] = {
        {bindings::saveReplay.info, 0x49B030},        {bindings::playReplay.info, 0x499FB0},
        {bindings::replayObject.info, 0x893634},      {bindings::frontEnd.info, 0x165FC48},
        {bindings::gameState.info, 0x165FA90},        {bindings::gameStateSwitchA.info, 0x565430},
        {bindings::gameStateSwitchB.info, 0x5666E0},  {bindings::weatherControl.info, 0x7C36A8},
        {bindings::stageStartRecord.info, 0x16607F8}, {bindings::serviceWidgetTable.info, 0x74C83C},
        {bindings::constructCarDamage.info, 0x4EF410}, {bindings::copyCarDamage.info, 0x4EC470},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.binding.name);
        EXPECT_EQ(mem::resolve(c.binding), HostAddress(c.address));
    }
}

TEST_F(ServiceBindings, TheGamesServiceSideIsBoundByNameAndNotOffered)
{
    ZudoExeModule::instance().assumeLoadedAt(HostAddress(0x00400000));
    const mem::BindingInfo* const serviceSide[] = {
        &bindings::serviceMenuCreate.info,  &bindings::serviceMenuClock.info,
        &bindings::serviceParkShow.info,    &bindings::serviceModeLeave.info,
        &bindings::menuStateReset.info,     &bindings::serviceSelection.info,
        &bindings::setServiceSelection.info, &bindings::serviceValue.info,
        &bindings::setServiceValue.info,    &bindings::setServiceCar.info,
        &bindings::carStateFromDamage.info, &bindings::carStateToDamage.info,
        &bindings::carDamageApply.info,     &bindings::repairWorkCopy.info,
        &bindings::repairWorkCrew.info,     &bindings::repairWorkHandOver.info,
        &bindings::setRepairTime.info,      &bindings::repairTimeLeft.info,
        &bindings::repairUnderWay.info,     &bindings::repairWorkDone.info,
        &bindings::stopService.info,        &bindings::carDirectory.info,
        &bindings::loadRepairIni.info,      &bindings::hostEventOnce.info,
        &bindings::addHostListener.info,
    };
    for (const mem::BindingInfo* binding : serviceSide) {
        SCOPED_TRACE(binding->name);
        EXPECT_FALSE(binding->isKnown());
        EXPECT_TRUE(mem::resolve(*binding).isNull()) << "never an address, even with the game there";
        EXPECT_FALSE(mem::routineAvailable(*binding));
    }
    // Calls are refused without reaching anything.
    EXPECT_EQ(bindings::repairTimeLeft(), std::nullopt);
    EXPECT_FALSE(bindings::stopService());
    EXPECT_EQ(bindings::addHostListener(HostAddress(0x1000)), std::nullopt);
}

} // namespace
