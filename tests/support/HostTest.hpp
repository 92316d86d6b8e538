#pragma once
// The game as a test sees it, in each build's terms (support/game/ and
// support/replacement/, chosen by CMake as the host access layer's halves are):
// - inside the game's process (Windows build): the test program is the game;
//   "host memory" is memory of the test, and fixed addresses are resolved
//   against a base the test chooses (ZudoExeModule::assumeLoadedAt);
// - against the replacement host (native build): the simulator's host, fresh
//   for each test and registered with the host access layer.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <vector>

#include <optional>

#include "util/mem/HostAddress.hpp"
#include "util/mem/HostCall.hpp"
#include "util/mem/MemoryPatch.hpp"
#include "util/mem/MsvcLayout.hpp"
#include "util/mem/ZudoExeModule.hpp"

namespace zudo::test {

// A host routine as the replacement host calls it: the host object (0 for a
// free routine) and the arguments widened to 64 bits (ReplacementHost.h).
using HostRoutineFake = std::function<std::uint64_t(std::uint32_t self, std::span<const std::uint64_t>)>;

// The build's half.
// Starts each test with a fresh host, and ends it.
void attachTestHost();
void detachTestHost();
// The game as if it were not there at all: no executable, no host.
void removeTestGame();
// Supplies the routine the game has under name without a known address (a
// binding whose address is unknown). False where nothing can supply it: inside
// the game such a routine is never called.
bool supplyNamedRoutine(const char* name, HostRoutineFake fake);

// The game's image where the front end reaches into it (from 0x490000,
// below the lowest address it uses, 0x4968F0, to past the stage-start record
// at 0x16607F8): inside the game's process 20 MiB of executable memory of the
// test at which the bindings resolve from now on, so that code written there
// really runs; the replacement host has an image of its own.
class ExecutableImage {
public:
    ExecutableImage();
    ~ExecutableImage();
    ExecutableImage(const ExecutableImage&) = delete;
    ExecutableImage& operator=(const ExecutableImage&) = delete;
    bool ready() const;

private:
    void* pages_ = nullptr;
};

// Makes the game's routine at preferredAddress (an address of the executable
// at its preferred base) run a routine of the test, written as the plug-in
// writes routines the game calls (PluginRoutine, HostCall.hpp): inside the
// game's process a jump written at the resolved address (a ExecutableImage must hold
// it) really runs it; against the replacement host a fake at the address
// passes the call on to it. Undone when the object goes.
class HostRoutineDouble {
public:
    HostRoutineDouble(std::uint32_t preferredAddress, util::mem::PluginRoutine routine);
    ~HostRoutineDouble();
    HostRoutineDouble(const HostRoutineDouble&) = delete;
    HostRoutineDouble& operator=(const HostRoutineDouble&) = delete;
    bool placed() const { return placed_; }

private:
    std::uint32_t preferredAddress_;
    util::mem::PluginRoutine routine_;
    std::optional<util::mem::JumpPatch> jump_;
    bool placed_ = false;
};

// Host memory that cannot be written while the object lives (the page made
// read-only), where a test can make it so: against the replacement host,
// whose memory has no protection of its own that a patch would lift. Inside
// the game's process a patch lifts the page's protection itself: made() is
// false there.
class UnwritableHostMemory {
public:
    UnwritableHostMemory(util::mem::HostAddress address, std::uint32_t size);
    ~UnwritableHostMemory();
    UnwritableHostMemory(const UnwritableHostMemory&) = delete;
    UnwritableHostMemory& operator=(const UnwritableHostMemory&) = delete;
    bool made() const { return page_ != nullptr; }

private:
    void* page_ = nullptr;
    std::size_t size_ = 0;
};

// Host memory of the kinds a faulty host pointer lands on, for tests of the
// range check of reads and writes: a page that may be read and written
// (zero-filled), directly followed by a page that allows no access, and a
// page that may be read but not written (zero-filled). Inside the game's
// process pages of the test with that protection; against the replacement
// host the last page of its image range, the unmapped page after it, and a
// page of its heap that it keeps read-only. Make it after the test's host is
// attached (HostTest::SetUp).
class ProtectedHostPages {
public:
    static constexpr std::uint32_t pageSize = 4096;

    ProtectedHostPages();
    ~ProtectedHostPages();
    ProtectedHostPages(const ProtectedHostPages&) = delete;
    ProtectedHostPages& operator=(const ProtectedHostPages&) = delete;
    bool ready() const { return !readWrite_.isNull() && !readOnly_.isNull(); }

    util::mem::HostAddress readWrite() const { return readWrite_; }
    util::mem::HostAddress noAccess() const { return readWrite_ + pageSize; }
    util::mem::HostAddress readOnly() const { return readOnly_; }

private:
    util::mem::HostAddress readWrite_;
    util::mem::HostAddress readOnly_;
    void* pages_ = nullptr;
};

// Where a call of the game's code at code goes: inside the game's process the
// code itself (the processor takes a jump written there); the replacement host
// runs no machine code, so a jump written there is followed here, and code
// without one cannot be called (null).
util::mem::HostAddress callableCode(util::mem::HostAddress code);

// A text the plug-in passed to a host routine, from its widened argument.
inline const char* textArgument(std::uint64_t argument)
{
    return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(argument));
}

class HostTest : public ::testing::Test {
protected:
    void SetUp() override { attachTestHost(); }

    void TearDown() override
    {
        util::mem::ZudoExeModule::instance().assumeLoadedAt(util::mem::HostAddress());
        blocks_.clear();
        detachTestHost();
    }

    // Zero-filled host memory that lives until the end of the test.
    util::mem::HostAddress hostMemory(std::uint32_t size)
    {
        blocks_.emplace_back(size);
        const util::mem::HostAddress address = blocks_.back().address();
        EXPECT_FALSE(address.isNull()) << "no host memory for " << size << " bytes";
        return address;
    }

    // The game as if it were not there at all.
    static void removeGame() { removeTestGame(); }

    util::mem::msvc::HostAllocator allocator()
    {
        return [this](std::uint32_t size) { return hostMemory(size); };
    }

private:
    std::vector<util::mem::HostBlock> blocks_;
};

} // namespace zudo::test
