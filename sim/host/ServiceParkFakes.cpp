#include "sim/host/ServiceParkFakes.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "util/mem/Bindings.hpp"

namespace zudo::sim {

namespace {

namespace bindings = util::mem::bindings;
using Arguments = std::span<const std::uint64_t>;

constexpr std::uint32_t tableWord = 4;

std::uint32_t word(Arguments arguments, std::size_t index)
{
    return index < arguments.size() ? static_cast<std::uint32_t>(arguments[index]) : 0;
}

std::int32_t integer(Arguments arguments, std::size_t index)
{
    return static_cast<std::int32_t>(word(arguments, index));
}

float floating(Arguments arguments, std::size_t index)
{
    const std::uint32_t bits = word(arguments, index);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint64_t floatBits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::int32_t milliseconds(float seconds)
{
    const double value = std::trunc(static_cast<double>(seconds) * 1000.0);
    return std::isfinite(value) && std::fabs(value) < 2.0e9 ? static_cast<std::int32_t>(value) : 0;
}

const char* textArgument(Arguments arguments, std::size_t index)
{
    return index < arguments.size()
        ? reinterpret_cast<const char*>(static_cast<std::uintptr_t>(arguments[index]))
        : nullptr;
}

} // namespace

ServicePark::ServicePark(SimulatedHost& host) : host_(host)
{
    carState = host.allocate(carStateSize);
    repairWork = host.allocate(repairWorkRecords * repairWorkRecordSize);
    carDirectoryText = host.allocate(32);
    for (std::uint32_t i = 0; i < repairWorkRecords; ++i) {
        if (std::uint8_t* record = host.memory(repairWork.value() + i * repairWorkRecordSize, 4)) {
            std::memcpy(record, &i, sizeof i);
        }
    }
    fillClockTable();
}

void ServicePark::fillClockTable()
{
    const std::uint32_t table = bindings::serviceWidgetTable.info.address;
    if (std::uint8_t* entries = host_.memory(table, clockTableSlots * 4)) {
        std::memset(entries, 0, clockTableSlots * 4);
        const std::uint32_t frame = clockFrameRoutine;
        std::memcpy(entries + 8 * 4, &frame, sizeof frame);
    }
}

bool ServicePark::raise(std::int32_t event, std::int32_t value)
{
    std::vector<std::uint32_t> handlers;
    for (auto it = onceHandlers.begin(); it != onceHandlers.end();) {
        if (it->first == event) {
            handlers.push_back(it->second);
            it = onceHandlers.erase(it);
        } else {
            ++it;
        }
    }
    const std::vector<std::uint32_t> listening = listeners;
    const std::uint64_t argument = static_cast<std::uint32_t>(value);
    bool found = false;
    for (const std::uint32_t routine : handlers) {
        host_.callRoutine(routine, 0, {&argument, 1}, found);
    }
    for (const std::uint32_t routine : listening) {
        host_.callRoutine(routine, 0, {&argument, 1}, found);
    }
    return !handlers.empty() || !listening.empty();
}

bool ServicePark::frame(float seconds)
{
    const std::uint8_t* tableWordBytes = clock.isNull() ? nullptr : host_.memory(clock.value(), 4);
    if (tableWordBytes == nullptr) {
        return false;
    }
    std::uint32_t table = 0;
    std::memcpy(&table, tableWordBytes, sizeof table);
    const std::uint8_t* entry = host_.memory(table + 8 * 4, 4);
    if (entry == nullptr) {
        return false;
    }
    std::uint32_t routine = 0;
    std::memcpy(&routine, entry, sizeof routine);
    const std::uint64_t argument = floatBits(seconds);
    bool found = false;
    host_.callRoutine(routine, clock.value(), {&argument, 1}, found);
    return true;
}

std::optional<std::int32_t> ServicePark::selectMenuItem()
{
    if (menuAction.isNull()) {
        return std::nullopt;
    }
    bool found = false;
    const std::uint64_t result = host_.callRoutine(menuAction.value(), 0, {}, found);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(result));
}

namespace {

// Every fake holds the model, so that it lives as long as the fakes.
void registerFakes(const std::shared_ptr<ServicePark>& park, SimulatedHost& host,
                   GameRecorder& recorder)
{
    const auto named = [&host](const util::mem::BindingInfo& binding, RoutineFake fake) {
        host.registerNamedRoutine(binding.name, std::move(fake));
    };
    const auto record = [&recorder](const char* name, std::initializer_list<std::int32_t> arguments) {
        recorder.recordHostRoutine(name, std::span<const std::int32_t>(arguments.begin(), arguments.size()));
    };

    named(bindings::serviceMenuCreate.info, [park, record, &host, &recorder](std::uint32_t, Arguments a) {
        const char* name = textArgument(a, 0);
        recorder.recordHostRoutine(bindings::serviceMenuCreate.info.name,
                                   std::array<std::int32_t, 4>{integer(a, 2), integer(a, 3),
                                                               integer(a, 4), integer(a, 5)},
                                   name == nullptr ? std::string_view() : std::string_view(name));
        park->menuPage = host.allocate(64);
        park->clock = host.allocate(32);
        park->menuAction = HostAddress(word(a, 1));
        if (std::uint8_t* table = host.memory(park->clock.value(), 4)) {
            const std::uint32_t clockTable = bindings::serviceWidgetTable.info.address;
            std::memcpy(table, &clockTable, sizeof clockTable);
        }
        return std::uint64_t{park->menuPage.value()};
    });
    named(bindings::serviceMenuClock.info, [park, record](std::uint32_t, Arguments a) {
        record(bindings::serviceMenuClock.info.name, {});
        return std::uint64_t{HostAddress(word(a, 0)) == park->menuPage ? park->clock.value() : 0};
    });
    host.registerRoutine(ServicePark::clockFrameRoutine, [park, record](std::uint32_t, Arguments a) {
        const float seconds = floating(a, 0);
        record("serviceClockFrame", {milliseconds(seconds)});
        park->remaining -= seconds;
        if (park->repairing && park->workLeft > 0.0F) {
            park->workLeft -= seconds;
        }
        return std::uint64_t{0};
    });
    named(bindings::serviceParkShow.info, [park, record](std::uint32_t, Arguments) {
        record(bindings::serviceParkShow.info.name, {});
        park->shown = true;
        park->values[1] = 1;
        return std::uint64_t{0};
    });
    named(bindings::serviceModeLeave.info, [park, record](std::uint32_t, Arguments) {
        record(bindings::serviceModeLeave.info.name, {});
        park->shown = false;
        return std::uint64_t{0};
    });
    named(bindings::menuStateReset.info, [record](std::uint32_t, Arguments) {
        record(bindings::menuStateReset.info.name, {});
        return std::uint64_t{0};
    });
    named(bindings::serviceSelection.info, [park, record](std::uint32_t, Arguments) {
        record(bindings::serviceSelection.info.name, {});
        return std::uint64_t{static_cast<std::uint32_t>(park->selection)};
    });
    named(bindings::setServiceSelection.info, [park, record](std::uint32_t, Arguments a) {
        park->selection = integer(a, 0);
        record(bindings::setServiceSelection.info.name, {park->selection});
        return std::uint64_t{0};
    });
    named(bindings::serviceValue.info, [park, record](std::uint32_t, Arguments a) {
        const std::int32_t index = integer(a, 0);
        record(bindings::serviceValue.info.name, {index});
        return std::uint64_t{index == 0 || index == 1
                                 ? static_cast<std::uint32_t>(park->values[static_cast<std::size_t>(index)])
                                 : 0u};
    });
    named(bindings::setServiceValue.info, [park, record](std::uint32_t, Arguments a) {
        const std::int32_t index = integer(a, 0);
        record(bindings::setServiceValue.info.name, {index, integer(a, 1)});
        if (index == 0 || index == 1) {
            park->values[static_cast<std::size_t>(index)] = integer(a, 1);
        }
        return std::uint64_t{0};
    });
    named(bindings::setServiceCar.info, [park, record](std::uint32_t, Arguments a) {
        park->values[0] = integer(a, 0);
        record(bindings::setServiceCar.info.name, {park->values[0]});
        return std::uint64_t{0};
    });
    const auto copyCar = [&host](std::uint32_t to, std::uint32_t from) {
        std::uint8_t* target = host.memory(to + tableWord, ServicePark::carStateSize - tableWord);
        const std::uint8_t* source = host.memory(from + tableWord, ServicePark::carStateSize - tableWord);
        if (target != nullptr && source != nullptr) {
            std::memmove(target, source, ServicePark::carStateSize - tableWord);
        }
    };
    named(bindings::carStateFromDamage.info, [park, record, copyCar](std::uint32_t, Arguments a) {
        record(bindings::carStateFromDamage.info.name, {});
        copyCar(park->carState.value(), word(a, 0));
        return std::uint64_t{0};
    });
    named(bindings::carStateToDamage.info, [park, record, copyCar](std::uint32_t, Arguments a) {
        record(bindings::carStateToDamage.info.name, {});
        copyCar(word(a, 0), park->carState.value());
        return std::uint64_t{0};
    });
    named(bindings::carDamageApply.info, [park, record, &host](std::uint32_t, Arguments a) {
        record(bindings::carDamageApply.info.name, {park->damageValue});
        if (std::uint8_t* field = host.memory(word(a, 0) + tableWord, 4)) {
            std::memcpy(field, &park->damageValue, sizeof park->damageValue);
        }
        return std::uint64_t{0};
    });
    named(bindings::repairWorkCopy.info, [park, record, &host](std::uint32_t, Arguments a) {
        record(bindings::repairWorkCopy.info.name, {});
        const std::uint32_t size = ServicePark::repairWorkRecords * ServicePark::repairWorkRecordSize;
        std::uint8_t* target = host.memory(word(a, 0), size);
        const std::uint8_t* source = host.memory(park->repairWork.value(), size);
        if (target != nullptr && source != nullptr) {
            std::memmove(target, source, size);
        }
        return std::uint64_t{0};
    });
    named(bindings::repairWorkCrew.info, [record, &host](std::uint32_t, Arguments a) {
        const std::uint32_t at = word(a, 0);
        // The record's own number tells which of the seven it is.
        std::int32_t number = -1;
        if (const std::uint8_t* bytes = host.memory(at, 4)) {
            std::memcpy(&number, bytes, sizeof number);
        }
        record(bindings::repairWorkCrew.info.name, {number, integer(a, 1), integer(a, 2)});
        if (std::uint8_t* crew = host.memory(at + 4, 8)) {
            const std::array<std::int32_t, 2> crewValues{integer(a, 1), integer(a, 2)};
            std::memcpy(crew, crewValues.data(), sizeof crewValues);
        }
        return std::uint64_t{0};
    });
    named(bindings::repairWorkHandOver.info, [park, record, &host](std::uint32_t, Arguments a) {
        record(bindings::repairWorkHandOver.info.name, {});
        const std::uint32_t size = ServicePark::repairWorkRecords * ServicePark::repairWorkRecordSize;
        std::uint8_t* target = host.memory(park->repairWork.value(), size);
        const std::uint8_t* source = host.memory(word(a, 0), size);
        if (target != nullptr && source != nullptr) {
            std::memmove(target, source, size);
        }
        return std::uint64_t{0};
    });
    named(bindings::setRepairTime.info, [park, record](std::uint32_t, Arguments a) {
        park->remaining = floating(a, 0);
        record(bindings::setRepairTime.info.name, {milliseconds(park->remaining)});
        return std::uint64_t{0};
    });
    named(bindings::repairTimeLeft.info, [park, record](std::uint32_t, Arguments) {
        record(bindings::repairTimeLeft.info.name, {});
        return floatBits(park->remaining);
    });
    named(bindings::repairUnderWay.info, [park, record](std::uint32_t, Arguments) {
        record(bindings::repairUnderWay.info.name, {});
        return std::uint64_t{park->repairing ? 1u : 0u};
    });
    named(bindings::repairWorkDone.info, [park, record](std::uint32_t, Arguments) {
        record(bindings::repairWorkDone.info.name, {});
        return std::uint64_t{park->repairing && park->workLeft <= 0.0F ? 1u : 0u};
    });
    named(bindings::stopService.info, [park, record](std::uint32_t, Arguments) {
        record(bindings::stopService.info.name, {});
        park->repairing = false;
        return std::uint64_t{0};
    });
    named(bindings::carDirectory.info, [park, record, &host](std::uint32_t, Arguments a) {
        const std::int32_t slot = integer(a, 0);
        record(bindings::carDirectory.info.name, {slot});
        char text[32] = {};
        std::snprintf(text, sizeof text, "Cars\\Car%02d\\", static_cast<int>(slot));
        if (std::uint8_t* bytes = host.memory(park->carDirectoryText.value(), sizeof text)) {
            std::memcpy(bytes, text, sizeof text);
        }
        return std::uint64_t{park->carDirectoryText.value()};
    });
    named(bindings::loadRepairIni.info, [park, &host, &recorder](std::uint32_t, Arguments a) {
        const char* path = textArgument(a, 0);
        park->lastRepairIni = path == nullptr ? std::string() : std::string(path);
        recorder.recordHostRoutine(bindings::loadRepairIni.info.name, std::span<const std::int32_t>(),
                                   park->lastRepairIni);
        if (park->loadError == 0) {
            std::int32_t work = 0;
            const HostAddress game = host.objects().game;
            if (const std::uint8_t* field = host.memory(game.value() + ServicePark::repairWorkOffset, 4)) {
                std::memcpy(&work, field, sizeof work);
            }
            park->repairing = true;
            park->workLeft = static_cast<float>(work);
        }
        return std::uint64_t{static_cast<std::uint32_t>(park->loadError)};
    });
    named(bindings::hostEventOnce.info, [park, record](std::uint32_t, Arguments a) {
        record(bindings::hostEventOnce.info.name, {integer(a, 0)});
        park->onceHandlers.emplace_back(integer(a, 0), word(a, 1));
        return std::uint64_t{1};
    });
    named(bindings::addHostListener.info, [park, record](std::uint32_t, Arguments a) {
        record(bindings::addHostListener.info.name, {});
        park->listeners.push_back(word(a, 0));
        return std::uint64_t{1};
    });
}

} // namespace

ServicePark& registerServiceParkFakes(SimulatedHost& host, GameRecorder& recorder)
{
    auto park = std::make_shared<ServicePark>(host);
    registerFakes(park, host, recorder);
    return *park;
}

} // namespace zudo::sim
