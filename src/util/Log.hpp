#pragma once

namespace zudo::util {

// The build-time switch: whether log records are written (util/LogSwitch.cpp).
bool loggingSwitchedOn();

} // namespace zudo::util
