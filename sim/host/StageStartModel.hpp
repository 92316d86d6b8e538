#pragma once
// The simulated game's side of a stage start that the real game keeps behind
// routines without a known address: its weather table with the good and bad
// index lists and the choice of weather, and its setup manager with the
// naming of saved setup files. README ("The simulated game") documents it.
//
// Weather (written at every reset):
//   table 0x7D34C8, entry i of 319: stage 1 + i / 4, tint set i % 3, sky i % 4,
//     time of day i % 3, conditions i % 10, surface i % 3;
//   good list (weather control +72 pointer, +80 count): indexes 0 1 2 5;
//   bad list (+76 pointer, +84 count): indexes 3 4 6 7 8 9 (16-bit each, in
//     the simulated heap);
//   the simulator's own fields of the weather control object: +0x60 the tint
//     set of the chosen weather (currentTintSet gives it), +0x64 Random picks
//     from the bad list when not 0 (set-int *0x7C36A8+0x64 1), +0x68 the index
//     of the entry chosen last (-1 none), +0x6C the track wear.
//   selectWeather: the weather mode of the stage-start record (+80) says the
//     list: Bad (2) the bad list, Random (1) the bad list when +0x64 is not 0,
//     otherwise the good list; the first index of that list is the choice.
//     It sets +0x60 to that entry's tint set and +0x68 to the index and
//     returns it; -1 (and nothing set) for an empty list or an index outside
//     the table.
//   weatherTrackWear gives +0x6C; setWeatherTrackWear sets it.
//
// Setups:
//   every car (slot 0..7) has a setup record of 5888 bytes, each byte
//     0xC0 + slot at reset (setupRecordOfCar; 0 for another slot);
//   setupLoadDefault(slot, stage): every byte of the active setup (0x7ECD00)
//     becomes 0xD0 + slot; false for a slot outside 0..7;
//   setupLoadFile(path) / setupLoadFileInto(record, path): the file's bytes
//     (path below the installation directory) into the active setup / the
//     record, at most 5888, the rest zero; false for a missing or empty file;
//   setupApply(slot, stage), setupCheck(slot): true for slots 0..7;
//   setupFileIndex(name, buffer, size): a name (letter case ignored) "slot",
//     one to three digits N, optionally "_" and a label, then ".lsp" gives
//     index N and the display name label, or "Setup N" without one (cut to
//     size - 1 bytes, NUL-ended, into buffer); any other name gives -1.
//
// Every one of these routines is recorded as a HostCall line with its
// arguments; a text argument (a file name) is written quoted after the
// numbers, in place of its pointer.

#include <cstdint>
#include <string_view>

#include "sim/host/HostFakes.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "sim/record/GameRecorder.hpp"
#include "tracks/WeatherEntry.hpp"

namespace zudo::sim {

namespace weather_model {
inline constexpr std::uint32_t tintSetOffset = simulatedTintSetOffset;
inline constexpr std::uint32_t pickBadOffset = 0x64;
inline constexpr std::uint32_t chosenIndexOffset = 0x68;
inline constexpr std::uint32_t trackWearOffset = 0x6C;
inline constexpr std::uint32_t entryCount = 319;
inline constexpr std::uint16_t goodIndexes[] = {0, 1, 2, 5};
inline constexpr std::uint16_t badIndexes[] = {3, 4, 6, 7, 8, 9};

// Entry i of the table at reset.
legacy::support::WeatherEntry defaultEntry(std::uint32_t index);
} // namespace weather_model

namespace setup_model {
inline constexpr std::uint32_t recordSize = 5888;
inline constexpr std::uint8_t carRecordByte = 0xC0; // + slot
inline constexpr std::uint8_t defaultSetupByte = 0xD0; // + slot

struct ParsedName {
    std::int32_t index = -1;
    std::string_view label; // empty: "Setup N"
};
// The naming rule of saved setup files.
ParsedName parseSetupFileName(std::string_view name);
} // namespace setup_model

// Writes the weather table, the index lists and the cars' setup records into
// a host just reset (SimulatedHost::reset calls it).
void createStageStartObjects(SimulatedHost& host);

// Registers the routines above; recorder receives the calls. Both must outlive
// the fakes (until the host's next reset).
void registerStageStartFakes(SimulatedHost& host, GameRecorder& recorder);

} // namespace zudo::sim
