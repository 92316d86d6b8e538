#include "rally/Names.hpp"

#include <array>
#include <string_view>

#include "util/ClassicText.hpp"

namespace zudo::rally {

namespace {

struct TyreWords {
    std::string_view first;
    std::string_view second; // empty for a name of one word
};

constexpr std::array<TyreWords, tyreCount> tyreWords{{
    {"Tarmac", "Dry"},
    {"Tarmac", "Intermediate"},
    {"Tarmac", "Wet"},
    {"Gravel", "Dry"},
    {"Gravel", "Intermediate"},
    {"Gravel", "Wet"},
    {"Snow", ""},
}};

constexpr std::array<std::string_view, highestSkill> skillNames{
    "Inexperienced", "Proficient", "Competent", "Skilled", "Expert"};

// Whether word starts with text, letter case ignored; an empty text starts
// every word.
bool startsWithIgnoringCase(const std::string& word, const std::string& text)
{
    return text.size() <= word.size() &&
           util::equalsIgnoringClassicCase(std::string_view(word).substr(0, text.size()), text);
}

bool tyreMatches(const TyreWords& name, const std::string& first, const std::string& second)
{
    const std::string nameFirst(name.first);
    if (name.second.empty()) {
        return startsWithIgnoringCase(nameFirst, first);
    }
    const std::string nameSecond(name.second);
    return (startsWithIgnoringCase(nameFirst, first) && startsWithIgnoringCase(nameSecond, second)) ||
           (startsWithIgnoringCase(nameFirst, second) && startsWithIgnoringCase(nameSecond, first));
}

} // namespace

std::string tyreName(int index)
{
    if (index < 0 || index >= tyreCount) {
        return {};
    }
    const TyreWords& name = tyreWords[static_cast<std::size_t>(index)];
    std::string text(name.first);
    if (!name.second.empty()) {
        text.append(" ").append(name.second);
    }
    return text;
}

int tyreIndexForWords(const std::string& first, const std::string& second)
{
    for (int index = 0; index < tyreCount; ++index) {
        if (tyreMatches(tyreWords[static_cast<std::size_t>(index)], first, second)) {
            return index;
        }
    }
    return -1;
}

std::string skillName(int code)
{
    if (code < lowestSkill || code > highestSkill) {
        code = lowestSkill;
    }
    return std::string(skillNames[static_cast<std::size_t>(code - lowestSkill)]);
}

int skillCodeForText(const std::string& text)
{
    for (int code = lowestSkill; code <= highestSkill; ++code) {
        if (startsWithIgnoringCase(std::string(skillNames[static_cast<std::size_t>(code - 1)]), text)) {
            return code;
        }
    }
    return 0;
}

} // namespace zudo::rally
