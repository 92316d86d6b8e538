#include <gtest/gtest.h>

#include "platform/Platform.hpp"

namespace {

namespace zp = zudo::platform;

const char* simulatedExe() { return "/games/zudo/Zoraravi_SSE.exe"; }
std::uint32_t simulatedTicks() { return 4'000'000'000u; }

// Registers a host for one test and removes it afterwards.
class RegisteredHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        host_.version = ZUDO_REPLACEMENT_HOST_VERSION;
        host_.executablePath = &simulatedExe;
        host_.tickCount = &simulatedTicks;
    }
    void TearDown() override
    {
        zp::registerReplacementHost(nullptr);
        zp::setExecutablePath("");
    }
    ZudoReplacementHost host_{};
};

TEST_F(RegisteredHost, IsFoundAndCanBeRemoved)
{
    EXPECT_EQ(zp::replacementHost(), nullptr) << "no program exports one here";
    zp::registerReplacementHost(&host_);
    EXPECT_EQ(zp::replacementHost(), &host_);
    zp::registerReplacementHost(nullptr);
    EXPECT_EQ(zp::replacementHost(), nullptr);
}

TEST_F(RegisteredHost, AnswersForTheExecutableAndTheTickCount)
{
    const std::string real = zp::executablePath();
    zp::registerReplacementHost(&host_);
    EXPECT_EQ(zp::executablePath(), "/games/zudo/Zoraravi_SSE.exe");
    EXPECT_EQ(zp::tickCount(), 4'000'000'000u);

    zp::setExecutablePath("/elsewhere/Host.exe");
    EXPECT_EQ(zp::executablePath(), "/elsewhere/Host.exe") << "the override comes first";
    zp::setExecutablePath("");
    EXPECT_EQ(zp::executablePath(), "/games/zudo/Zoraravi_SSE.exe");

    host_.executablePath = nullptr;
    host_.tickCount = nullptr;
    EXPECT_EQ(zp::executablePath(), real) << "a host without the answer leaves it to the system";
    EXPECT_NE(zp::tickCount(), 4'000'000'000u);
}

} // namespace
