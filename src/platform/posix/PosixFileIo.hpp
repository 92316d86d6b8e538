#pragma once
// Whole-file reads and atomic replacement for the POSIX implementation.

#include <sys/stat.h>

#include <string>

#include "platform/posix/PosixPaths.hpp"

namespace zudo::platform::posix {

// The whole content of a regular file and its stamp when it was opened.
bool readWholeFile(const std::string& path, std::string& content, Stamp& stamp);

// Writes content beside target and renames it over target, so that the file
// is always either the old or the new one, never half written; the
// permissions of an existing file (existing, else null) are kept. stamp
// receives the new file's stamp.
bool replaceAtomically(const std::string& target, const std::string& content, const struct stat* existing,
                       Stamp& stamp);

// Creates or truncates the file at a native path and writes content to it,
// synced to the disk. 0 or the errno value of the step that failed.
int writeFileSynced(const std::string& path, const std::string& content);

// The directory part of a path ("." for a bare name).
std::string directoryOf(const std::string& path);

} // namespace zudo::platform::posix
