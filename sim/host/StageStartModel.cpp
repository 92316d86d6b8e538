#include "sim/host/StageStartModel.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "io/FileStreams.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"

namespace zudo::sim {

namespace {

namespace bindings = util::mem::bindings;
using legacy::support::WeatherEntry;
using util::mem::WeatherControlView;

constexpr std::uint32_t carCount = 8;
constexpr std::uint32_t weatherModeOffset = util::mem::StageStartRecordView::weatherModeOffset;
constexpr std::uint32_t stageStartRecord = 0x16607F8;

bool isCarSlot(std::int64_t slot) { return slot >= 0 && slot < carCount; }

std::int32_t int32Argument(std::span<const std::uint64_t> arguments, std::size_t index)
{
    return index < arguments.size() ? static_cast<std::int32_t>(static_cast<std::uint32_t>(arguments[index]))
                                     : 0;
}

const char* textArgument(std::span<const std::uint64_t> arguments, std::size_t index)
{
    return index < arguments.size() ? reinterpret_cast<const char*>(static_cast<std::uintptr_t>(arguments[index]))
                                    : nullptr;
}

std::uint64_t result(std::int32_t value)
{
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(value));
}

// The host's 32-bit int at address; 0 outside its memory.
std::int32_t readInt(SimulatedHost& host, std::uint32_t address)
{
    std::int32_t value = 0;
    if (const std::uint8_t* bytes = host.memory(address, sizeof value)) {
        std::memcpy(&value, bytes, sizeof value);
    }
    return value;
}

void writeInt(SimulatedHost& host, std::uint32_t address, std::int32_t value)
{
    if (std::uint8_t* bytes = host.memory(address, sizeof value)) {
        std::memcpy(bytes, &value, sizeof value);
    }
}

std::uint32_t weatherControl(SimulatedHost& host)
{
    return static_cast<std::uint32_t>(readInt(host, bindings::weatherControl.info.address));
}

std::uint32_t activeSetup(SimulatedHost& host)
{
    return static_cast<std::uint32_t>(readInt(host, bindings::activeSetup.info.address));
}

void record(GameRecorder& recorder, const char* name, std::initializer_list<std::int32_t> numbers,
            std::string_view text = {}, bool hasText = false)
{
    const std::vector<std::int32_t> copy(numbers);
    if (hasText) {
        recorder.recordHostRoutine(name, copy, text);
    } else {
        recorder.recordHostRoutine(name, copy);
    }
}

// ---- weather -------------------------------------------------------------------

template <std::size_t N>
std::uint32_t writeIndexList(SimulatedHost& host, const std::uint16_t (&indexes)[N])
{
    const util::mem::HostAddress list = host.allocate(static_cast<std::uint32_t>(sizeof indexes));
    std::memcpy(host.memory(list.value(), sizeof indexes), indexes, sizeof indexes);
    return list.value();
}

std::int32_t selectWeather(SimulatedHost& host, std::uint32_t control)
{
    const std::int32_t mode = readInt(host, stageStartRecord + weatherModeOffset);
    const bool bad = mode == 2 || (mode == 1 && readInt(host, control + weather_model::pickBadOffset) != 0);
    const std::uint32_t list = static_cast<std::uint32_t>(
        readInt(host, control + (bad ? WeatherControlView::badIndexesOffset : WeatherControlView::goodIndexesOffset)));
    const std::int32_t count =
        readInt(host, control + (bad ? WeatherControlView::badCountOffset : WeatherControlView::goodCountOffset));
    const std::uint8_t* first = host.memory(list, 2);
    if (count <= 0 || first == nullptr) {
        return -1;
    }
    std::uint16_t index = 0;
    std::memcpy(&index, first, sizeof index);
    if (index >= weather_model::entryCount) {
        return -1;
    }
    WeatherEntry entry;
    std::memcpy(&entry, host.memory(bindings::weatherTable.info.address + index * sizeof(WeatherEntry),
                                    sizeof entry),
                sizeof entry);
    writeInt(host, control + weather_model::tintSetOffset, entry.tintSet);
    writeInt(host, control + weather_model::chosenIndexOffset, index);
    return index;
}

void registerWeatherFakes(SimulatedHost& host, GameRecorder& recorder)
{
    host.registerNamedRoutine(bindings::selectWeather.info.name,
                              [&host, &recorder](std::uint32_t self, std::span<const std::uint64_t>) {
                                  record(recorder, bindings::selectWeather.info.name, {});
                                  return result(selectWeather(host, self));
                              });
    host.registerNamedRoutine(bindings::weatherTrackWear.info.name,
                              [&host, &recorder](std::uint32_t self, std::span<const std::uint64_t>) {
                                  record(recorder, bindings::weatherTrackWear.info.name, {});
                                  return result(readInt(host, self + weather_model::trackWearOffset));
                              });
    host.registerNamedRoutine(bindings::setWeatherTrackWear.info.name,
                              [&host, &recorder](std::uint32_t self, std::span<const std::uint64_t> arguments) {
                                  const std::int32_t wear = int32Argument(arguments, 0);
                                  record(recorder, bindings::setWeatherTrackWear.info.name, {wear});
                                  writeInt(host, self + weather_model::trackWearOffset, wear);
                                  return std::uint64_t{0};
                              });
}

// ---- setups --------------------------------------------------------------------

// The file's bytes into the record: at most a record's size, the rest zero.
bool loadSetupFile(SimulatedHost& host, std::uint32_t target, const char* path)
{
    std::uint8_t* bytes = host.memory(target, setup_model::recordSize);
    std::string contents;
    if (bytes == nullptr || path == nullptr ||
        !io::readWholeFile(host.installDirectory() + path, contents) || contents.empty()) {
        return false;
    }
    const std::size_t size = std::min<std::size_t>(contents.size(), setup_model::recordSize);
    std::memset(bytes, 0, setup_model::recordSize);
    std::memcpy(bytes, contents.data(), size);
    return true;
}

std::uint32_t carSetupRecord(SimulatedHost& host, std::int32_t slot)
{
    return isCarSlot(slot) ? host.objects().carSetups.value() + static_cast<std::uint32_t>(slot) * setup_model::recordSize
                           : 0;
}

std::int32_t nameSetupFile(SimulatedHost& host, const char* name, std::uint32_t buffer, std::int32_t size)
{
    const setup_model::ParsedName parsed = setup_model::parseSetupFileName(name == nullptr ? "" : name);
    if (parsed.index < 0) {
        return -1;
    }
    const std::string display =
        parsed.label.empty() ? "Setup " + std::to_string(parsed.index) : std::string(parsed.label);
    if (size > 0) {
        const std::size_t room = static_cast<std::size_t>(size);
        if (std::uint8_t* bytes = host.memory(buffer, static_cast<std::uint32_t>(room))) {
            const std::size_t length = std::min(display.size(), room - 1);
            std::memcpy(bytes, display.data(), length);
            bytes[length] = 0;
        }
    }
    return parsed.index;
}

void registerSetupFakes(SimulatedHost& host, GameRecorder& recorder)
{
    host.registerNamedRoutine(
        bindings::setupRecordOfCar.info.name, [&host, &recorder](std::uint32_t, std::span<const std::uint64_t> a) {
            const std::int32_t slot = int32Argument(a, 0);
            record(recorder, bindings::setupRecordOfCar.info.name, {slot});
            return std::uint64_t{carSetupRecord(host, slot)};
        });
    host.registerNamedRoutine(
        bindings::setupLoadDefault.info.name, [&host, &recorder](std::uint32_t, std::span<const std::uint64_t> a) {
            const std::int32_t slot = int32Argument(a, 0);
            record(recorder, bindings::setupLoadDefault.info.name, {slot, int32Argument(a, 1)});
            std::uint8_t* bytes = host.memory(activeSetup(host), setup_model::recordSize);
            if (!isCarSlot(slot) || bytes == nullptr) {
                return std::uint64_t{0};
            }
            std::memset(bytes, setup_model::defaultSetupByte + slot, setup_model::recordSize);
            return std::uint64_t{1};
        });
    host.registerNamedRoutine(
        bindings::setupLoadFile.info.name, [&host, &recorder](std::uint32_t, std::span<const std::uint64_t> a) {
            const char* path = textArgument(a, 0);
            record(recorder, bindings::setupLoadFile.info.name, {}, path == nullptr ? "" : path, true);
            return std::uint64_t{loadSetupFile(host, activeSetup(host), path) ? 1u : 0u};
        });
    host.registerNamedRoutine(
        bindings::setupLoadFileInto.info.name, [&host, &recorder](std::uint32_t, std::span<const std::uint64_t> a) {
            const auto target = static_cast<std::uint32_t>(int32Argument(a, 0));
            const char* path = textArgument(a, 1);
            record(recorder, bindings::setupLoadFileInto.info.name, {static_cast<std::int32_t>(target)},
                   path == nullptr ? "" : path, true);
            return std::uint64_t{loadSetupFile(host, target, path) ? 1u : 0u};
        });
    host.registerNamedRoutine(
        bindings::setupApply.info.name, [&recorder](std::uint32_t, std::span<const std::uint64_t> a) {
            const std::int32_t slot = int32Argument(a, 0);
            record(recorder, bindings::setupApply.info.name, {slot, int32Argument(a, 1)});
            return std::uint64_t{isCarSlot(slot) ? 1u : 0u};
        });
    host.registerNamedRoutine(
        bindings::setupCheck.info.name, [&recorder](std::uint32_t, std::span<const std::uint64_t> a) {
            const std::int32_t slot = int32Argument(a, 0);
            record(recorder, bindings::setupCheck.info.name, {slot});
            return std::uint64_t{isCarSlot(slot) ? 1u : 0u};
        });
    host.registerNamedRoutine(
        bindings::setupFileIndex.info.name, [&host, &recorder](std::uint32_t, std::span<const std::uint64_t> a) {
            const char* name = textArgument(a, 0);
            const auto buffer = static_cast<std::uint32_t>(int32Argument(a, 1));
            const std::int32_t size = int32Argument(a, 2);
            record(recorder, bindings::setupFileIndex.info.name, {static_cast<std::int32_t>(buffer), size},
                   name == nullptr ? "" : name, true);
            return result(nameSetupFile(host, name, buffer, size));
        });
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return lower(a) == lower(b); });
}

} // namespace

