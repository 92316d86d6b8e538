// A program standing in for the game's process answers for its executable
// and tick count in place of the operating system.

#include <gtest/gtest.h>

#include "platform/Platform.hpp"

namespace {

namespace zp = zudo::platform;

const char* hostExe() { return "/games/zudo/Zoraravi_SSE.exe"; }
const char* noExe() { return ""; }
std::uint32_t hostTicks() { return 4'000'000'000u; }

class Overrides : public ::testing::Test {
protected:
    void TearDown() override
    {
        zp::setExecutablePath("");
        zp::setExecutablePathSource(nullptr);
        zp::setTickSource(nullptr);
    }
};

TEST_F(Overrides, PathFirstThenSourceThenTheSystem)
{
    const std::string real = zp::executablePath();
    zp::setExecutablePathSource(&hostExe);
    EXPECT_EQ(zp::executablePath(), "/games/zudo/Zoraravi_SSE.exe");
    zp::setExecutablePath("/elsewhere/Host.exe");
    EXPECT_EQ(zp::executablePath(), "/elsewhere/Host.exe");
    zp::setExecutablePath("");
    zp::setExecutablePathSource(&noExe);
    EXPECT_EQ(zp::executablePath(), real) << "an empty answer leaves it to the system";
    zp::setExecutablePathSource(nullptr);
    EXPECT_EQ(zp::executablePath(), real);
}

TEST_F(Overrides, TickSource)
{
    zp::setTickSource(&hostTicks);
    EXPECT_EQ(zp::tickCount(), 4'000'000'000u);
    zp::setTickSource(nullptr);
    EXPECT_NE(zp::tickCount(), 4'000'000'000u);
}

} // namespace
