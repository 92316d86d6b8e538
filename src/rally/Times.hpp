#pragma once
// Whole units of the times the system keeps. Times are seconds in 32-bit
// floats; files hold whole milliseconds, and every difference shown or stored
// is taken between whole milliseconds.

#include <cstdint>

namespace zudo::rally {

// The time in whole milliseconds, cut toward zero. A float that is the one
// nearest to a whole number of milliseconds counts as exactly that number:
// 1.234 read from a file is held as a float just below 1.234 and must be
// written back as 1234, not 1233, or records would lose a millisecond at
// every rewrite. Anything between milliseconds is cut (61.2345 gives 61234).
// Values that are not finite give 0; huge ones are held at the int range.
std::int32_t wholeMilliseconds(float seconds);

// The time cut toward zero to whole seconds (10.7 gives 10), held at the int
// range; 0 for values that are not finite.
std::int32_t wholeSeconds(float seconds);

// a minus b in seconds, both first cut to whole milliseconds.
float timeDifference(float a, float b);

} // namespace zudo::rally
