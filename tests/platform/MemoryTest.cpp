// Pages, their protection and copies that must never fault.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/Platform.hpp"

namespace zudo::test {
namespace {

namespace zp = zudo::platform;

constexpr std::size_t pageSize = 4096; // both builds; allocations are page multiples

class Pages : public ::testing::Test {
protected:
    void SetUp() override
    {
        pages_ = static_cast<char*>(zp::allocatePages(2 * pageSize, zp::Protection::ReadWrite));
        ASSERT_NE(pages_, nullptr);
    }
    void TearDown() override
    {
        zp::protectPages(pages_, 2 * pageSize, zp::Protection::ReadWrite, nullptr);
        zp::freePages(pages_, 2 * pageSize);
    }
    char* first() const { return pages_; }
    char* second() const { return pages_ + pageSize; }

private:
    char* pages_ = nullptr;
};

TEST_F(Pages, ProtectionChangesReportThePreviousOne)
{
    std::memset(first(), 0x5A, 2 * pageSize); // committed and writable
    const zp::Protection sequence[] = {zp::Protection::ReadOnly, zp::Protection::ExecuteRead,
                                       zp::Protection::ExecuteReadWrite, zp::Protection::NoAccess,
                                       zp::Protection::ReadWrite};
    zp::Protection expectedPrevious = zp::Protection::ReadWrite;
    for (const zp::Protection next : sequence) {
        SCOPED_TRACE(static_cast<int>(next));
        zp::Protection previous = zp::Protection::NoAccess;
        ASSERT_TRUE(zp::protectPages(first() + 100, 10, next, &previous));
        EXPECT_EQ(previous, expectedPrevious);
        expectedPrevious = next;
    }
    EXPECT_EQ(first()[pageSize - 1], 0x5A) << "the contents survive";
}

TEST_F(Pages, CheckedCopiesFailInsteadOfFaulting)
{
    const char text[] = "checked";
    char out[sizeof text] = {};
    ASSERT_TRUE(zp::copyMemoryChecked(second(), text, sizeof text));
    ASSERT_TRUE(zp::protectPages(second(), pageSize, zp::Protection::ReadOnly, nullptr));
    EXPECT_TRUE(zp::copyMemoryChecked(out, second(), sizeof text)) << "read-only pages can be read";
    EXPECT_STREQ(out, "checked");
    EXPECT_FALSE(zp::copyMemoryChecked(second(), text, sizeof text)) << "but not written";

    ASSERT_TRUE(zp::protectPages(second(), pageSize, zp::Protection::NoAccess, nullptr));
    EXPECT_FALSE(zp::copyMemoryChecked(out, second(), sizeof text)) << "no-access source";
    EXPECT_FALSE(zp::copyMemoryChecked(second(), text, sizeof text)) << "no-access destination";
    EXPECT_FALSE(zp::copyMemoryChecked(out, second() - 4, 8)) << "a range reaching into the page";
    EXPECT_TRUE(zp::copyMemoryChecked(out, second() - 4, 4)) << "the range just before it";
    EXPECT_TRUE(zp::copyMemoryChecked(out, second(), 0)) << "nothing to copy";
}

TEST_F(Pages, RegionQueriesTellWhatAPageAllows)
{
    struct Expected {
        zp::Protection protection;
        bool readable;
        bool writable;
    };
    const Expected cases[] = {{zp::Protection::ReadWrite, true, true},
                              {zp::Protection::ReadOnly, true, false},
                              {zp::Protection::ExecuteRead, true, false},
                              {zp::Protection::ExecuteReadWrite, true, true},
                              {zp::Protection::NoAccess, false, false}};
    for (const Expected& expected : cases) {
        SCOPED_TRACE(static_cast<int>(expected.protection));
        ASSERT_TRUE(zp::protectPages(second(), pageSize, expected.protection, nullptr));
        zp::MemoryRegion region;
        ASSERT_TRUE(zp::queryMemoryRegion(second() + 123, region));
        EXPECT_EQ(region.base, reinterpret_cast<std::uintptr_t>(second())) << "from the address's page on";
        EXPECT_GE(region.size, pageSize);
        EXPECT_TRUE(region.committed);
        EXPECT_EQ(region.readable, expected.readable);
        EXPECT_EQ(region.writable, expected.writable);

        // The first page keeps its own protection and ends where the second begins.
        ASSERT_TRUE(zp::queryMemoryRegion(first(), region));
        EXPECT_EQ(region.base, reinterpret_cast<std::uintptr_t>(first()));
        if (expected.protection != zp::Protection::ReadWrite) {
            EXPECT_EQ(region.size, pageSize);
        }
        EXPECT_TRUE(region.readable && region.writable);
    }
}

TEST(Memory, FreedPagesAreNotCommitted)
{
    constexpr std::size_t size = 16 * pageSize;
    void* pages = zp::allocatePages(size, zp::Protection::ReadWrite);
    ASSERT_NE(pages, nullptr);
    zp::freePages(pages, size);
    zp::MemoryRegion region;
    ASSERT_TRUE(zp::queryMemoryRegion(static_cast<char*>(pages) + pageSize, region));
    EXPECT_FALSE(region.committed);
    EXPECT_FALSE(region.readable);
    EXPECT_FALSE(region.writable);
    EXPECT_LE(region.base, reinterpret_cast<std::uintptr_t>(pages) + pageSize);
}

TEST(Memory, ZeroSizeAllocationsAndNullRangesFail)
{
    EXPECT_EQ(zp::allocatePages(0, zp::Protection::ReadWrite), nullptr);
    char out[4];
    EXPECT_FALSE(zp::copyMemoryChecked(out, nullptr, sizeof out));
    EXPECT_FALSE(zp::protectPages(nullptr, 16, zp::Protection::ReadOnly, nullptr));
}

} // namespace
} // namespace zudo::test
