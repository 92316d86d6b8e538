#include <algorithm>

#include "platform/posix/PosixEmulation.hpp"

namespace zudo::platform::detail {

namespace {
constexpr char upperCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
} // namespace

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldCase(x) == foldCase(y); });
}

std::size_t hashIgnoringCase(std::string_view text)
{
    std::size_t hash = 14695981039346656037ULL & static_cast<std::size_t>(-1); // FNV-1a
    for (char c : text) {
        hash ^= static_cast<unsigned char>(foldCase(c));
        hash *= static_cast<std::size_t>(1099511628211ULL);
    }
    return hash;
}

bool lessIgnoringCase(std::string_view a, std::string_view b)
{
    const auto byUpperCase = [](char x, char y) {
        return static_cast<unsigned char>(upperCase(x)) < static_cast<unsigned char>(upperCase(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), byUpperCase)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), byUpperCase)) {
        return false;
    }
    return a < b;
}

bool hasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

bool matchesWildcard(std::string_view name, std::string_view mask)
{
    constexpr auto none = std::string_view::npos;
    std::size_t n = 0;
    std::size_t m = 0;
    std::size_t afterStar = none; // mask position after the last "*" seen
    std::size_t starName = 0;     // name position that "*" has consumed up to
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            afterStar = ++m;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || foldCase(mask[m]) == foldCase(name[n]))) {
            ++m;
            ++n;
        } else if (afterStar != none) {
            m = afterStar; // let the last "*" take one more character
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && (mask[m] == '*' || mask[m] == '.')) {
        ++m;
    }
    return m == mask.size();
}

} // namespace zudo::platform::detail
