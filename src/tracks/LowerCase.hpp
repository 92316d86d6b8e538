#pragma once
// Lower-case copies of file names and paths, many thousands per run: the
// locale's conversion facet is looked up once per text, not per character.

#include <locale>
#include <string>

namespace zudo::tracks {

inline std::string lowerCase(std::string text, const std::locale& locale)
{
    if (!text.empty()) {
        std::use_facet<std::ctype<char>>(locale).tolower(text.data(), text.data() + text.size());
    }
    return text;
}

} // namespace zudo::tracks
