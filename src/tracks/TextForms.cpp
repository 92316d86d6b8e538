#include "tracks/TextForms.hpp"

#include <istream>
#include <ostream>

namespace zudo::tracks {

void writeCodes(std::ostream& out, std::initializer_list<std::int32_t> codes)
{
    for (const std::int32_t code : codes) {
        out << code << ' ';
    }
}

void readCodes(std::istream& in, std::initializer_list<std::int32_t*> codes,
               const std::function<void(const std::string&)>& reportFailure)
{
    const std::ios_base::iostate previousMask = in.exceptions();
    try {
        // Setting the mask on a stream that has already failed throws at once.
        in.exceptions(std::ios_base::failbit | std::ios_base::badbit);
        for (std::int32_t* code : codes) {
            in >> *code;
        }
    } catch (const std::ios_base::failure& failure) {
        reportFailure(failure.what());
    }
    in.exceptions(previousMask);
}

} // namespace zudo::tracks
