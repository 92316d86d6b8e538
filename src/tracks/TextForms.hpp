#pragma once
// The saved text forms of weather entries and track conditions: decimal codes
// each followed by one blank, read back with the stream set to throw so that
// the first failed extraction stops the read.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <string>

namespace zudo::tracks {

void writeCodes(std::ostream& out, std::initializer_list<std::int32_t> codes);

// Reads the codes in order. On a failed extraction, reportFailure receives the
// error's text; the stream stays failed and gets its exception mask back.
void readCodes(std::istream& in, std::initializer_list<std::int32_t*> codes,
               const std::function<void(const std::string&)>& reportFailure);

} // namespace zudo::tracks
