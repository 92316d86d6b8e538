#include <gtest/gtest.h>

#include "platform/Platform.hpp"

namespace {

const char* simulatedExe() { return "/games/zudo/Zoraravi_SSE.exe"; }

TEST(ReplacementHost, RegisteredInterfaceIsFoundAndCanBeRemoved)
{
    EXPECT_EQ(zudo::platform::replacementHost(), nullptr) << "no program exports one here";
    ZudoReplacementHost host{};
    host.version = ZUDO_REPLACEMENT_HOST_VERSION;
    host.executablePath = &simulatedExe;
    zudo::platform::registerReplacementHost(&host);
    EXPECT_EQ(zudo::platform::replacementHost(), &host);
    zudo::platform::registerReplacementHost(nullptr);
    EXPECT_EQ(zudo::platform::replacementHost(), nullptr);
}

} // namespace
