#pragma once
// The names of tyres and of mechanics' skill levels, and how rally files name
// them in words.

#include <string>

namespace zudo::rally {

inline constexpr int tyreCount = 7;
// 0 "Tarmac Dry" ... 6 "Snow"; empty outside 0..6.
std::string tyreName(int index);
// The index of the first tyre name, in index order, that the words name
// (letter case ignored, any word may be shortened): a one-word name matches
// when it starts with first; a two-word name when its words start with first
// and second, in either order. So "gravel wet", "wet gravel" and "snow" all
// match, and "Wet" alone is "Tarmac Wet". -1 when no name matches.
int tyreIndexForWords(const std::string& first, const std::string& second);

inline constexpr int lowestSkill = 1;
inline constexpr int highestSkill = 5;
// 1 "Inexperienced" ... 5 "Expert"; the name of 1 for any other code.
std::string skillName(int code);
// The code of the first skill name that starts with text (letter case
// ignored); 0 when none does.
int skillCodeForText(const std::string& text);

} // namespace zudo::rally
