#include "rally/StreamGuard.hpp"

#include <ios>
#include <locale>
#include <ostream>

#include <boost/algorithm/string/trim.hpp>

#include "util/Log.hpp"

namespace zudo::rally {

bool readThrowing(std::istream& in, const char* location,
                  const std::function<std::string(const std::string&)>& describe,
                  const std::function<void()>& read)
{
    const std::ios_base::iostate previous = in.exceptions();
    bool complete = true;
    try {
        in.exceptions(std::ios_base::failbit | std::ios_base::badbit);
        read();
    } catch (const std::ios_base::failure& error) {
        complete = false;
        util::Log log;
        if (log.isEnabled()) {
            log << location << " - " << describe(error.what()) << util::endLog;
        }
    }
    in.exceptions(previous);
    return complete;
}

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

void writeNulEnded(std::ostream& out, const std::string& text)
{
    for (const char c : text) {
        out.put(c == '\n' || c == '\r' || c == '\0' ? ' ' : c);
    }
    out.put('\0');
}

} // namespace zudo::rally
