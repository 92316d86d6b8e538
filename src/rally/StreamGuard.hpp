#pragma once
// Reading the saved text forms: the stream is switched to throw while a form
// is read, so that the first failed extraction ends the reading; the failure
// is logged and the stream's previous setting restored, leaving its failure
// state for the caller to test.

#include <functional>
#include <istream>
#include <string>

namespace zudo::rally {

// Runs read with the stream throwing on failure. When an extraction fails,
// logs describe(error text) at location and returns false; the stream keeps
// its failure state. Returns true when read completed.
bool readThrowing(std::istream& in, const char* location,
                  const std::function<std::string(const std::string&)>& describe,
                  const std::function<void()>& read);

// Reads one string of a saved form: characters up to the next NUL (consumed),
// white space trimmed at both ends. Fails the stream when no NUL follows.
void readNulEnded(std::istream& in, std::string& text);
// Writes a string of a saved form and its NUL. Line ends and NULs inside the
// text would split the line or the string when read back; they are written as
// blanks.
void writeNulEnded(std::ostream& out, const std::string& text);

} // namespace zudo::rally
