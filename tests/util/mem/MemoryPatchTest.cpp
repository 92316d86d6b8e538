// Memory patches and virtual-table clones. Patches are tried on pages the
// test owns (made read-only and executable like code, so that the protection
// change is needed) and on memory that is not mapped at all; in the Windows
// build that is Windows' own memory protection, under Wine. The routines in
// the cloned tables are really called inside the game's process and called by
// the replacement host against it.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "support/HostTest.hpp"
#include "util/mem/HostCall.hpp"
#include "util/mem/MemoryPatch.hpp"

namespace {

using zudo::platform::Protection;
using zudo::util::mem::HostAddress;
using zudo::util::mem::MemoryPatch;
using zudo::util::mem::VTableClone;
namespace mem = zudo::util::mem;
namespace platform = zudo::platform;

constexpr std::size_t pageSize = 4096;

class Patch : public zudo::test::HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        page = static_cast<std::uint8_t*>(platform::allocatePages(pageSize, Protection::ReadWrite));
        ASSERT_NE(page, nullptr);
        const std::array<std::uint8_t, 5> code{0x55, 0x8B, 0xEC, 0x83, 0xEC};
        std::memcpy(page + 100, code.data(), code.size());
        ASSERT_TRUE(platform::protectPages(page, pageSize, Protection::ExecuteRead, nullptr));
    }

    void TearDown() override
    {
        platform::freePages(page, pageSize);
        HostTest::TearDown();
    }

    std::vector<std::uint8_t> bytesAt(std::size_t offset, std::size_t size) const
    {
        return {page + offset, page + offset + size};
    }

    bool pageIsWritable()
    {
        const std::uint8_t value = page[0];
        return platform::copyMemoryChecked(page, &value, 1);
    }

    std::uint8_t* page = nullptr;
    const std::vector<std::uint8_t> original{0x55, 0x8B, 0xEC, 0x83, 0xEC};
    const std::vector<std::uint8_t> jump{0xE9, 0x10, 0x20, 0x30, 0x40};
};

TEST_F(Patch, AppliesAndRevertsOnReadOnlyCode)
{
    MemoryPatch patch(page + 100, jump.data(), jump.size());
    EXPECT_FALSE(patch.isApplied());
    EXPECT_TRUE(patch.revert()) << "reverting a patch that is not applied";
    EXPECT_EQ(bytesAt(100, 5), original);

    EXPECT_TRUE(patch.apply());
    EXPECT_TRUE(patch.isApplied());
    EXPECT_EQ(bytesAt(100, 5), jump);
    EXPECT_EQ(bytesAt(99, 1), std::vector<std::uint8_t>{0}) << "nothing before the target";
    EXPECT_EQ(bytesAt(105, 1), std::vector<std::uint8_t>{0}) << "nothing after it";
    EXPECT_FALSE(pageIsWritable()) << "the code's protection is back";

    EXPECT_TRUE(patch.apply()) << "applying twice";
    EXPECT_EQ(bytesAt(100, 5), jump);

    EXPECT_TRUE(patch.revert());
    EXPECT_FALSE(patch.isApplied());
    EXPECT_EQ(bytesAt(100, 5), original);
    EXPECT_FALSE(pageIsWritable());
}

TEST_F(Patch, BytesAlreadyPresentCountAsApplied)
{
    MemoryPatch patch(page + 100, original.data(), 3);
    EXPECT_TRUE(patch.isApplied());
    EXPECT_TRUE(patch.apply());
    EXPECT_EQ(bytesAt(100, 5), original);
}

TEST_F(Patch, DestroyingAnAppliedPatchRevertsIt)
{
    {
        MemoryPatch first(page + 100, jump.data(), 1);
        MemoryPatch second(page + 101, jump.data() + 1, 4);
        ASSERT_TRUE(first.apply());
        ASSERT_TRUE(second.apply());
        MemoryPatch moved(std::move(second));
        EXPECT_TRUE(moved.isApplied());
        EXPECT_EQ(bytesAt(100, 5), jump);
    }
    EXPECT_EQ(bytesAt(100, 5), original);
}

TEST_F(Patch, MemoryThatIsNotMappedIsReportedAsFalse)
{
    void* gone = platform::allocatePages(pageSize, Protection::ReadWrite);
    ASSERT_NE(gone, nullptr);
    platform::freePages(gone, pageSize);

    MemoryPatch patch(gone, jump.data(), jump.size());
    EXPECT_FALSE(patch.isApplied());
    EXPECT_FALSE(patch.apply());
    EXPECT_TRUE(patch.revert());

    MemoryPatch nowhere(static_cast<void*>(nullptr), jump.data(), jump.size());
    EXPECT_FALSE(nowhere.apply());

    MemoryPatch hostNowhere(HostAddress(0x10), jump.data(), jump.size());
    EXPECT_FALSE(hostNowhere.apply());
}

TEST_F(Patch, PatchOfHostMemory)
{
    const HostAddress code = hostMemory(16);
    code.writeBytes(4, original.data(), 5);
    MemoryPatch patch(code + 4, jump.data(), jump.size());
    ASSERT_TRUE(patch.apply());
    std::array<std::uint8_t, 5> now{};
    code.readBytes(4, now.data(), 5);
    EXPECT_EQ(std::vector<std::uint8_t>(now.begin(), now.end()), jump);
    ASSERT_TRUE(patch.revert());
    code.readBytes(4, now.data(), 5);
    EXPECT_EQ(std::vector<std::uint8_t>(now.begin(), now.end()), original);
}

