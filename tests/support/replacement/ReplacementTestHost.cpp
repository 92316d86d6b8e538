// The simulator's replacement host, fresh for each test.
#include "platform/Platform.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "support/HostTest.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace zudo::test {

void attachTestHost()
{
    sim::SimulatedHost::instance().reset();
    sim::SimulatedHost::instance().registerAsHost();
}

void detachTestHost() { util::mem::registerReplacementHost(nullptr); }

void removeTestGame()
{
    util::mem::ZudoExeModule::instance().assumeLoadedAt(util::mem::HostAddress());
    util::mem::registerReplacementHost(nullptr);
}

bool supplyNamedRoutine(const char* name, HostRoutineFake fake)
{
    sim::SimulatedHost::instance().registerNamedRoutine(name, std::move(fake));
    return true;
}

} // namespace zudo::test

namespace zudo::test {

ExecutableImage::ExecutableImage() = default;
ExecutableImage::~ExecutableImage() = default;
bool ExecutableImage::ready() const { return true; }

} // namespace zudo::test

namespace zudo::test {

HostRoutineDouble::HostRoutineDouble(std::uint32_t preferredAddress, util::mem::PluginRoutine routine)
    : preferredAddress_(preferredAddress), routine_(std::move(routine))
{
    const std::uint32_t target = routine_.address().value();
    if (target == 0) {
        return;
    }
    sim::SimulatedHost& host = sim::SimulatedHost::instance();
    host.registerRoutine(preferredAddress_, [&host, target](std::uint32_t self,
                                                            std::span<const std::uint64_t> arguments) {
        int found = 0;
        return host.interface()->callRoutine(target, self, arguments.data(),
                                             static_cast<std::uint32_t>(arguments.size()), &found);
    });
    placed_ = true;
}

HostRoutineDouble::~HostRoutineDouble()
{
    if (placed_) {
        sim::SimulatedHost::instance().removeRoutine(preferredAddress_);
    }
}

util::mem::HostAddress callableCode(util::mem::HostAddress code)
{
    constexpr std::uint8_t relativeJump = 0xE9;
    if (code.isNull() || code.read<std::uint8_t>() != relativeJump) {
        return util::mem::HostAddress();
    }
    return util::mem::HostAddress(code.value() + 5 + code.read<std::uint32_t>(1));
}

} // namespace zudo::test

namespace zudo::test {

UnwritableHostMemory::UnwritableHostMemory(util::mem::HostAddress address, std::uint32_t size)
{
    constexpr std::uintptr_t pageSize = 4096;
    const auto* bytes = static_cast<const std::uint8_t*>(util::mem::hostPointer(address, size));
    if (bytes == nullptr) {
        return;
    }
    const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(bytes) & ~(pageSize - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(bytes) + size + pageSize - 1) & ~(pageSize - 1);
    void* page = reinterpret_cast<void*>(first);
    if (platform::protectPages(page, end - first, platform::Protection::ReadOnly, nullptr)) {
        page_ = page;
        size_ = end - first;
    }
}

UnwritableHostMemory::~UnwritableHostMemory()
{
    if (page_ != nullptr) {
        platform::protectPages(page_, size_, platform::Protection::ReadWrite, nullptr);
    }
}

} // namespace zudo::test

namespace zudo::test {

ProtectedHostPages::ProtectedHostPages()
    : readWrite_(sim::SimulatedHost::imageEnd - pageSize)
{
    sim::SimulatedHost& host = sim::SimulatedHost::instance();
    readOnly_ = host.allocate(pageSize);
    if (!readOnly_.isNull()) {
        host.keepReadOnly(readOnly_.value(), pageSize);
    }
}

// The next reset of the host takes the read-only range back.
ProtectedHostPages::~ProtectedHostPages() = default;

} // namespace zudo::test
