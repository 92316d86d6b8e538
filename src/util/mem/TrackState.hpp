#pragma once
// The host's description of the track being loaded, and its saved-game file
// routines.

#include <cstdint>
#include <string>

#include "util/mem/HostViews.hpp"

namespace zudo::util::mem {

// The parameter block of the host's current track (track object at 0x7EA678,
// +0x70); a null view when the host or the track object is not there.
TrackParameters trackParameters();

// A value of the current track's ini settings (through the parameter block's
// track ini handler); empty when the section or the key is missing or there is
// no track.
std::string trackIniValue(const std::string& section, const std::string& key);

// Saved games, through a host file object the caller provides. Each is
// refused (false, or nothing) when the routine cannot be called.
// Opens "SavedGames/" + name (the host puts the directory in front): true
// exactly when the host's routine returns 1.
bool openSavedGame(HostAddress file, const std::string& name);

} // namespace zudo::util::mem
