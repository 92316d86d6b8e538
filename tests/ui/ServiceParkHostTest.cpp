// The service park page with the game's service park there (native build
// only: the replacement host's fakes of the game's damage routines and
// service park): both actions return to the rally dialog at the next frame.

#include <gtest/gtest.h>

#include <memory>

#include "ServiceParkFixture.hpp"
#include "sim/host/CarDamageFakes.hpp"
#include "sim/host/ServiceParkFakes.hpp"
#include "ui/ServiceParkDialog.hpp"

namespace {

using namespace zudo::ui;
using zudo::rally::ServiceManager;

class ServiceParkWithGame : public zudo::test::ServiceParkTest {
protected:
    void setUpGame() override
    {
        zudo::sim::SimulatedHost& host = zudo::sim::SimulatedHost::instance();
        zudo::sim::registerCarDamageFakes(host, &game);
        park = &zudo::sim::registerServiceParkFakes(host, game);
    }
    void SetUp() override
    {
        ServiceParkTest::SetUp();
        trip = rally();
        trip->stage(0)->setDriven(true);
    }

    zudo::sim::ServicePark* park = nullptr;
    zudo::rally::RallyPtr trip;
};

TEST_F(ServiceParkWithGame, ResetCarDamageReturnsToTheParentAtTheNextFrame)
{
    // A hotlap's dialog reaches the row (a rally's only toggles the first and
    // the last row); its damage record is the manager's own.
    const auto lap = hotlap();
    const zudo::util::mem::HostAddress record = ServiceManager::instance().currentDamageRecord();
    ASSERT_FALSE(record.isNull());
    record.write<std::int32_t>(8, 0x42424242);

    ServiceParkDialog dialog(&parent, lap);
    down(dialog);
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
    EXPECT_EQ(game.hostCalls(), (Lines{"carStateToDamage", "setServiceValue 0 7", "setServiceValue 1 0"}));
    EXPECT_EQ(dialog.draw(), &dialog) << "drawn again, it shows its page";
}

} // namespace
