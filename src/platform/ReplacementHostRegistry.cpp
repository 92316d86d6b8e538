#include <atomic>

#include "platform/PlatformDetail.hpp"

namespace zudo::platform {

namespace {

std::atomic<const ::ZudoReplacementHost*> registeredHost{nullptr};

// Looked up once, on first use.
const ::ZudoReplacementHost* exportedHost()
{
    static const ::ZudoReplacementHost* const host = [] {
        const ::ZudoReplacementHost* found = detail::findExportedReplacementHost();
        // An interface of another version is not ours to use.
        return found != nullptr && found->version == ZUDO_REPLACEMENT_HOST_VERSION ? found : nullptr;
    }();
    return host;
}

} // namespace

const ::ZudoReplacementHost* replacementHost()
{
    const ::ZudoReplacementHost* registered = registeredHost.load();
    return registered != nullptr ? registered : exportedHost();
}

void registerReplacementHost(const ::ZudoReplacementHost* host) { registeredHost.store(host); }

} // namespace zudo::platform
