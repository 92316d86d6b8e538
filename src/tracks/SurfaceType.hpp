#pragma once
// The surface type of a map (0 gravel, 1 tarmac, 2 snow), which Maps\Tracks.ini
// may set for any map, and the hook that makes the game ask us for it.

#include <cstdint>
#include <optional>

#include "util/mem/HostCall.hpp"
#include "util/mem/MemoryPatch.hpp"

namespace zudo::tracks {

enum SurfaceType : int { Gravel = 0, Tarmac = 1, Snow = 2 };

// The game's own answer: snow for maps 10 to 18, tarmac for 41 to 49, 73, 85
// and 86, gravel for every other map.
int defaultSurfaceType(int map);

// The key "Surface" of section MapNN of Maps\Tracks.ini decides when it holds
// 0 (tarmac), 1 (gravel) or 2 (snow): note that the file's 0 and 1 are the
// reverse of the game's codes. Any other value (99 when the key is missing)
// leaves the default. The file is read at every call.
int mapSurfaceType(int map);

// Replaces the game's routine for a map's surface type (0x4A1330) by a jump to
// mapSurfaceType. The game calls that routine as a free function of the C
// convention (cdecl): the map number on the stack, the result in EAX, the
// caller removes the argument. The hook has exactly that convention, so the
// game's call and return work unchanged whichever of its call sites jumps in.
//
// The jump stays while the object lives; destroying it puts the game's bytes
// back (the plug-in object owns it, and the game keeps that until it exits).
class SurfaceTypeHook {
public:
    SurfaceTypeHook() = default;
    ~SurfaceTypeHook();
    SurfaceTypeHook(const SurfaceTypeHook&) = delete;
    SurfaceTypeHook& operator=(const SurfaceTypeHook&) = delete;

    // Writes the jump. False (and one log record) when the game's executable
    // is not there or its code cannot be patched: the game then keeps its own
    // routine. True when the jump is in place, also when it already was.
    bool install();
    bool isInstalled() const;
    void uninstall();

private:
    util::mem::PluginRoutine routine_;
    std::optional<util::mem::JumpPatch> patch_;
};

} // namespace zudo::tracks
