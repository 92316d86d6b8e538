#pragma once
// Shortening texts to the width they are given, ending them in "...".
//
// Widths come from the game's own text-width routine. Its address is not
// known, so in the game itself the width is estimated instead: every
// character counts as much as the widest ones the menus show in practice,
// 8 units in the title font (1) and 6 units in every other font. The start
// page's longest row, "Transmission: Automatic", then fits its 150 units with
// room to spare. The replacement host of the native build supplies the
// routine (with the same widths, so pages look alike in both builds).

#include <functional>
#include <string>

namespace zudo::ui {

inline constexpr float estimatedTitleCharacterWidth = 8; // font 1
inline constexpr float estimatedCharacterWidth = 6;      // every other font

// The width of text drawn in font: the game's measure when it has one, else
// the estimate.
float textWidth(const std::string& text, int font);
float estimatedTextWidth(const std::string& text, int font);

using TextMeasure = std::function<float(const std::string&)>;

// While the text is wider than width and at least four characters remain,
// drops its last character and ends it in "...". A text of fewer than four
// characters is never shortened; a shortened one is never shorter than four.
std::string fitText(std::string text, float width, const TextMeasure& measure);

} // namespace zudo::ui
