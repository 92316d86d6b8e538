#pragma once
// One line of a rally definition file ("*.srp") split into key, value and the
// rest of the line:
//
//     stage 23 My Stage   # comment    ->  key "stage", value "23" (23), rest "My Stage"
//
// Everything from the first "#" is a comment; the line is trimmed; tokens are
// separated by single blanks, so two blanks in a row make an empty token
// ("stage  5" has the value "" and the rest "5"); tabs separate nothing.

#include <cstdint>
#include <optional>
#include <string>

namespace zudo::rally {

struct DefinitionLine {
    std::string key;
    std::string value;
    // The value is a whole 32-bit number (optional sign, decimal digits, nothing
    // else); number is that number, or -1 when it is not.
    bool isNumeric = false;
    std::int32_t number = -1;
    // The tokens after the value joined with single blanks; empty when there
    // are none.
    std::string rest;

    // The value's number, or fallback when the value is not numeric.
    std::int32_t numberOr(std::int32_t fallback) const { return isNumeric ? number : fallback; }
};

// The parts of a line, or nothing for a line that holds fewer than two tokens
// once the comment is cut and the ends are trimmed.
std::optional<DefinitionLine> parseDefinitionLine(std::string line);

// Whether text is a whole 32-bit number as above; the number in value.
bool parseWholeNumber(const std::string& text, std::int32_t& value);

} // namespace zudo::rally
