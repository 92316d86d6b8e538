// Inside the game's process the range check keeps the memory regions it looked
// up. Once the regions may have changed (forgotten explicitly, after a call of
// a game routine, at a call from the game) a freed or re-protected page is
// refused again: the cache never keeps a freed page readable.

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "platform/Compiler.hpp"
#include "platform/Platform.hpp"
#include "util/mem/HostAddress.hpp"
#include "util/mem/HostCall.hpp"
#include "util/mem/game/ProcessAddress.hpp"

namespace {

namespace mem = zudo::util::mem;
namespace zp = zudo::platform;
using mem::HostAccessError;
using mem::HostAddress;

constexpr std::size_t size = 64 * 1024; // one allocation granule

// Pages allocated, read once (so that their region is known), then freed.
class FreedPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        pages_ = zp::allocatePages(size, zp::Protection::ReadWrite);
        ASSERT_NE(pages_, nullptr);
        address_ = mem::hostAddressOf(pages_);
        address_.write<std::uint32_t>(size - 4, 77);
        ASSERT_EQ(address_.read<std::uint32_t>(size - 4), 77u);
    }
    void TearDown() override { freePages(); }

    void freePages()
    {
        if (pages_ != nullptr) {
            zp::freePages(pages_, size);
            pages_ = nullptr;
        }
    }

    HostAddress address_;
    void* pages_ = nullptr;
};

TEST_F(FreedPages, AreRefusedOnceTheRegionsAreForgotten)
{
    freePages();
    mem::forgetHostMemoryRegions();
    std::uint32_t value = 0;
    EXPECT_THROW(address_.read<std::uint32_t>(size - 4), HostAccessError);
    EXPECT_THROW(address_.write<std::uint32_t>(0, 1), HostAccessError);
    EXPECT_FALSE(address_.tryReadBytes(0, &value, sizeof value));
}

TEST_F(FreedPages, ProtectedAgainAreRefusedOnceTheRegionsAreForgotten)
{
    ASSERT_TRUE(zp::protectPages(pages_, size, zp::Protection::ReadOnly, nullptr));
    mem::forgetHostMemoryRegions();
    EXPECT_EQ(address_.read<std::uint32_t>(size - 4), 77u);
    EXPECT_THROW(address_.write<std::uint32_t>(size - 4, 1), HostAccessError);
    ASSERT_TRUE(zp::protectPages(pages_, size, zp::Protection::NoAccess, nullptr));
    mem::forgetHostMemoryRegions();
    EXPECT_THROW(address_.read<std::uint32_t>(size - 4), HostAccessError);
}

// A game routine that frees memory: the plug-in learns nothing about it but
// that it called the game.
void* pagesToFree = nullptr;
ZUDO_NOINLINE void ZUDO_CDECL gameFreesPages() { zp::freePages(pagesToFree, size); }

TEST_F(FreedPages, AreRefusedAfterTheGameRanInACallOfTheirs)
{
    pagesToFree = std::exchange(pages_, nullptr);
    const HostAddress routine = mem::hostAddressOf(reinterpret_cast<const void*>(&gameFreesPages));
    ASSERT_TRUE(mem::callHostRoutine<void>(mem::CallingConvention::Cdecl, routine, HostAddress()));
    EXPECT_THROW(address_.read<std::uint32_t>(size - 4), HostAccessError);
}

// A plug-in routine the game calls, which reads the pages.
HostAddress pagesToRead;
bool readRefused = false;
ZUDO_NOINLINE std::int32_t ZUDO_CDECL pluginReadsPages(std::int32_t offset)
{
    try {
        return static_cast<std::int32_t>(pagesToRead.read<std::uint32_t>(static_cast<std::uint32_t>(offset)));
    } catch (const HostAccessError&) {
        readRefused = true;
        return -1;
    }
}

TEST_F(FreedPages, AreRefusedInACallFromTheGameAfterTheGameFreedThem)
{
    const mem::PluginRoutine routine = mem::PluginRoutine::ofFree<&pluginReadsPages>();
    using Entry = std::int32_t(ZUDO_CDECL*)(std::int32_t);
    const auto entry = reinterpret_cast<Entry>(std::uintptr_t{routine.address().value()});
    pagesToRead = address_;
    readRefused = false;
    EXPECT_EQ(entry(static_cast<std::int32_t>(size - 4)), 77) << "called as the game calls it";
    freePages(); // the game, between two calls into the plug-in
    EXPECT_EQ(entry(static_cast<std::int32_t>(size - 4)), -1);
    EXPECT_TRUE(readRefused);
}

} // namespace
