#pragma once
// Whole numbers read from a text stream as the stream's own operator>> reads
// them in the classic "C" locale with the default format flags, without the
// locale's facets: a sentry's work, a facet lookup and a locale copy per
// number made reading a best-times file of a million lines take seconds.
//
// The rules (those of operator>>): white space (blank, tab, line feed,
// vertical tab, form feed, carriage return) is skipped; at the end of the
// stream the stream fails with eofbit and failbit set and the value is left
// alone. Then an optional '+' or '-' and the digits 0 to 9, as many as follow;
// no digit: the value becomes 0 and the stream fails; a number beyond the
// type's range: the value becomes the nearest limit and the stream fails.
// Reaching the end of the stream sets eofbit. A stream that is not good fails
// at once. The state is set with setstate, so a stream switched to throw
// throws std::ios_base::failure as operator>> does, after the value is set.

#include <cstdint>
#include <iosfwd>

namespace zudo::util {

std::istream& readNumber(std::istream& in, std::int32_t& value);
std::istream& readNumber(std::istream& in, std::int64_t& value);

} // namespace zudo::util
