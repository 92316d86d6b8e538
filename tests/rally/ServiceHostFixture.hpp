#pragma once
// The replacement host with the game's side of replays and of the service
// park (native build only): a rally installation of the test's own, the
// simulator's fakes recording into a game interface, and the replay and
// service managers started afresh for the test.

#include <string>
#include <vector>

#include "RallyFixture.hpp"
#include "rally/ReplayManager.hpp"
#include "rally/ServiceManager.hpp"
#include "sim/host/CarDamageFakes.hpp"
#include "sim/host/HostFakes.hpp"
#include "sim/host/ReplayFakes.hpp"
#include "sim/host/ServiceParkFakes.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "support/RecordingGame.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace zudo::test {

class ServiceHostTest : public RallyTest {
protected:
    void SetUp() override
    {
        RallyTest::SetUp();
        rally::ServiceManager::instance(); // made before: restart() connects it to this host
        host.reset();
        host.registerAsHost();
        sim::registerHostFakes(host, game);
        damage = &sim::registerCarDamageFakes(host, &game);
        replay = &sim::registerReplayFakes(host, game);
        park = &sim::registerServiceParkFakes(host, game);
        rally::ServiceManager::instance().restart();
        rally::ReplayManager::instance().setLastResult(nullptr);
        game.clear();
    }

    void TearDown() override
    {
        // What the managers hold in the game goes back to this host first.
        rally::ServiceManager::instance().restart();
        rally::ReplayManager::instance().setLastResult(nullptr);
        host.reset(); // the fakes refer to this test's recorder
        util::mem::registerReplacementHost(nullptr);
        RallyTest::TearDown();
    }

    sim::SimulatedHost& host = sim::SimulatedHost::instance();
    RecordingGame game;
    sim::CarDamageFakes* damage = nullptr;
    sim::ReplayHost* replay = nullptr;
    sim::ServicePark* park = nullptr;
};

} // namespace zudo::test
