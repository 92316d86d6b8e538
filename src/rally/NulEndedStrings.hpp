#pragma once
// The strings inside the rally engine's saved text forms (the forms
// themselves are read as tracks/TextForms.hpp describes).

#include <istream>
#include <ostream>
#include <string>

namespace zudo::rally {

// Reads one string of a saved form: characters up to the next NUL (consumed),
// white space trimmed at both ends. Fails the stream when no NUL follows.
void readNulEnded(std::istream& in, std::string& text);
// Writes a string of a saved form and its NUL. Line ends and NULs inside the
// text would split the line or the string when read back, and a Ctrl-Z (0x1A)
// would end the file for a reader in the Windows C runtime's text mode; they
// are written as blanks. White space at both ends is left out, as the reader
// trims it.
void writeNulEnded(std::ostream& out, const std::string& text);

} // namespace zudo::rally
