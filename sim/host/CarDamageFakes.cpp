#include "sim/host/CarDamageFakes.hpp"

#include <cstring>
#include <memory>

#include "util/mem/Bindings.hpp"

namespace zudo::sim {

namespace {

constexpr std::uint32_t tableWord = 4;
constexpr std::uint32_t contentSize = CarDamageFakes::recordSize - tableWord;

void fillAsNew(SimulatedHost& host, std::uint32_t record)
{
    if (std::uint8_t* bytes = host.memory(record + tableWord, contentSize)) {
        std::memset(bytes, CarDamageFakes::carAsNew, contentSize);
    }
}

} // namespace

CarDamageFakes& registerCarDamageFakes(SimulatedHost& host, GameRecorder* recorder)
{
    const auto record = [recorder](const char* name) {
        if (recorder != nullptr) {
            recorder->recordHostRoutine(name, std::span<const std::int32_t>());
        }
    };
    // Owned by the fakes themselves, so the counters outlive this call.
    auto fakes = std::make_shared<CarDamageFakes>();
    const HostAddress table = host.allocate(16);
    table.write<std::uint32_t>(3 * 4, CarDamageFakes::repairRoutine);

    host.registerRoutine(util::mem::bindings::constructCarDamage.info.address,
                         [&host, fakes, table, record](std::uint32_t self, std::span<const std::uint64_t>) {
                             ++fakes->constructed;
                             record(util::mem::bindings::constructCarDamage.info.name);
                             HostAddress(self).writeAddress(0, table);
                             fillAsNew(host, self);
                             return std::uint64_t(self);
                         });
    host.registerRoutine(CarDamageFakes::repairRoutine,
                         [&host, fakes, record](std::uint32_t self, std::span<const std::uint64_t>) {
                             ++fakes->repaired;
                             record("repairCarDamage");
                             fillAsNew(host, self);
                             return std::uint64_t(0);
                         });
    host.registerRoutine(util::mem::bindings::copyCarDamage.info.address,
                         [&host, fakes, record](std::uint32_t self, std::span<const std::uint64_t> arguments) {
                             ++fakes->copied;
                             record(util::mem::bindings::copyCarDamage.info.name);
                             const auto source = static_cast<std::uint32_t>(arguments.empty() ? 0 : arguments[0]);
                             std::uint8_t* to = host.memory(self + tableWord, contentSize);
                             const std::uint8_t* from = host.memory(source + tableWord, contentSize);
                             if (to != nullptr && from != nullptr) {
                                 std::memmove(to, from, contentSize);
                             }
                             return std::uint64_t(self);
                         });
    return *fakes;
}

} // namespace zudo::sim
