#pragma once
// White space and letter case as the classic "C" locale has them, applied
// directly: asking a locale's facet for each character (as Boost's trimming
// and comparisons with a locale do) cost more than reading the text, and the
// rally list reads hundreds of thousands of lines.
//
// White space: blank, tab, line feed, vertical tab, form feed, carriage
// return. Letter case: A to Z against a to z; every other byte is itself.

#include <string>
#include <string_view>

namespace zudo::util {

inline bool isClassicSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Removes the white space at both ends.
inline void trimClassicSpace(std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && isClassicSpace(text[end - 1])) {
        --end;
    }
    std::size_t start = 0;
    while (start < end && isClassicSpace(text[start])) {
        ++start;
    }
    text.erase(end);
    text.erase(0, start);
}

inline char classicLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool equalsIgnoringClassicCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (classicLower(a[i]) != classicLower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace zudo::util
