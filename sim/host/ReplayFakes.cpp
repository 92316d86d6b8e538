#include "sim/host/ReplayFakes.hpp"

#include <array>
#include <cstring>
#include <memory>

#include "util/mem/Bindings.hpp"

namespace zudo::sim {

namespace {

namespace bindings = util::mem::bindings;
using Arguments = std::span<const std::uint64_t>;

constexpr std::array<std::int32_t, 2> menuPages{17, 25};
constexpr std::uint32_t tableSlots = 16;
constexpr std::uint32_t entryPageOffset = 4;
constexpr std::uint32_t entryNumberOffset = 8;

std::int32_t integer(Arguments arguments, std::size_t index)
{
    return index < arguments.size() ? static_cast<std::int32_t>(static_cast<std::uint32_t>(arguments[index]))
                                    : 0;
}

void writeWord(SimulatedHost& host, std::uint32_t address, std::uint32_t value)
{
    if (std::uint8_t* bytes = host.memory(address, 4)) {
        std::memcpy(bytes, &value, sizeof value);
    }
}

std::int32_t readInt(SimulatedHost& host, std::uint32_t address)
{
    std::int32_t value = 0;
    if (const std::uint8_t* bytes = host.memory(address, 4)) {
        std::memcpy(&value, bytes, sizeof value);
    }
    return value;
}

// A virtual table of tableSlots entries with routine in slot.
HostAddress tableWith(SimulatedHost& host, std::uint32_t slot, std::uint32_t routine)
{
    const HostAddress table = host.allocate(tableSlots * 4);
    writeWord(host, table.value() + slot * 4, routine);
    return table;
}

void buildFrontEnd(ReplayHost& model, SimulatedHost& host)
{
    model.frontEnd = host.allocate(16);
    writeWord(host, model.frontEnd.value(), tableWith(host, 9, ReplayHost::menuPageRoutine).value());
    writeWord(host, bindings::frontEnd.info.address, model.frontEnd.value());
    const HostAddress entryTable = tableWith(host, 4, ReplayHost::entrySwitchRoutine);
    for (const std::int32_t number : menuPages) {
        const HostAddress page = host.allocate(32);
        const HostAddress entries = host.allocate(ReplayHost::entriesPerPage * 4);
        for (std::int32_t i = 0; i < ReplayHost::entriesPerPage; ++i) {
            const HostAddress entry = host.allocate(16);
            writeWord(host, entry.value(), entryTable.value());
            writeWord(host, entry.value() + entryPageOffset, static_cast<std::uint32_t>(number));
            writeWord(host, entry.value() + entryNumberOffset, static_cast<std::uint32_t>(i));
            writeWord(host, entry.value() + ReplayHost::entryValueOffset, 1);
            writeWord(host, entries.value() + static_cast<std::uint32_t>(i) * 4, entry.value());
        }
        writeWord(host, page.value() + ReplayHost::pageEntriesOffset, entries.value());
        writeWord(host, page.value() + ReplayHost::pageCountOffset, ReplayHost::entriesPerPage);
        model.pages[number] = page;
    }
}

} // namespace

std::optional<std::int32_t> ReplayHost::entryValue(std::int32_t page, std::int32_t entry) const
{
    const auto found = pages.find(page);
    if (host == nullptr || found == pages.end() || entry < 0 || entry >= entriesPerPage) {
        return std::nullopt;
    }
    const auto entries = static_cast<std::uint32_t>(readInt(*host, found->second.value() + pageEntriesOffset));
    const auto at = static_cast<std::uint32_t>(readInt(*host, entries + static_cast<std::uint32_t>(entry) * 4));
    return readInt(*host, at + entryValueOffset);
}

void ReplayHost::setEntryCount(std::int32_t page, std::int32_t count) const
{
    if (const auto found = pages.find(page); host != nullptr && found != pages.end()) {
        writeWord(*host, found->second.value() + pageCountOffset, static_cast<std::uint32_t>(count));
    }
}

ReplayHost& registerReplayFakes(SimulatedHost& host, GameRecorder& recorder)
{
    // Owned by the fakes, which live until the host's next reset.
    auto model = std::make_shared<ReplayHost>();
    model->host = &host;
    buildFrontEnd(*model, host);

    host.registerRoutine(bindings::saveReplay.info.address, [model, &recorder](std::uint32_t, Arguments a) {
        const char* name = a.empty() ? nullptr : reinterpret_cast<const char*>(static_cast<std::uintptr_t>(a[0]));
        const std::array<std::int32_t, 3> rest{integer(a, 1), integer(a, 2), integer(a, 3)};
        recorder.recordHostRoutine(bindings::saveReplay.info.name, rest,
                                   name == nullptr ? std::string_view() : std::string_view(name));
        return std::uint64_t{static_cast<std::uint32_t>(model->saveResult)};
    });
    host.registerRoutine(bindings::playReplay.info.address, [model, &recorder](std::uint32_t, Arguments) {
        recorder.recordHostRoutine(bindings::playReplay.info.name, std::span<const std::int32_t>());
        return std::uint64_t{static_cast<std::uint32_t>(model->playResult)};
    });
    host.registerRoutine(ReplayHost::menuPageRoutine, [model, &recorder](std::uint32_t, Arguments a) {
        const std::array<std::int32_t, 1> number{integer(a, 0)};
        recorder.recordHostRoutine("frontEndMenuPage", number);
        const auto page = model->pages.find(number[0]);
        return std::uint64_t{page == model->pages.end() ? 0u : page->second.value()};
    });
    host.registerRoutine(ReplayHost::entrySwitchRoutine, [&host, &recorder](std::uint32_t self, Arguments a) {
        const std::array<std::int32_t, 3> switched{readInt(host, self + entryPageOffset),
                                                   readInt(host, self + entryNumberOffset), integer(a, 0)};
        recorder.recordHostRoutine("menuEntrySwitch", switched);
        writeWord(host, self + ReplayHost::entryValueOffset, static_cast<std::uint32_t>(switched[2]));
        return std::uint64_t{0};
    });
    return *model;
}

} // namespace zudo::sim
