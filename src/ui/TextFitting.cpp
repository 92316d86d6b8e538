#include "ui/TextFitting.hpp"

#include <optional>

#include "util/mem/Bindings.hpp"

namespace zudo::ui {

namespace {
constexpr int titleFont = 1;
constexpr std::size_t ellipsisLength = 3;
constexpr std::size_t shortestFitted = ellipsisLength + 1;
} // namespace

float estimatedTextWidth(const std::string& text, int font)
{
    const float perCharacter =
        font == titleFont ? estimatedTitleCharacterWidth : estimatedCharacterWidth;
    return perCharacter * static_cast<float>(text.size());
}

float textWidth(const std::string& text, int font)
{
    const auto& routine = util::mem::bindings::textWidth;
    if (routine.available()) {
        if (const std::optional<float> width = routine(text.c_str())) {
            return *width;
        }
    }
    return estimatedTextWidth(text, font);
}

std::string fitText(std::string text, float width, const TextMeasure& measure)
{
    std::size_t keep = text.size();
    while (keep >= shortestFitted && measure(text) > width) {
        if (keep < text.size()) {
            text.resize(keep);
        }
        text.replace(text.size() - ellipsisLength, ellipsisLength, "...");
        --keep;
    }
    return text;
}

} // namespace zudo::ui
