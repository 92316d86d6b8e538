// The rally's car damage against the replacement host's fakes of the host's
// damage routines (native build only: see sim/host/CarDamageFakes.hpp).

#include <cstring>

#include "DamageFixture.hpp"

using zudo::rally::Rally;
using zudo::rally::RallyPtr;
using zudo::sim::CarDamageFakes;
using zudo::test::damage;
using zudo::util::mem::HostAddress;

namespace {

const char* const twoStages = "stage 20 A\nstage 21 B\n";

std::uint8_t byteAt(HostAddress record, std::uint32_t offset)
{
    return record.read<std::uint8_t>(offset);
}

} // namespace

using RallyDamage = zudo::test::RallyDamageTest;

TEST_F(RallyDamage, SavedWithProgressAndCopiedBackOnLoad)
{
    const RallyPtr rally = rallyFrom(twoStages, "Trip.srp");
    EXPECT_FALSE(rally->hasRallyDamage());
    const HostAddress record = rally->rallyDamage();
    ASSERT_FALSE(record.isNull());
    EXPECT_EQ(rally->rallyDamage(), record); // made once
    damage(record, 0x42);
    ASSERT_TRUE(rally->saveProgress());
    const std::string saved = pluginFile("Trip.dmg");
    ASSERT_EQ(saved.size(), Rally::damageRecordSize);
    EXPECT_EQ(static_cast<std::uint8_t>(saved[4]), 0x42);
    EXPECT_EQ(static_cast<std::uint8_t>(saved.back()), 0x42);

    const RallyPtr fresh = rallyFrom(twoStages, "Trip.srp");
    ASSERT_TRUE(fresh->loadProgress());
    const HostAddress loaded = fresh->rallyDamage();
    EXPECT_NE(loaded, record);
    EXPECT_EQ(byteAt(loaded, 4), 0x42);
    EXPECT_EQ(byteAt(loaded, Rally::damageRecordSize - 1), 0x42);
    EXPECT_EQ(fakes->copied, 1);
    EXPECT_EQ(fakes->constructed, 3); // two records and the scratch copy

    fresh->resetAll();
    EXPECT_EQ(byteAt(loaded, 100), CarDamageFakes::carAsNew);
}

TEST_F(RallyDamage, AShortDamageFileLeavesTheDamageAsItWas)
{
    const RallyPtr rally = rallyFrom(twoStages, "Trip.srp");
    ASSERT_TRUE(rally->saveProgress()); // no damage record yet: no damage file
    EXPECT_FALSE(std::filesystem::exists(host.path() / "Plugins/Zuzuzevo/Trip.dmg"));
    host.write("Plugins/Zuzuzevo/Trip.dmg", std::string(Rally::damageRecordSize - 1, '\x55'));
    const HostAddress record = rally->rallyDamage();
    damage(record, 0x33);
    EXPECT_TRUE(rally->loadProgress());
    EXPECT_EQ(rally->rallyDamage(), record);
    EXPECT_EQ(byteAt(record, 4), 0x33);
    EXPECT_EQ(fakes->copied, 0);
}