namespace weather_model {

WeatherEntry defaultEntry(std::uint32_t index)
{
    const auto code = [index](std::uint32_t modulus) { return static_cast<std::int32_t>(index % modulus); };
    return WeatherEntry{static_cast<std::int32_t>(1 + index / 4), code(3), code(4), code(3), code(10), code(3)};
}

} // namespace weather_model

namespace setup_model {

ParsedName parseSetupFileName(std::string_view name)
{
    constexpr std::string_view prefix = "slot";
    constexpr std::string_view extension = ".lsp";
    if (!startsWithIgnoringCase(name, prefix) || name.size() < prefix.size() + extension.size() ||
        !startsWithIgnoringCase(name.substr(name.size() - extension.size()), extension)) {
        return {};
    }
    std::string_view middle = name.substr(prefix.size(), name.size() - prefix.size() - extension.size());
    std::size_t digits = 0;
    std::int32_t index = 0;
    while (digits < middle.size() && middle[digits] >= '0' && middle[digits] <= '9') {
        index = index * 10 + (middle[digits] - '0');
        ++digits;
    }
    if (digits == 0 || digits > 3) {
        return {};
    }
    middle.remove_prefix(digits);
    if (middle.empty()) {
        return {index, {}};
    }
    if (middle.front() != '_' || middle.size() == 1) {
        return {};
    }
    return {index, middle.substr(1)};
}

} // namespace setup_model

