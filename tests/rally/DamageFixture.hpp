#pragma once
// A rally test with the replacement host's fakes of the host's car damage
// routines registered (native build only: see sim/host/CarDamageFakes.hpp).

#include <cstdint>
#include <string>

#include "RallyFixture.hpp"
#include "sim/host/CarDamageFakes.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace zudo::test {

// Damages a car: every byte of the record after its table word set to value.
inline void damage(util::mem::HostAddress record, std::uint8_t value)
{
    std::string bytes(rally::Rally::damageRecordSize - 4, static_cast<char>(value));
    record.writeBytes(4, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

class RallyDamageTest : public RallyTest {
protected:
    void SetUp() override
    {
        RallyTest::SetUp();
        sim::SimulatedHost::instance().reset();
        sim::SimulatedHost::instance().registerAsHost();
        fakes = &sim::registerCarDamageFakes(sim::SimulatedHost::instance());
    }
    void TearDown() override
    {
        util::mem::registerReplacementHost(nullptr);
        RallyTest::TearDown();
    }
    sim::CarDamageFakes* fakes = nullptr;
};

} // namespace zudo::test
