#include <dlfcn.h>

#include "platform/PlatformDetail.hpp"

namespace zudo::platform::detail {

const ::ZudoReplacementHost* findExportedReplacementHost()
{
    void* symbol = dlsym(RTLD_DEFAULT, ZUDO_REPLACEMENT_HOST_SYMBOL);
    if (symbol == nullptr) {
        return nullptr;
    }
    auto function = reinterpret_cast<ZudoReplacementHostFunction>(symbol);
    return function();
}

} // namespace zudo::platform::detail
