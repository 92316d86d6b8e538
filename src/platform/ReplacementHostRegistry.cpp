#include "platform/PlatformDetail.hpp"

namespace zudo::platform {

namespace {
const ::ZudoReplacementHost* registeredHost = nullptr;
bool lookedUp = false;
const ::ZudoReplacementHost* exportedHost = nullptr;
} // namespace

const ::ZudoReplacementHost* replacementHost()
{
    if (registeredHost != nullptr) {
        return registeredHost;
    }
    if (!lookedUp) {
        exportedHost = detail::findExportedReplacementHost();
        if (exportedHost != nullptr && exportedHost->version != ZUDO_REPLACEMENT_HOST_VERSION) {
            exportedHost = nullptr; // an interface of another version is not ours to use
        }
        lookedUp = true;
    }
    return exportedHost;
}

void registerReplacementHost(const ::ZudoReplacementHost* host) { registeredHost = host; }

} // namespace zudo::platform
