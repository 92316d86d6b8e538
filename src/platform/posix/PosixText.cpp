#include "platform/posix/PosixEmulation.hpp"

namespace zudo::platform {

bool utf8ToUtf16(const std::string& text, std::u16string& out) { return detail::decodeUtf8(text, out); }

} // namespace zudo::platform
