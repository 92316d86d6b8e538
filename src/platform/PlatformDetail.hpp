#pragma once
// Declarations shared by the platform layer's common code and its two
// implementations; nothing outside src/platform includes this.

#include <cstdint>
#include <string>

#include "platform/Platform.hpp"

namespace zudo::platform::detail {

// What the operating system says when no override answers.
std::string systemExecutablePath();
std::uint32_t systemTickCount();

} // namespace zudo::platform::detail