TEST_F(Patch, JumpToAHookForwardsAndBackwards)
{
    const HostAddress code = hostMemory(16);
    code.writeBytes(4, original.data(), 5);
    struct Case {
        std::uint32_t distance; // target minus code
        std::array<std::uint8_t, 5> bytes;
    };
    for (const Case c : {Case{0x105, {0xE9, 0x00, 0x01, 0x00, 0x00}},
                         Case{0, {0xE9, 0xFB, 0xFF, 0xFF, 0xFF}} /* to itself: -5 */}) {
        SCOPED_TRACE(c.distance);
        mem::JumpPatch hook(code + 4, code + 4 + c.distance);
        ASSERT_TRUE(hook.apply());
        std::array<std::uint8_t, 5> now{};
        code.readBytes(4, now.data(), 5);
        EXPECT_EQ(now, c.bytes);
        ASSERT_TRUE(hook.revert());
        code.readBytes(4, now.data(), 5);
        EXPECT_EQ(std::vector<std::uint8_t>(now.begin(), now.end()), original);
    }
}

// ---------------------------------------------------------------------------
// Virtual-table clones. The "host object" has two member routines in its
// table: slot 0 gives its id, slot 1 (byte offset 4) handles a frame time.

std::int32_t ZUDO_FASTCALL replacementFrame(std::uint32_t self, std::uint32_t, float time);
HostAddress previousFrame;

std::int32_t ZUDO_FASTCALL replacementFrame(std::uint32_t self, std::uint32_t, float time)
{
    // Passes the call on to the host's own routine and adds its own share.
    const std::optional<std::int32_t> passedOn =
        mem::callMemberAt<std::int32_t>(previousFrame, HostAddress(self), time * 2.0f);
    return passedOn.value_or(-1000) + 5;
}

// The host object's own routines, placed in its table as the game's code
// would be: slot 0 gives the id at +4, slot 1 the id times 100 plus the time.
std::int32_t ZUDO_FASTCALL widgetId(std::uint32_t self, std::uint32_t)
{
    return HostAddress(self).read<std::int32_t>(4);
}

std::int32_t ZUDO_FASTCALL widgetFrame(std::uint32_t self, std::uint32_t, float time)
{
    return HostAddress(self).read<std::int32_t>(4) * 100 + static_cast<std::int32_t>(time);
}

class TableClone : public zudo::test::HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        idRoutine = mem::PluginRoutine::of<&widgetId>();
        frameRoutine = mem::PluginRoutine::of<&widgetFrame>();
        const HostAddress table = hostMemory(8);
        table.writeAddress(0, idRoutine.address());
        table.writeAddress(4, frameRoutine.address());
        object = hostMemory(8);
        object.writeAddress(0, table);
        object.write<std::int32_t>(4, 7);
    }

    // How the host calls its object's frame routine: through its table.
    std::int32_t hostFrame(float time) { return mem::callVirtual<std::int32_t>(object, 4, time).value_or(-1); }

    mem::PluginRoutine idRoutine;
    mem::PluginRoutine frameRoutine;
    HostAddress object;
};

TEST_F(TableClone, ReplacedSlotPassesTheCallOnToThePreviousEntry)
{
    const HostAddress ownTable = object.readAddress(0);
    VTableClone clone(object, 2);
    ASSERT_TRUE(clone.valid());
    EXPECT_EQ(clone.originalTable(), ownTable);

    const HostAddress ownFrame = ownTable.readAddress(4);
    // The two low bits of the byte offset do not count: 7 is slot 1 as well.
    previousFrame = clone.replace(7, mem::PluginRoutine::of<&replacementFrame>());
    EXPECT_EQ(previousFrame, ownFrame);
    EXPECT_EQ(hostFrame(3.0f), 703) << "not installed yet: the object's own table";

    ASSERT_TRUE(clone.install());
    EXPECT_TRUE(clone.isInstalled());
    EXPECT_EQ(object.readAddress(0), clone.cloneTable());
    EXPECT_EQ(hostFrame(3.0f), 706 + 5) << "replacement, then the previous entry with time * 2";
    EXPECT_EQ(mem::callVirtual<std::int32_t>(object, 0), 7) << "slot 0 copied unchanged";
    EXPECT_EQ(ownTable.readAddress(4), ownFrame) << "the host's own table is untouched";

    EXPECT_TRUE(clone.restore());
    EXPECT_EQ(object.readAddress(0), ownTable);
    EXPECT_EQ(hostFrame(3.0f), 703);
}

TEST_F(TableClone, SlotsOutsideTheCloneAreNotReplacedAndDestructionRestores)
{
    const HostAddress ownTable = object.readAddress(0);
    {
        VTableClone clone(object, 2);
        EXPECT_TRUE(clone.replace(8, HostAddress(0x1234)).isNull());
        ASSERT_TRUE(clone.install());
        VTableClone moved(std::move(clone));
        EXPECT_TRUE(moved.isInstalled());
    }
    EXPECT_EQ(object.readAddress(0), ownTable);

    VTableClone ofNothing(HostAddress(), 2);
    EXPECT_FALSE(ofNothing.valid());
    EXPECT_FALSE(ofNothing.install());
    EXPECT_TRUE(ofNothing.replace(0, HostAddress(0x1234)).isNull());
}

} // namespace
