#include <windows.h>

#include <climits>

#include "platform/PlatformDetail.hpp"

namespace zudo::platform {

bool utf8ToUtf16(const std::string& text, std::u16string& out)
{
    if (text.empty()) {
        out.clear(); // Windows refuses an empty input; it converts to nothing
        return true;
    }
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return false;
    }
    std::u16string result(static_cast<std::size_t>(needed), u'\0');
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length,
                              reinterpret_cast<wchar_t*>(result.data()), needed) != needed) {
        return false;
    }
    out = std::move(result);
    return true;
}

} // namespace zudo::platform
