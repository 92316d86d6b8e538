#pragma once
// The pieces with which the POSIX implementation reproduces Windows: letter
// case and wildcards as Windows ignores and matches them, file-time
// arithmetic, the en-US texts of dates and times, UTF-8 decoding. The Windows
// build has the real functions and none of this.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/PlatformDetail.hpp"

namespace zudo::platform::detail {

// ---------------------------------------------------------------------------
// Letter case as Windows ignores it in file and profile names (ASCII letters).

constexpr char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool equalIgnoringCase(std::string_view a, std::string_view b);
std::size_t hashIgnoringCase(std::string_view text);
// NTFS order: names compared by their upper-case forms, then byte by byte so
// that the order stays deterministic when two names differ only in case.
bool lessIgnoringCase(std::string_view a, std::string_view b);

// ---------------------------------------------------------------------------
// Wildcards of the directory search: "*" any run, "?" one character, letter
// case ignored; once the name is used up, remaining "." and "*" of the mask
// match nothing (so "*.*" finds names without a dot and "name.*" finds "name").
bool matchesWildcard(std::string_view name, std::string_view mask);
bool hasWildcard(std::string_view text);

// ---------------------------------------------------------------------------
// File times: 100 ns units since 1601-01-01 00:00 UTC.

constexpr std::int64_t fileTimeTicksPerSecond = 10'000'000;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t unixEpochInFileTimeSeconds = 11'644'473'600;

std::int64_t unixTimeToFileTime(std::int64_t seconds, std::int64_t nanoseconds);
// Windows' rules: false for a field out of range (day beyond the month
// included) or a year before 1601; the day of the week is ignored.
bool calendarToFileTime(const CalendarTime& time, std::int64_t& fileTime);
// False for a negative file time; the day of the week is computed.
bool fileTimeToCalendar(std::int64_t fileTime, CalendarTime& time);

// The texts of Windows' en-US user default locale: the short date "M/d/yyyy"
// and the time "h:mm:ss tt" with the hour forced to 24 hours. Windows keeps
// the AM/PM marker in that case ("17:10:41 PM"): only TIME_NOTIMEMARKER would
// drop it. Empty for a date or time that Windows refuses to format.
std::string formatShortDateEnUs(const CalendarTime& time);
std::string formatTime24EnUs(const CalendarTime& time);

// ---------------------------------------------------------------------------
// MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS): overlong forms, UTF-16
// surrogates, code points above U+10FFFF, stray continuation bytes and cut
// sequences are invalid.
bool decodeUtf8(std::string_view text, std::u16string& out);

} // namespace zudo::platform::detail
