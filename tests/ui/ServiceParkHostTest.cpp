// The service park page with the game's service park there (native build
// only: the replacement host's fakes of the game's damage routines and
// service park): both actions return to the rally dialog at the next frame.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "rally/Rally.hpp"
#include "rally/ServiceManager.hpp"
#include "sim/host/CarDamageFakes.hpp"
#include "sim/host/ServiceParkFakes.hpp"
#include "support/ShellHost.hpp"
#include "ui/ServiceParkDialog.hpp"

namespace {

using namespace zudo::ui;
using zudo::rally::ServiceManager;
using Lines = std::vector<std::string>;

class ServiceParkWithGame : public zudo::test::ShellHostTest {
protected:
    void SetUp() override
    {
        ShellHostTest::SetUp();
        zudo::sim::SimulatedHost& host = zudo::sim::SimulatedHost::instance();
        zudo::sim::registerCarDamageFakes(host, &game);
        park = &zudo::sim::registerServiceParkFakes(host, game);
        ServiceManager::instance().restart();
        install.write("Plugins/Zuzuzevo/Trip.srp", "mechanics 2\nskill 5\nservice 30\nstage 20 A\n");
        trip = std::make_shared<zudo::rally::Rally>("Trip", "Plugins/Zuzuzevo/Trip.srp");
        trip->stage(0)->setDriven(true);
        ServiceManager::instance().setCurrentStage(trip->stage(0));
    }
    void TearDown() override
    {
        ServiceManager::instance().restart(); // gives back what it held in this host
        ShellHostTest::TearDown();
    }

    Dialog* select(Dialog& d) { return d.HandleFrontEndEvents('\0', false, false, false, false, true); }
    Lines hostCalls() const
    {
        Lines lines;
        for (const std::string& call : game.calls()) {
            if (call.rfind("HostCall ", 0) == 0) {
                lines.push_back(call.substr(9));
            }
        }
        return lines;
    }

    zudo::sim::ServicePark* park = nullptr;
    zudo::rally::RallyPtr trip;
    Dialog parent;
};

TEST_F(ServiceParkWithGame, ResetCarDamageReturnsToTheParentAtTheNextFrame)
{
    // A hotlap's dialog reaches the row (a rally's only toggles the first and
    // the last row); its damage record is the manager's own.
    const auto hotlap = std::make_shared<zudo::rally::Rally>(20, 0, 0);
    ServiceManager::instance().setCurrentStage(hotlap->stage(0));
    const zudo::util::mem::HostAddress record = ServiceManager::instance().currentDamageRecord();
    ASSERT_FALSE(record.isNull());
    record.write<std::int32_t>(8, 0x42424242);

    ServiceParkDialog dialog(&parent, hotlap);
    dialog.HandleFrontEndEvents('\0', false, true, false, false, false);
    ASSERT_EQ(dialog.row(), ServiceParkDialog::ResetDamageRow);
    EXPECT_EQ(select(dialog), &dialog);
    EXPECT_EQ(StatusLine::text(), "Car damage has been reset.");
    EXPECT_EQ(record.read<std::uint8_t>(8), zudo::sim::CarDamageFakes::carAsNew);
    EXPECT_EQ(dialog.draw(), &parent) << "the parent is current again at the next frame";
    EXPECT_TRUE(dialog.needsRebuild());

    parent.draw();
    EXPECT_EQ(game.lastFrameTexts(), Lines{"Car damage has been reset."});
}

TEST_F(ServiceParkWithGame, TheServiceParkOpensAndTheServiceEndsWhenThePageIsBack)
{
    park->values = {7, 0};
    ServiceParkDialog dialog(&parent, trip);
    dialog.draw();
    game.clear();
    EXPECT_EQ(select(dialog), &dialog);
    EXPECT_EQ(StatusLine::text(), "Loading 'Service Park' dialog.");
    EXPECT_TRUE(park->shown);
    EXPECT_TRUE(trip->stage(0)->service().used());

    game.clear();
    EXPECT_EQ(dialog.draw(), &parent) << "the game's service park was left";
    EXPECT_EQ(hostCalls(), (Lines{"carStateToDamage", "setServiceValue 0 7", "setServiceValue 1 0"}));
    EXPECT_EQ(dialog.draw(), &dialog) << "drawn again, it shows its page";
}

} // namespace
