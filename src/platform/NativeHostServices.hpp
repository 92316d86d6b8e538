#pragma once
// Services that only a program acting as the game needs in the native build:
// the replacement host (zudo-sim) loads the plug-in library the way the game
// does with LoadLibrary and GetProcAddress, and turns a fault inside the
// plug-in into a clear message instead of a bare crash. Implemented for POSIX
// only (posix/PosixNativeHost.cpp); the Windows build has none of this.

#include <string>
#include <string_view>

namespace zudo::platform::native {

// Loads a shared library with every symbol bound at once. The library stays
// loaded until the process ends, as the game keeps its plug-ins. Null on
// failure, with the loader's explanation in error.
void* loadSharedLibrary(const std::string& path, std::string& error);
// The address of an exported symbol, or null when the library has none.
void* sharedLibrarySymbol(void* library, const char* name);

// From now on a fatal signal (a fault, an illegal instruction, an arithmetic
// fault, an abort, also on an overflowed stack) writes
// "<message> (<signal name>)" and a line end to standard error and ends the
// process at once with exitCode.
void exitOnFatalSignal(int exitCode);
// Replaces the message (cut to 1000 bytes); the handler reads it without
// locks, so set it only while no fault can happen on another thread.
void setFatalSignalMessage(std::string_view message);

} // namespace zudo::platform::native
