#pragma once
// Declarations shared by the platform layer's common code and its two
// implementations; nothing outside src/platform includes this.

#include "platform/Platform.hpp"

namespace zudo::platform::detail {

// The interface that the loading program exports (POSIX: dlsym); null when
// there is none (always in the Windows build).
const ::ZudoReplacementHost* findExportedReplacementHost();

} // namespace zudo::platform::detail
