#include "rally/DefinitionLine.hpp"

#include <limits>

#include "util/ClassicText.hpp"

namespace zudo::rally {

namespace {

// The token that starts at from and the position after its blank (npos at the
// end of the line).
std::string nextToken(const std::string& line, std::string::size_type& from)
{
    const std::string::size_type blank = line.find(' ', from);
    std::string token = line.substr(from, blank == std::string::npos ? std::string::npos : blank - from);
    from = blank == std::string::npos ? std::string::npos : blank + 1;
    return token;
}

} // namespace

bool parseWholeNumber(const std::string& text, std::int32_t& value)
{
    std::string::size_type position = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        position = 1;
    }
    if (position == text.size()) {
        return false;
    }
    // The lowest int has one more unit of magnitude than the highest.
    const std::int64_t limit = negative ? -std::int64_t(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (; position < text.size(); ++position) {
        const char c = text[position];
        if (c < '0' || c > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) {
            return false;
        }
    }
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

std::optional<DefinitionLine> parseDefinitionLine(std::string line)
{
    const std::string::size_type comment = line.find('#');
    if (comment != std::string::npos) {
        line.erase(comment);
    }
    util::trimClassicSpace(line);
    std::string::size_type position = 0;
    if (line.empty()) {
        return std::nullopt;
    }
    DefinitionLine parts;
    parts.key = nextToken(line, position);
    if (position == std::string::npos) {
        return std::nullopt;
    }
    parts.value = nextToken(line, position);
    if (position != std::string::npos) {
        parts.rest = line.substr(position);
    }
    std::int32_t number = 0;
    parts.isNumeric = parseWholeNumber(parts.value, number);
    parts.number = parts.isNumeric ? number : -1;
    return parts;
}

} // namespace zudo::rally
