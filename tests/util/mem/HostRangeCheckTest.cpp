// Reads and writes of host memory check their range first: an address that
// is no host memory, or none that allows the access, raises HostAccessError
// instead of faulting (inside the game: against the process's real pages).

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/HostTest.hpp"
#include "util/mem/MsvcLayout.hpp"

namespace {

using zudo::test::ProtectedHostPages;
using zudo::util::mem::HostAccessError;
using zudo::util::mem::HostAddress;
namespace msvc = zudo::util::mem::msvc;

constexpr std::uint32_t pageSize = ProtectedHostPages::pageSize;

class HostRangeCheck : public zudo::test::HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        pages_.emplace();
        ASSERT_TRUE(pages_->ready());
    }
    void TearDown() override
    {
        pages_.reset();
        HostTest::TearDown();
    }
    const ProtectedHostPages& pages() const { return *pages_; }

private:
    std::optional<ProtectedHostPages> pages_;
};

// The error's text names the address it was asked for and the access.
void expectRefused(const std::function<void()>& access, HostAddress address, const char* refused)
{
    try {
        access();
        ADD_FAILURE() << "no HostAccessError";
    } catch (const HostAccessError& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find(address.text()), std::string::npos) << text;
        EXPECT_NE(text.find(refused), std::string::npos) << text;
    }
}

void expectUnreadable(HostAddress address, std::uint32_t offset, std::uint32_t size)
{
    std::vector<std::uint8_t> bytes(size);
    expectRefused([&] { address.readBytes(offset, bytes.data(), size); }, address, "not readable");
    EXPECT_FALSE(address.tryReadBytes(offset, bytes.data(), size));
}

void expectUnwritable(HostAddress address, std::uint32_t offset, std::uint32_t size)
{
    const std::vector<std::uint8_t> bytes(size, 0xEE);
    expectRefused([&] { address.writeBytes(offset, bytes.data(), size); }, address, "not writable");
}

TEST_F(HostRangeCheck, ReadsAndWritesOfGoodMemoryWork)
{
    const HostAddress page = pages().readWrite();
    page.write<std::uint32_t>(pageSize - 4, 0xA1B2C3D4u);
    EXPECT_EQ(page.read<std::uint32_t>(pageSize - 4), 0xA1B2C3D4u) << "up to the last byte of the page";
    EXPECT_EQ(page.read<std::uint16_t>(pageSize - 2), 0xA1B2u);
    std::uint32_t value = 0;
    EXPECT_TRUE(page.tryReadBytes(pageSize - 4, &value, 4));
    EXPECT_EQ(value, 0xA1B2C3D4u);
    EXPECT_EQ(pages().readOnly().read<std::uint32_t>(pageSize - 4), 0u) << "read-only memory can be read";
}

TEST_F(HostRangeCheck, BadAddressesRaiseOnReadsAndWrites)
{
    struct Case {
        const char* what;
        HostAddress address;
        std::uint32_t offset;
    };
    const Case cases[] = {
        {"null", HostAddress(), 0},
        {"a field of a null object", HostAddress(), 0x728},
        {"a page without access", pages().noAccess(), 0},
        {"an offset into a page without access", pages().readWrite(), pageSize + 16},
        {"the top of the address space", HostAddress(0xFFFFF000u), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        expectUnreadable(c.address, c.offset, 4);
        expectUnwritable(c.address, c.offset, 4);
    }
    EXPECT_EQ(pages().readWrite().read<std::uint32_t>(pageSize - 4), 0u) << "nothing written on the way";
}

TEST_F(HostRangeCheck, RangesReachingPastReadableMemoryRaise)
{
    const HostAddress page = pages().readWrite();
    for (const std::uint32_t size : {4u, 8u, pageSize + 1}) {
        SCOPED_TRACE(size);
        expectUnreadable(page, pageSize - 2, size);
        expectUnwritable(page, pageSize - 2, size);
    }
    expectUnreadable(page, 0, 2 * pageSize);
    EXPECT_EQ(page.read<std::uint16_t>(pageSize - 4), 0u) << "the same range short of the page's end";
}

TEST_F(HostRangeCheck, WritesToReadOnlyMemoryRaise)
{
    const HostAddress page = pages().readOnly();
    for (const std::uint32_t offset : {0u, 100u, pageSize - 4}) {
        SCOPED_TRACE(offset);
        expectUnwritable(page, offset, 4);
        EXPECT_EQ(page.read<std::uint32_t>(offset), 0u) << "unchanged";
    }
}

TEST_F(HostRangeCheck, OffsetsThatWrapAroundTheAddressSpaceRaise)
{
    // Taken modulo 4 GiB, base + offset would be readable base + 4.
    const HostAddress base = pages().readWrite() + 8;
    expectUnreadable(base, 0xFFFFFFFCu, 4);
    expectUnwritable(base, 0xFFFFFFFCu, 4);
    expectUnreadable(HostAddress(0xFFFFFFFEu), 0, 4);
}

TEST_F(HostRangeCheck, LayoutReadersThroughBadPointersRaise)
{
    // A string longer than its buffer, whose characters lie at a bad pointer.
    const HostAddress text = hostMemory(msvc::string_layout::size);
    text.write<std::uint32_t>(msvc::string_layout::length, 20);
    text.write<std::uint32_t>(msvc::string_layout::capacity, 31);
    text.writeAddress(msvc::string_layout::buffer, pages().noAccess());
    EXPECT_THROW(msvc::readString(text), HostAccessError);
    // ... and one whose characters run from good memory into the bad page.
    text.writeAddress(msvc::string_layout::buffer, pages().noAccess() + (0u - 10u));
    EXPECT_THROW(msvc::readString(text), HostAccessError);

    // A map of one element whose head points at no memory.
    const HostAddress map = hostMemory(msvc::map_layout::size);
    map.writeAddress(msvc::map_layout::head, pages().noAccess());
    map.write<std::uint32_t>(msvc::map_layout::count, 1);
    const msvc::MapReader reader(map, msvc::stringPairSize);
    EXPECT_THROW(reader.values(), HostAccessError);
    EXPECT_THROW(reader.findStringKey("key"), HostAccessError);
}

} // namespace
