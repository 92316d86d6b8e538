#pragma once
// Fakes of the host's car damage routines, for the rally engine's damage
// record (made, repaired and copied only by these routines). Register them
// after SimulatedHost::reset():
//
// - constructor (0x4EF410, member): the record's first word points at a
//   virtual table in the simulated heap whose slot 3 is the repair fake; every
//   byte after that word is set to carAsNew;
// - repair (slot 3 of that table, member, no argument): sets every byte after
//   the table word to carAsNew again;
// - copy (0x4EC470, member, the source record's address): copies the source's
//   bytes after its table word into the object; returns the object.
//
// Tests damage a car by writing other bytes into a record.

#include <cstdint>

#include "sim/host/SimulatedHost.hpp"
#include "sim/record/GameRecorder.hpp"

namespace zudo::sim {

struct CarDamageFakes {
    static constexpr std::uint32_t recordSize = 16048;
    static constexpr std::uint8_t carAsNew = 0x11;
    // The address the repair fake is registered at (outside the image).
    static constexpr std::uint32_t repairRoutine = 0x7E000010;

    // How often each fake ran since registration.
    int constructed = 0;
    int repaired = 0;
    int copied = 0;
};

// Registers the three fakes; the counters live as long as the host keeps
// them (until the next reset). With a recorder, every call is recorded as
// constructCarDamage, repairCarDamage or copyCarDamage (no arguments: the
// records are host memory whose addresses say nothing).
CarDamageFakes& registerCarDamageFakes(SimulatedHost& host, GameRecorder* recorder = nullptr);

} // namespace zudo::sim
