#pragma once
// Reading and writing the saved text forms (one object a line, classic "C"
// locale). A form is read with its stream switched to throw, so that the first
// failed extraction ends the reading; the failure is logged and the stream's
// previous setting restored, leaving its failure state for the caller to test.
// Weather entries and track conditions are decimal codes each followed by one
// blank.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <string>

namespace zudo::tracks {

// Runs read with the stream throwing on failure. When an extraction fails,
// logs location, " - " and describe(error text), and returns false; the
// stream keeps its failure state. Returns true when read completed.
bool readThrowing(std::istream& in, const char* location,
                  const std::function<std::string(const std::string&)>& describe,
                  const std::function<void()>& read);

void writeCodes(std::ostream& out, std::initializer_list<std::int32_t> codes);

// Reads the codes in order, as readThrowing reads.
void readCodes(std::istream& in, std::initializer_list<std::int32_t*> codes, const char* location,
               const std::function<std::string(const std::string&)>& describe);

} // namespace zudo::tracks
