#include "ui/Style.hpp"

#include "ui/HostInterfaces.hpp"

namespace zudo::ui {

Color::~Color() = default;

void MenuColor::apply(const DrawContext& context) const { context.game->SelectMenuColor(number_); }

void RgbaColor::apply(const DrawContext& context) const
{
    context.game->SetColor(red_, green_, blue_, alpha_);
}

void Font::apply(const DrawContext& context) const { context.game->SelectFont(number_); }

ColorRef menuColor(int number) { return std::make_shared<const MenuColor>(number); }

ColorRef rgbaColor(float red, float green, float blue, float alpha)
{
    return std::make_shared<const RgbaColor>(red, green, blue, alpha);
}

FontRef font(int number) { return std::make_shared<const Font>(number); }

// Each built once and shared by every component that uses it.
namespace colors {
ColorRef black() { static const ColorRef color = rgbaColor(0, 0, 0, 1); return color; }
ColorRef blue() { static const ColorRef color = rgbaColor(0, 0, 1, 1); return color; }
ColorRef cyan() { static const ColorRef color = rgbaColor(0, 1, 1, 1); return color; }
ColorRef green() { static const ColorRef color = rgbaColor(0, 1, 0, 1); return color; }
ColorRef red() { static const ColorRef color = rgbaColor(1, 0, 0, 1); return color; }
ColorRef text() { static const ColorRef color = menuColor(3); return color; }
ColorRef title() { static const ColorRef color = menuColor(4); return color; }
} // namespace colors

namespace fonts {
FontRef text() { static const FontRef instance = font(0); return instance; }
FontRef title() { static const FontRef instance = font(1); return instance; }
} // namespace fonts

} // namespace zudo::ui
