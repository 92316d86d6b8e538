#include "tracks/TextForms.hpp"

#include <istream>
#include <ostream>

#include "util/Log.hpp"
#include "util/StreamNumbers.hpp"

namespace zudo::tracks {

bool readThrowing(std::istream& in, const char* location,
                  const std::function<std::string(const std::string&)>& describe,
                  const std::function<void()>& read)
{
    const std::ios_base::iostate previous = in.exceptions();
    bool complete = true;
    try {
        // Setting the mask on a stream that has already failed throws at once.
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

void writeCodes(std::ostream& out, std::initializer_list<std::int32_t> codes)
{
    for (const std::int32_t code : codes) {
        out << code << ' ';
    }
}

void readCodes(std::istream& in, std::initializer_list<std::int32_t*> codes, const char* location,
               const std::function<std::string(const std::string&)>& describe)
{
    readThrowing(in, location, describe, [&] {
        for (std::int32_t* code : codes) {
            util::readNumber(in, *code);
        }
    });
}

} // namespace zudo::tracks
