#pragma once
// The replacement host as the host access layer finds it (native build): the
// program acting as the game exports its C interface (ReplacementHost.h), or a
// test program that links the code registers it.

#include "util/mem/replacement/ReplacementHost.h"

namespace zudo::util::mem {

// The program acting as host: what a test registered, else the interface the
// loading program exports, else null.
const ::ZudoReplacementHost* replacementHost();
// Registers host (null: back to what the loading program exports) and lets
// the platform layer take the executable path and tick count from it.
void registerReplacementHost(const ::ZudoReplacementHost* host);

} // namespace zudo::util::mem
