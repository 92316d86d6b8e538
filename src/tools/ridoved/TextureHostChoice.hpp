#pragma once
// Which implementation answers the texture check in the listing tool: the
// game's own routines when the game's executable can be loaded into the tool
// (Windows build), the file system otherwise. The executable is looked for
// and loaded at the first texture question, not before.

#include <iosfwd>

namespace zudo::tools::ridoved {

// Makes the texture check of this process choose at its first question. When
// the executable cannot be loaded, one line on err names the executable looked
// for and says that textures are checked on the file system directly. The
// native build always uses the file system, without that line.
void useGameExecutableWhenAvailable(std::ostream& err);

} // namespace zudo::tools::ridoved
