#include "rally/NulEndedStrings.hpp"

#include <algorithm>
#include <locale>
#include <ostream>

#include <boost/algorithm/string/trim.hpp>

namespace zudo::rally {

void readNulEnded(std::istream& in, std::string& text)
{
    text.clear();
    std::getline(in, text, '\0');
    if (in.eof()) {
        // The line ended before the string's NUL: a truncated form.
        in.setstate(std::ios_base::failbit);
    }
    boost::algorithm::trim(text, std::locale::classic());
}

namespace {

// Bytes that must not reach a saved line: line ends and NULs split the line or
// the string, and a Ctrl-Z (0x1A) ends a text-mode read of the Windows C
// runtime, which is how older versions read these files.
bool breaksSavedLine(char c)
{
    return c == '\n' || c == '\r' || c == '\0' || c == '\x1A';
}

} // namespace

void writeNulEnded(std::ostream& out, const std::string& text)
{
    std::string saved = text;
    std::replace_if(saved.begin(), saved.end(), breaksSavedLine, ' ');
    // Trimmed as the reader trims, so that a line saved again after loading
    // comes out the same.
    boost::algorithm::trim(saved, std::locale::classic());
    out << saved;
    out.put('\0');
}

} // namespace zudo::rally
