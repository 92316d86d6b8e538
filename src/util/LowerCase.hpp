#pragma once
// Lower-case copies of names and paths, many thousands per run (texture
// files, stage names of the best-time queries): the locale's conversion facet
// is looked up once per text, not per character as Boost's copies do.

#include <locale>
#include <string>

namespace zudo::util {

inline std::string lowerCase(std::string text, const std::locale& locale)
{
    if (!text.empty()) {
        std::use_facet<std::ctype<char>>(locale).tolower(text.data(), text.data() + text.size());
    }
    return text;
}

} // namespace zudo::util
