#include "config/ValueText.hpp"

#include <boost/algorithm/string/predicate.hpp>

#include <climits>
#include <algorithm>
#include <cstdint>
#include <locale>
#include <sstream>

namespace zudo::config {

namespace {

std::ostringstream classicOutput()
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    return out;
}

std::istringstream classicInput(const std::string& text)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    return in;
}

// One stream extraction; an unreadable number gives the type's empty value.
template <class Number>
bool extract(std::istream& in, Number& value)
{
    Number read{};
    if (in >> read) {
        value = read;
        return true;
    }
    value = Number{};
    return false;
}

bool isClassicSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

int leadingInteger(const std::string& text)
{
    std::size_t position = 0;
    while (position < text.size() && isClassicSpace(text[position])) {
        ++position;
    }
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        negative = text[position] == '-';
        ++position;
    }
    const std::int64_t limit = negative ? -std::int64_t{INT_MIN} : std::int64_t{INT_MAX};
    std::int64_t magnitude = 0;
    for (; position < text.size() && isDigit(text[position]); ++position) {
        magnitude = std::min(magnitude * 10 + (text[position] - '0'), limit);
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::string settingText(bool value) { return value ? "1" : "0"; }

std::string settingText(int value) { return std::to_string(value); }

std::string settingText(unsigned value) { return std::to_string(value); }

std::string settingText(float value)
{
    auto out = classicOutput();
    out << value;
    return out.str();
}

std::string settingText(const std::string& value) { return value; }

std::string settingText(const Vector3& value)
{
    auto out = classicOutput();
    out << value.x << ' ' << value.y << ' ' << value.z;
    return out.str();
}

std::string settingText(const FloatList& value)
{
    auto out = classicOutput();
    const char* separator = "";
    for (float component : value) {
        out << separator << component;
        separator = " ";
    }
    return out.str();
}

void parseSetting(const std::string& text, bool& value)
{
    const std::locale& classic = std::locale::classic();
    if (boost::algorithm::iequals(text, "true", classic)) {
        value = true;
    } else if (boost::algorithm::iequals(text, "false", classic)) {
        value = false;
    } else {
        value = leadingInteger(text) == 1;
    }
}

void parseSetting(const std::string& text, int& value) { value = leadingInteger(text); }

void parseSetting(const std::string& text, unsigned& value)
{
    // Streams take "-1" as the largest unsigned value; a negative number is
    // no count, port or size, so it reads as unreadable.
    auto in = classicInput(text);
    in >> std::ws;
    if (in.peek() == '-') {
        value = 0;
        return;
    }
    extract(in, value);
}

void parseSetting(const std::string& text, float& value)
{
    auto in = classicInput(text);
    extract(in, value);
}

void parseSetting(const std::string& text, std::string& value) { value = text; }

void parseSetting(const std::string& text, Vector3& value)
{
    auto in = classicInput(text);
    value = Vector3{};
    if (extract(in, value.x) && extract(in, value.y)) {
        extract(in, value.z);
    }
}

void parseSetting(const std::string& text, FloatList& value)
{
    auto in = classicInput(text);
    value.clear();
    for (float component = 0.0f; extract(in, component);) {
        value.push_back(component);
    }
}

} // namespace zudo::config
