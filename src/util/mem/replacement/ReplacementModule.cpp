// The game executable against the replacement host: the host's simulated
// image.
#include "util/mem/ZudoExeModule.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace zudo::util::mem {

void ZudoExeModule::attachToHost() { replacementHost(); }

// The replacement host is asked at every use: nothing to forget.
void ZudoExeModule::detachFromHost() {}

HostAddress ZudoExeModule::foundModule()
{
    // The replacement host may be registered or replaced at any time (tests):
    // ask it every time instead of caching.
    const ::ZudoReplacementHost* host = replacementHost();
    return host != nullptr ? HostAddress(host->executableBase) : HostAddress();
}

} // namespace zudo::util::mem
