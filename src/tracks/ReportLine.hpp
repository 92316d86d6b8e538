#pragma once
// Console reports written as whole lines: one insertion per line, so that an
// unbuffered stream (standard error) gets one write per line, not one per
// piece, and lines of a long run cost little.

#include <ostream>
#include <sstream>
#include <string>

namespace zudo::tracks {

// Writes the pieces, then a line end, as one line, and flushes.
template <class... Pieces>
void reportLine(std::ostream& out, const Pieces&... pieces)
{
    std::ostringstream line;
    line.imbue(out.getloc());
    (line << ... << pieces) << '\n';
    out << line.str() << std::flush;
}

} // namespace zudo::tracks
