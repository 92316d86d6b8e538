// The build-time logging switch (CMake option ZUDO_LOGGING, off by default).
// It is compiled on its own so that tests can link a variant with logging on.
#include "util/Log.hpp"

namespace zudo::util {

bool loggingSwitchedOn() { return ZUDO_LOGGING != 0; }

} // namespace zudo::util
