// The replacement host as the host access layer finds it, and the platform
// layer answering for the host's process from it.

#include <gtest/gtest.h>

#include "platform/Platform.hpp"
#include "util/mem/HostAddress.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace {

namespace zp = zudo::platform;
namespace mem = zudo::util::mem;

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
        mem::registerReplacementHost(nullptr);
        zp::setExecutablePath("");
    }
    ZudoReplacementHost host_{};
};

TEST_F(RegisteredHost, IsFoundAndCanBeRemoved)
{
    EXPECT_EQ(mem::replacementHost(), nullptr) << "no program exports one here";
    mem::registerReplacementHost(&host_);
    EXPECT_EQ(mem::replacementHost(), &host_);
    mem::registerReplacementHost(nullptr);
    EXPECT_EQ(mem::replacementHost(), nullptr);
}

TEST_F(RegisteredHost, AnswersForTheExecutableAndTheTickCount)
{
    const std::string real = zp::executablePath();
    mem::registerReplacementHost(&host_);
    EXPECT_EQ(zp::executablePath(), "/games/zudo/Zoraravi_SSE.exe");
    EXPECT_EQ(zp::tickCount(), 4'000'000'000u);

    zp::setExecutablePath("/elsewhere/Host.exe");
    EXPECT_EQ(zp::executablePath(), "/elsewhere/Host.exe") << "the override comes first";
    zp::setExecutablePath("");
    EXPECT_EQ(zp::executablePath(), "/games/zudo/Zoraravi_SSE.exe");

    host_.executablePath = nullptr;
    host_.tickCount = nullptr;
    mem::registerReplacementHost(&host_);
    EXPECT_EQ(zp::executablePath(), real) << "a host without the answer leaves it to the system";
    EXPECT_NE(zp::tickCount(), 4'000'000'000u);
}

TEST_F(RegisteredHost, RemovedHostNoLongerAnswers)
{
    mem::registerReplacementHost(&host_);
    mem::registerReplacementHost(nullptr);
    EXPECT_NE(zp::executablePath(), "/games/zudo/Zoraravi_SSE.exe");
    EXPECT_NE(zp::tickCount(), 4'000'000'000u);
}

TEST_F(RegisteredHost, OutsideItsMemoryEveryAccessThrows)
{
    for (const std::uint32_t address : {0u, 0x10u, 0xFFFFFFF0u}) {
        SCOPED_TRACE(address);
        EXPECT_THROW(mem::HostAddress(address).read<std::uint32_t>(), mem::HostAccessError);
        std::uint32_t value = 0;
        EXPECT_FALSE(mem::HostAddress(address).tryReadBytes(0, &value, sizeof value));
    }
}

} // namespace
