#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "platform/Platform.hpp"
#include "rally/HostResults.hpp"
#include "support/GameResultsFile.hpp"
#include "support/Installation.hpp"

using zudo::rally::HostResult;
using zudo::rally::HostResults;

namespace {

// One record laid out as the game writes it, with garbage where the reader
// looks at nothing.
std::string record(std::int32_t stage, std::int32_t car, float split1, float split2, float finish,
                   const std::string& driver)
{
    return zudo::test::gameResultRecord(stage, car, split1, split2, finish, driver, '\x7F');
}

const std::string header = zudo::test::gameResultsHeader('\x55');

HostResults readBytes(const std::string& bytes)
{
    HostResults results;
    std::istringstream in(bytes);
    results.read(in);
    return results;
}

} // namespace

TEST(HostResults, RecordsAreReadUntilStageZero)
{
    const std::string bytes = header + record(23, 3, 30.5F, 61.25F, 95.125F, "Driver One") +
                              record(41, 9, 1, 2, 3, "Second") + record(23, 1, 9, 9, 9, "Later") +
                              record(0, 0, 0, 0, 0, "") + record(50, 0, 1, 2, 3, "Never");
    const HostResults results = readBytes(bytes);
    ASSERT_EQ(results.size(), 2U);
    const HostResult* first = results.find(23);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->carSlot, 3);
    EXPECT_EQ(first->split1, 30.5F);
    EXPECT_EQ(first->split2, 61.25F);
    EXPECT_EQ(first->finish, 95.125F);
    EXPECT_EQ(first->driver, "Driver One"); // the first record of a stage counts
    ASSERT_NE(results.find(41), nullptr);
    EXPECT_EQ(results.find(41)->carSlot, 9);
    EXPECT_EQ(results.find(50), nullptr);
}

TEST(HostResults, ADriverNameWithoutItsNulCountsNineteenCharacters)
{
    const HostResults results = readBytes(header + record(10, 0, 1, 2, 3, "ABCDEFGHIJKLMNOPQRSTUVW"));
    ASSERT_NE(results.find(10), nullptr);
    EXPECT_EQ(results.find(10)->driver, "ABCDEFGHIJKLMNOPQRS");
}

TEST(HostResults, ShortFilesGiveTheWholeRecordsBeforeTheirEnd)
{
    const std::string two = header + record(11, 0, 1, 2, 3, "a") + record(12, 0, 1, 2, 3, "b");
    EXPECT_EQ(readBytes("").size(), 0U);
    EXPECT_EQ(readBytes(header.substr(0, 7)).size(), 0U);
    EXPECT_EQ(readBytes(header).size(), 0U);
    EXPECT_EQ(readBytes(two).size(), 2U);
    EXPECT_EQ(readBytes(two.substr(0, two.size() - 1)).size(), 1U);
    EXPECT_EQ(readBytes(two.substr(0, 12 + 52 + 4)).size(), 1U);

    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> length(0, 2000);
    for (int round = 0; round < 500; ++round) {
        std::string garbage(length(random), '\0');
        for (char& c : garbage) {
            c = static_cast<char>(byte(random));
        }
        const HostResults results = readBytes(garbage);
        EXPECT_LE(results.size(), garbage.size() / 52);
    }
}

TEST(HostResults, ReloadReadsTheHostsFileAndEmptiesWithoutIt)
{
    const zudo::test::Installation host;
    HostResults results;
    host.write("SavedGames/pfresult.rst", header + record(61, 2, 1, 2, 3, "X"));
    EXPECT_TRUE(results.reload());
    EXPECT_EQ(results.size(), 1U);

    std::filesystem::remove(host.path() / "SavedGames" / "pfresult.rst");
    EXPECT_FALSE(results.reload());
    EXPECT_EQ(results.size(), 0U);
}
