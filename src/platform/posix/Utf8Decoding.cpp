#include "platform/posix/PosixEmulation.hpp"

namespace zudo::platform::detail {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the sequence a lead byte starts and the smallest code point
// that needs it (anything smaller is an overlong form); 0 for a byte that
// cannot start a sequence.
int sequenceLength(unsigned char lead, char32_t& smallest, char32_t& bits)
{
    if (lead < 0x80) {
        smallest = 0;
        bits = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        smallest = 0x80;
        bits = lead & 0x1F;
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        smallest = 0x800;
        bits = lead & 0x0F;
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        smallest = 0x10000;
        bits = lead & 0x07;
        return 4;
    }
    return 0;
}

void appendUtf16(char32_t codePoint, std::u16string& out)
{
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

} // namespace

bool decodeUtf8(std::string_view text, std::u16string& out)
{
    std::u16string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t smallest = 0;
        char32_t codePoint = 0;
        const int length = sequenceLength(static_cast<unsigned char>(text[i]), smallest, codePoint);
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            const auto byte = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if (!isContinuation(byte)) {
                return false;
            }
            codePoint = (codePoint << 6) | (byte & 0x3F);
        }
        const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        if (codePoint < smallest || surrogate || codePoint > 0x10FFFF) {
            return false;
        }
        appendUtf16(codePoint, result);
        i += static_cast<std::size_t>(length);
    }
    out = std::move(result);
    return true;
}

} // namespace zudo::platform::detail
