#include "rally/NulEndedStrings.hpp"

#include <istream>
#include <ostream>

#include "util/ClassicText.hpp"

namespace zudo::rally {

void readNulEnded(std::istream& in, std::string& text)
{
    text.clear();
    std::getline(in, text, '\0');
    if (in.eof()) {
        // The line ended before the string's NUL: a truncated form.
        in.setstate(std::ios_base::failbit);
    }
    util::trimClassicSpace(text);
}

void writeNulEnded(std::ostream& out, const std::string& text)
{
    for (const char c : text) {
        out.put(c == '\n' || c == '\r' || c == '\0' ? ' ' : c);
    }
    out.put('\0');
}

} // namespace zudo::rally
