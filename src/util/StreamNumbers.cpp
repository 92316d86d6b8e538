#include "util/StreamNumbers.hpp"

#include <istream>
#include <limits>
#include <streambuf>
#include <type_traits>

#include "util/ClassicText.hpp"

namespace zudo::util {

namespace {

// The sentry's part: false (the stream failed) when the stream is not good or
// holds nothing but white space.
bool skipSpace(std::istream& in)
{
    if (!in.good()) {
        in.setstate(std::ios_base::failbit);
        return false;
    }
    std::streambuf& buffer = *in.rdbuf();
    using Traits = std::char_traits<char>;
    Traits::int_type c = buffer.sgetc();
    while (!Traits::eq_int_type(c, Traits::eof()) && isClassicSpace(Traits::to_char_type(c))) {
        c = buffer.snextc();
    }
    if (Traits::eq_int_type(c, Traits::eof())) {
        in.setstate(std::ios_base::eofbit | std::ios_base::failbit);
        return false;
    }
    return true;
}

template <class Integer>
std::istream& readInteger(std::istream& in, Integer& value)
{
    static_assert(std::is_signed_v<Integer>);
    using Magnitude = std::make_unsigned_t<Integer>;
    using Traits = std::char_traits<char>;
    if (!skipSpace(in)) {
        return in;
    }
    std::streambuf& buffer = *in.rdbuf();
    Traits::int_type c = buffer.sgetc();
    bool negative = false;
    if (c == '-' || c == '+') {
        negative = c == '-';
        c = buffer.snextc();
    }
    // The largest magnitude of the sign read: the minimum's is one more.
    const Magnitude limit = static_cast<Magnitude>(std::numeric_limits<Integer>::max()) + (negative ? 1U : 0U);
    Magnitude magnitude = 0;
    bool anyDigit = false;
    bool overflow = false;
    while (c >= '0' && c <= '9') {
        const auto digit = static_cast<Magnitude>(c - '0');
        anyDigit = true;
        if (!overflow && magnitude <= (limit - digit) / 10U) {
            magnitude = static_cast<Magnitude>(magnitude * 10U + digit);
        } else {
            overflow = true; // every digit is still read
        }
        c = buffer.snextc();
    }
    std::ios_base::iostate state = std::ios_base::goodbit;
    if (!anyDigit) {
        value = 0;
        state = std::ios_base::failbit;
    } else if (overflow) {
        value = negative ? std::numeric_limits<Integer>::min() : std::numeric_limits<Integer>::max();
        state = std::ios_base::failbit;
    } else {
        value = negative ? static_cast<Integer>(Magnitude(0) - magnitude) : static_cast<Integer>(magnitude);
    }
    if (Traits::eq_int_type(c, Traits::eof())) {
        state |= std::ios_base::eofbit;
    }
    if (state != std::ios_base::goodbit) {
        in.setstate(state);
    }
    return in;
}

} // namespace

std::istream& readNumber(std::istream& in, std::int32_t& value) { return readInteger(in, value); }

std::istream& readNumber(std::istream& in, std::int64_t& value) { return readInteger(in, value); }

} // namespace zudo::util