void createStageStartObjects(SimulatedHost& host)
{
    std::array<WeatherEntry, weather_model::entryCount> table;
    for (std::uint32_t i = 0; i < weather_model::entryCount; ++i) {
        table[i] = weather_model::defaultEntry(i);
    }
    std::memcpy(host.memory(bindings::weatherTable.info.address, sizeof table), table.data(), sizeof table);

    const std::uint32_t control = weatherControl(host);
    writeInt(host, control + WeatherControlView::goodIndexesOffset,
             static_cast<std::int32_t>(writeIndexList(host, weather_model::goodIndexes)));
    writeInt(host, control + WeatherControlView::goodCountOffset,
             static_cast<std::int32_t>(std::size(weather_model::goodIndexes)));
    writeInt(host, control + WeatherControlView::badIndexesOffset,
             static_cast<std::int32_t>(writeIndexList(host, weather_model::badIndexes)));
    writeInt(host, control + WeatherControlView::badCountOffset,
             static_cast<std::int32_t>(std::size(weather_model::badIndexes)));
    writeInt(host, control + weather_model::chosenIndexOffset, -1);

    const std::uint32_t records = host.objects().carSetups.value();
    for (std::uint32_t slot = 0; slot < carCount; ++slot) {
        std::memset(host.memory(records + slot * setup_model::recordSize, setup_model::recordSize),
                    setup_model::carRecordByte + static_cast<int>(slot), setup_model::recordSize);
    }
}

void registerStageStartFakes(SimulatedHost& host, GameRecorder& recorder)
{
    registerWeatherFakes(host, recorder);
    registerSetupFakes(host, recorder);
}

} // namespace zudo::sim
