#include "platform/PlatformDetail.hpp"

namespace zudo::platform::detail {

// In the Windows build the host is the real game: nothing stands in for it
// unless a test registers a replacement.
const ::ZudoReplacementHost* findExportedReplacementHost() { return nullptr; }

} // namespace zudo::platform::detail
