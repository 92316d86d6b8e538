#include "util/mem/replacement/ReplacementHost.hpp"

#include <atomic>

#include "platform/Platform.hpp"

namespace zudo::util::mem {

namespace {

std::atomic<const ::ZudoReplacementHost*> registeredHost{nullptr};

// The platform layer answers for the host's process from the host's answers.
void answerForTheProcess(const ::ZudoReplacementHost* host)
{
    platform::setExecutablePathSource(host != nullptr ? host->executablePath : nullptr);
    platform::setTickSource(host != nullptr ? host->tickCount : nullptr);
}

const ::ZudoReplacementHost* lookUpExportedHost()
{
    void* symbol = platform::programSymbol(ZUDO_REPLACEMENT_HOST_SYMBOL);
    if (symbol == nullptr) {
        return nullptr;
    }
    const ::ZudoReplacementHost* found = reinterpret_cast<ZudoReplacementHostFunction>(symbol)();
    // An interface of another version is not ours to use.
    return found != nullptr && found->version == ZUDO_REPLACEMENT_HOST_VERSION ? found : nullptr;
}

// Looked up once, on first use.
std::atomic<bool> exportLookedUp{false};

const ::ZudoReplacementHost* exportedHost()
{
    static const ::ZudoReplacementHost* const host = [] {
        const ::ZudoReplacementHost* found = lookUpExportedHost();
        if (registeredHost.load() == nullptr) {
            answerForTheProcess(found);
        }
        exportLookedUp.store(true);
        return found;
    }();
    return host;
}

} // namespace

const ::ZudoReplacementHost* replacementHost()
{
    const ::ZudoReplacementHost* registered = registeredHost.load();
    return registered != nullptr ? registered : exportedHost();
}

void registerReplacementHost(const ::ZudoReplacementHost* host)
{
    registeredHost.store(host);
    // Taking a host away does not look for an exported one: the program that
    // exports it may be building it right now (zudo-sim's host registers
    // itself while it is constructed). The first use looks it up.
    answerForTheProcess(host != nullptr ? host : exportLookedUp.load() ? exportedHost() : nullptr);
}

} // namespace zudo::util::mem
