// Calls inside the game's process reach real machine code: a member compiled
// with the thiscall convention and a routine of the standard convention, each
// called often enough that a wrong stack clean-up would not survive it.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Compiler.hpp"
#include "util/mem/HostCall.hpp"
#include "util/mem/game/ProcessAddress.hpp"

namespace {

namespace mem = zudo::util::mem;
using mem::HostAddress;

std::vector<std::int32_t> received;

class StageStarter {
public:
    std::int32_t base = 1000;
    ZUDO_NOINLINE std::int32_t ZUDO_THISCALL start(std::int32_t stage, std::int32_t tintSet,
                                                    std::int32_t carSlot, std::int32_t last)
    {
        received = {stage, tintSet, carSlot, last};
        return base + stage;
    }
};

ZUDO_NOINLINE void ZUDO_STDCALL takeTwo(std::int32_t first, std::int32_t second) { received = {first, second}; }

HostAddress codeOfStart()
{
    auto member = &StageStarter::start;
    void* code = nullptr;
    std::memcpy(&code, &member, sizeof code); // a non-virtual member: the code address first
    return mem::hostAddressOf(code);
}

TEST(GameCalls, ThiscallMemberCompiledAsSuch)
{
    StageStarter starter;
    for (int round = 0; round < 100; ++round) {
        ASSERT_EQ(mem::callMemberAt<std::int32_t>(codeOfStart(), mem::hostAddressOf(&starter), 12, 3, 5, -1),
                  1012);
    }
    EXPECT_EQ(received, (std::vector<std::int32_t>{12, 3, 5, -1}));
}

TEST(GameCalls, StandardConventionCleansItsOwnArguments)
{
    const HostAddress routine = mem::hostAddressOf(reinterpret_cast<const void*>(&takeTwo));
    for (int round = 0; round < 100; ++round) {
        ASSERT_TRUE(mem::callHostRoutine<void>(mem::CallingConvention::Stdcall, routine, HostAddress(), 7, -8));
    }
    EXPECT_EQ(received, (std::vector<std::int32_t>{7, -8}));
}

} // namespace
