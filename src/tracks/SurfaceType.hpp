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
// The process has one jump, whichever number of hooks (plug-in objects) are
// installed: the first writes it, the others share it, and the game's bytes
// come back when the last one is uninstalled. A jump that cannot be taken
// back is never forgotten: it stays, its entry with it, and the hook still
// holds it, so that the game never jumps into nothing.
class SurfaceTypeHook {
public:
    SurfaceTypeHook() = default;
    ~SurfaceTypeHook();
    SurfaceTypeHook(const SurfaceTypeHook&) = delete;
    SurfaceTypeHook& operator=(const SurfaceTypeHook&) = delete;

    // Writes the jump (or shares it). False (and one log record) when the
    // game's executable is not there, its code cannot be patched or already
    // starts with a jump of someone else: the game then keeps its routine.
    // True when the jump is in place, also when this hook already held it.
    bool install();
    bool isInstalled() const;
    // Lets go of the jump; the last hook puts the game's bytes back. False
    // (and one log record) when they cannot be put back: the hook then still
    // holds the jump, and a later call tries again.
    bool uninstall();

private:
    bool holding_ = false;
};

} // namespace zudo::tracks
