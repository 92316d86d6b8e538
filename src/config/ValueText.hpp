#pragma once
// The text forms of setting values, written and read in the classic "C"
// locale whatever the user's locale is (the decimal separator is a point).
//
// | type        | written                   | read                                       |
// | bool        | "1" / "0"                 | "true"/"false" in any case, else 1 == atoi |
// | int         | decimal                   | leading decimal integer, none gives 0      |
// | unsigned    | decimal                   | stream extraction, unreadable gives 0      |
// | float       | six significant digits    | stream extraction, unreadable gives 0      |
// | std::string | as is                     | as is                                      |
// | Vector3     | "x y z"                   | three extractions, missing parts are 0     |
// | FloatList   | components between blanks | extractions up to the first unreadable one |

#include <string>
#include <vector>

namespace zudo::config {

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    bool operator==(const Vector3&) const = default;
};

using FloatList = std::vector<float>;

std::string settingText(bool value);
std::string settingText(int value);
std::string settingText(unsigned value);
std::string settingText(float value);
std::string settingText(const std::string& value);
std::string settingText(const Vector3& value);
std::string settingText(const FloatList& value);

void parseSetting(const std::string& text, bool& value);
void parseSetting(const std::string& text, int& value);
void parseSetting(const std::string& text, unsigned& value);
void parseSetting(const std::string& text, float& value);
void parseSetting(const std::string& text, std::string& value);
void parseSetting(const std::string& text, Vector3& value);
void parseSetting(const std::string& text, FloatList& value);

template <class T>
T parsedSetting(const std::string& text)
{
    T value{};
    parseSetting(text, value);
    return value;
}

// The runtime's string-to-integer conversion (atoi): optional white space and
// sign, then digits up to the first other character; no digits give 0. Values
// beyond the int range give the nearest limit.
int leadingInteger(const std::string& text);

} // namespace zudo::config
