// The game executable inside the game's process: the test program stands in
// for the game, under a name that is not the setting's.

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/Platform.hpp"
#include "util/mem/ZudoExeModule.hpp"

namespace {

namespace mem = zudo::util::mem;
using mem::ZudoExeModule;

class GameModule : public ::testing::Test {
protected:
    void TearDown() override { ZudoExeModule::detachFromHost(); }
};

TEST_F(GameModule, AttachedTheRunningProcessIsTheGameWhateverItsName)
{
    ASSERT_NE(ZudoExeModule::exeName(), "test_mem.exe");
    EXPECT_TRUE(ZudoExeModule::instance().module().isNull())
        << "a program that is not attached finds the executable by the setting's name only";

    ZudoExeModule::attachToHost();
    const auto process = static_cast<std::uint32_t>(
        reinterpret_cast<std::uintptr_t>(zudo::platform::moduleHandle("test_mem.exe")));
    ASSERT_NE(process, 0u);
    EXPECT_EQ(ZudoExeModule::instance().module(), mem::HostAddress(process));

    ZudoExeModule::detachFromHost();
    EXPECT_TRUE(ZudoExeModule::instance().module().isNull());
}

} // namespace
