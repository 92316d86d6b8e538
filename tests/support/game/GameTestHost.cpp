// The test program is the game: nothing stands in for it.
#include "platform/Platform.hpp"
#include "support/HostTest.hpp"
#include "util/mem/ModuleAddress.hpp"
#include "util/mem/game/ProcessAddress.hpp"

namespace zudo::test {

void attachTestHost() {}

void detachTestHost() { util::mem::ZudoExeModule::detachFromHost(); }

void removeTestGame()
{
    util::mem::ZudoExeModule::detachFromHost();
    util::mem::ZudoExeModule::instance().assumeLoadedAt(util::mem::HostAddress());
}

bool supplyNamedRoutine(const char*, HostRoutineFake) { return false; }

} // namespace zudo::test

namespace zudo::test {

namespace {
// From 0x470000, below the lowest routine the tests place (0x47DEF0), to
// past the stage-start record (0x16607F8 + 1704).
constexpr std::uint32_t imageSkipped = 0x70000;
constexpr std::size_t imageSize = 0x1420000;
} // namespace

ExecutableImage::ExecutableImage() : pages_(platform::allocatePages(imageSize, platform::Protection::ExecuteReadWrite))
{
    if (pages_ != nullptr) {
        const auto start = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pages_));
        util::mem::ZudoExeModule::instance().assumeLoadedAt(util::mem::HostAddress(start - imageSkipped));
    }
}

ExecutableImage::~ExecutableImage()
{
    if (pages_ != nullptr) {
        util::mem::ZudoExeModule::instance().assumeLoadedAt(util::mem::HostAddress());
        platform::freePages(pages_, imageSize);
    }
}

bool ExecutableImage::ready() const { return pages_ != nullptr; }

} // namespace zudo::test

namespace zudo::test {

HostRoutineDouble::HostRoutineDouble(std::uint32_t preferredAddress, util::mem::PluginRoutine routine)
    : preferredAddress_(preferredAddress), routine_(std::move(routine))
{
    const util::mem::HostAddress at =
        util::mem::resolveAddress(util::mem::HostModule::Executable, preferredAddress_);
    if (!at.isNull() && routine_.address()) {
        jump_.emplace(at, routine_.address());
        placed_ = jump_->apply();
    }
}

HostRoutineDouble::~HostRoutineDouble() = default;

util::mem::HostAddress callableCode(util::mem::HostAddress code) { return code; }

} // namespace zudo::test

namespace zudo::test {

UnwritableHostMemory::UnwritableHostMemory(util::mem::HostAddress, std::uint32_t) {}
UnwritableHostMemory::~UnwritableHostMemory() = default;

} // namespace zudo::test

namespace zudo::test {

// Three pages: read and write, no access, read-only.
ProtectedHostPages::ProtectedHostPages()
    : pages_(platform::allocatePages(3 * pageSize, platform::Protection::ReadWrite))
{
    auto* bytes = static_cast<char*>(pages_);
    if (bytes != nullptr &&
        platform::protectPages(bytes + pageSize, pageSize, platform::Protection::NoAccess, nullptr) &&
        platform::protectPages(bytes + 2 * pageSize, pageSize, platform::Protection::ReadOnly, nullptr)) {
        readWrite_ = util::mem::hostAddressOf(bytes);
        readOnly_ = util::mem::hostAddressOf(bytes + 2 * pageSize);
    }
    util::mem::forgetHostMemoryRegions();
}

ProtectedHostPages::~ProtectedHostPages()
{
    platform::freePages(pages_, 3 * pageSize);
    util::mem::forgetHostMemoryRegions();
}

} // namespace zudo::test
