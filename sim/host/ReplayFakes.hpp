#pragma once
// The game's replay routines and its front-end object as the simulator plays
// them:
//
// - saveReplay (0x49B030, on the replay object): recorded with the name as a
//   text, then stage, car slot and the flag; returns saveResult (1).
// - playReplay (0x499FB0): recorded; returns playResult (1).
// - The front-end object (pointer at 0x165FC48): its virtual operation 9
//   (frontEndMenuPage, recorded with the page number) gives the menu pages 17
//   and 25, or null for any other number. A page holds the pointer to its
//   array of entry pointers at +12 and its entry count at +20 (12 entries
//   each; a test may lower the count). Each entry's virtual operation 4
//   (menuEntrySwitch) is recorded as page number, entry number and the value,
//   which the entry keeps at +12 (1 at the start).

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "sim/host/SimulatedHost.hpp"
#include "sim/record/GameRecorder.hpp"

namespace zudo::sim {

struct ReplayHost {
    static constexpr std::uint32_t menuPageRoutine = 0x7E000200;
    static constexpr std::uint32_t entrySwitchRoutine = 0x7E000204;
    static constexpr std::uint32_t pageEntriesOffset = 12;
    static constexpr std::uint32_t pageCountOffset = 20;
    static constexpr std::uint32_t entryValueOffset = 12;
    static constexpr std::int32_t entriesPerPage = 12;

    SimulatedHost* host = nullptr;
    HostAddress frontEnd;
    std::map<std::int32_t, HostAddress> pages; // page number -> page
    std::int32_t saveResult = 1;
    std::int32_t playResult = 1;

    // The entry's current value (the last one switched to), or nothing when
    // the page or the entry does not exist.
    std::optional<std::int32_t> entryValue(std::int32_t page, std::int32_t entry) const;
    // Sets a page's entry count (its array keeps all twelve entries).
    void setEntryCount(std::int32_t page, std::int32_t count) const;
};

// Registers the fakes and builds the front-end object (after the host's
// reset); the model lives as long as the fakes.
ReplayHost& registerReplayFakes(SimulatedHost& host, GameRecorder& recorder);

} // namespace zudo::sim
