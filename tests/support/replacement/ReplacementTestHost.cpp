// The simulator's replacement host, fresh for each test.
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
