#pragma once
// The replacement host's core (native build only): what the plug-in finds
// where the real game would be. It serves the C interface of
// src/util/mem/replacement/ReplacementHost.h:
//
// - a simulated 32-bit host address space, zero-filled at start: the game
//   executable's image range 0x00400000-0x017FFFFF (so host objects sit at
//   their fixed addresses), the two host libraries' first megabyte at
//   0x60000000 and 0x61000000, and a heap at 0x20000000 for the objects
//   behind the host's pointers and for what the plug-in or a test allocates;
// - fakes of host routines, registered by host address or, for routines whose
//   address is unknown, by binding name; plug-in routines handed to the host
//   get addresses from 0x7F000000 on;
// - a settable tick count and the host executable's path (its directory is
//   the host directory);
// - ranges a test keeps read-only (keepReadOnly), which writes through the
//   host access layer cannot change.
//
// Objects created behind the host's pointers at every reset (all zero-filled
// unless said otherwise; their addresses are in objects()):
//   0x7EAC48  -> game object (0x800 bytes; game mode at +0x728, 0 = INIT)
//   0x7EA678  -> track object (0x100 bytes); +0x70 -> track parameter block
//                (TrackParameters::size bytes, empty strings); its +0x2C ->
//                track ini handler (8 bytes): +0 -> values record, +4 ->
//                backup record (TrackIniHandler::Record), both with an empty
//                section map
//   0x894FB8  -> library table (32 bytes): +20 = 0x60000000, +28 = 0x61000000
//   0x7C36A8  -> weather control object (0x100 bytes)
//   0x165FA90 -> game-state object (4096 bytes); +3224 -> an object of 16 bytes
//   0x7CF398  -> stage preparation object (16 bytes); +4 -> an object of
//                35332 bytes
//   0x893634  -> replay object (64 bytes)
//   0x7ECD00  -> active car setup (5888 bytes)
//   carSetups:   the eight cars' setup records (8 x 5888 bytes), the weather
//                table's default entries and the weather control's index
//                lists (sim/host/StageStartModel.hpp)
// The stage-start record (0x16607F8), the language object (0x8935E0) and the
// weather table (0x7D34C8) lie in the image range itself.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Compiler.hpp"
#include "util/mem/HostAddress.hpp"
#include "util/mem/MsvcLayout.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace zudo::sim {

using util::mem::HostAddress;

// A fake host routine: the host object (0 for a free routine) and the
// arguments widened to 64 bits; returns the result widened to 64 bits.
using RoutineFake = std::function<std::uint64_t(std::uint32_t self, std::span<const std::uint64_t> arguments)>;

class SimulatedHost {
public:
    static constexpr std::uint32_t imageStart = 0x00400000;
    static constexpr std::uint32_t imageEnd = 0x01800000;
    static constexpr std::uint32_t heapStart = 0x20000000;
    static constexpr std::uint32_t heapSize = 64u << 20;
    static constexpr std::uint32_t librarySize = 1u << 20;
    static constexpr std::uint32_t pluginRoutineStart = 0x7F000000;

    struct Objects {
        HostAddress game;
        HostAddress track;
        HostAddress trackParameters;
        HostAddress trackIniHandler;
        HostAddress trackIniValues;
        HostAddress trackIniBackup;
        HostAddress libraryTable;
        HostAddress weatherControl;
        HostAddress gameState;
        HostAddress stagePreparation;
        HostAddress replay;
        HostAddress activeSetup;
        HostAddress carSetups;
    };

    // The process's one replacement host, built on first use.
    static SimulatedHost& instance();

    // Back to the start: zero-filled memory, the objects above, no fakes, tick
    // count 0, executable path unchanged.
    void reset();
    // Makes the host access layer of this program use this host (for programs
    // that link the code directly; the plug-in library finds
    // zudo_replacement_host instead).
    void registerAsHost();
    const ::ZudoReplacementHost* interface() const;

