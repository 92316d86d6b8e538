#pragma once
// Texts of times as the front end, the in-game messages and the file names
// show them.

#include <string>

#include "platform/Platform.hpp"

namespace zudo::util {

// Minutes, seconds and milliseconds, "mm:ss.mmm", behind a sign column: '-'
// for negative values, otherwise '+' when isSigned and a blank when not. Every
// part is truncated, never rounded. 0 is "00:00.000" when signed and
// "--:--.---" (no time) when not; so is a value that is not a number.
std::string formatTime(float seconds, bool isSigned);

// The local date in the user's short date format, a blank, and the time in
// the user's time format forced to 24 hours.
std::string formatDateTime(const platform::CalendarTime& localTime);

} // namespace zudo::util