    // Memory.
    std::uint8_t* memory(std::uint32_t address, std::uint32_t size);
    // Like memory, but null when any byte lies in a read-only range.
    std::uint8_t* writableMemory(std::uint32_t address, std::uint32_t size);
    // Makes [address, + size) read-only for the host access layer's writes
    // until reset (as the game's process keeps its code): reads, and patches
    // (which lift the protection in the game too), still reach it.
    void keepReadOnly(std::uint32_t address, std::uint32_t size);
    HostAddress allocate(std::uint32_t size);
    void release(HostAddress address);
    const Objects& objects() const { return objects_; }

    // Routines.
    void registerRoutine(std::uint32_t address, RoutineFake fake);
    void registerNamedRoutine(const std::string& name, RoutineFake fake);
    void removeRoutine(std::uint32_t address);
    void removeNamedRoutine(const std::string& name);
    // A call allocates nothing (a steady frame of the plug-in makes none).
    std::uint64_t callRoutine(std::uint32_t address, std::uint32_t self,
                              std::span<const std::uint64_t> arguments, bool& found);
    std::uint64_t callNamedRoutine(std::string_view name, std::uint32_t self,
                                   std::span<const std::uint64_t> arguments, bool& found);
    bool hasNamedRoutine(std::string_view name) const;
    std::uint32_t registerPluginRoutine(::ZudoPluginRoutine routine, void* context);
    void unregisterPluginRoutine(std::uint32_t address);

    // Time and place.
    std::uint32_t tickCount() const { return tickCount_; }
    void setTickCount(std::uint32_t milliseconds) { tickCount_ = milliseconds; }
    void advanceTickCount(std::uint32_t milliseconds) { tickCount_ += milliseconds; }
    const std::string& executablePath() const { return executablePath_; }
    // The host directory is the executable's directory (with its separator).
    void setExecutablePath(const std::string& path) { executablePath_ = path; }
    std::string installDirectory() const;

    // Host state the features read.
    void setGameMode(std::int32_t mode);
    // Replaces the current track's ini values: section -> (key -> value).
    void setTrackIni(const std::map<std::string, std::map<std::string, std::string>>& sections);

private:
    SimulatedHost();

    // Pages from the platform: zero-filled, and only touched pages cost memory.
    struct Region {
        Region(std::uint32_t start, std::uint32_t size);
        ~Region();
        Region(Region&& other) noexcept;
        Region& operator=(Region&&) = delete;
        Region(const Region&) = delete;
        Region& operator=(const Region&) = delete;

        std::uint32_t start = 0;
        std::uint32_t size = 0;
        std::uint8_t* bytes = nullptr;
    };
    struct PluginRoutineEntry {
        ::ZudoPluginRoutine routine = nullptr;
        void* context = nullptr;
    };

    void createObjects();
    void writeEmptyIniRecord(HostAddress record);
    util::mem::msvc::HostAllocator allocator();

    std::vector<Region> regions_;
    std::vector<std::pair<std::uint32_t, std::uint64_t>> readOnly_; // [first, end)
    std::uint32_t heapNext_ = heapStart;
    std::multimap<std::uint32_t, std::uint32_t> freeBlocks_; // size -> address
    std::map<std::uint32_t, std::uint32_t> blockSizes_;      // address -> size
    // Shared, so that a call keeps its fake alive while the fake registers or
    // removes fakes, without copying it.
    using SharedFake = std::shared_ptr<const RoutineFake>;
    std::map<std::uint32_t, SharedFake> routines_;
    std::map<std::string, SharedFake, std::less<>> namedRoutines_;
    std::map<std::uint32_t, PluginRoutineEntry> pluginRoutines_;
    std::uint32_t nextPluginRoutine_ = pluginRoutineStart;
    std::uint32_t tickCount_ = 0;
    std::string executablePath_;
    Objects objects_;
    ::ZudoReplacementHost interface_{};
};

} // namespace zudo::sim

// The interface a program acting as host exports (see ReplacementHost.h).
extern "C" ZUDO_EXPORT const ZudoReplacementHost* zudo_replacement_host(void);
