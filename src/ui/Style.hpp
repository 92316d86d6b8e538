#pragma once
// What every drawing step needs: the game interface with an offset, and the
// colours and fonts that components select before they draw. Colour and font
// are state of the game, so each component selects its own every time.

#include <memory>

class GameInterface;

namespace zudo::ui {

// Front-end coordinates: the game's 640 by 480 units, x to the right, y down.
struct Point {
    float x = 0;
    float y = 0;
};

struct Size {
    float width = 0;
    float height = 0;
};

// Handed by value to every draw: the game interface (never null while a frame
// is drawn) and the offset added to every component position.
struct DrawContext {
    GameInterface* game = nullptr;
    float x = 0;
    float y = 0;

    // The context for the children of a component at position.
    DrawContext movedBy(Point position) const { return {game, x + position.x, y + position.y}; }
};

class Color {
public:
    virtual void apply(const DrawContext& context) const = 0;
    virtual ~Color();

protected:
    Color() = default;
    Color(const Color&) = default;
    Color& operator=(const Color&) = default;
};

// One of the game's menu colours, by number.
class MenuColor final : public Color {
public:
    explicit MenuColor(int number) : number_(number) {}
    void apply(const DrawContext& context) const override;
    int number() const { return number_; }

private:
    int number_;
};

class RgbaColor final : public Color {
public:
    RgbaColor(float red, float green, float blue, float alpha)
        : red_(red), green_(green), blue_(blue), alpha_(alpha)
    {
    }
    void apply(const DrawContext& context) const override;

private:
    float red_;
    float green_;
    float blue_;
    float alpha_;
};

class Font {
public:
    explicit Font(int number) : number_(number) {}
    void apply(const DrawContext& context) const;
    int number() const { return number_; }

private:
    int number_;
};

using ColorRef = std::shared_ptr<const Color>;
using FontRef = std::shared_ptr<const Font>;

// Shared instances; components keep references to them.
ColorRef menuColor(int number);
ColorRef rgbaColor(float red, float green, float blue, float alpha);
FontRef font(int number);

// The colours and fonts the dialogs use.
namespace colors {
ColorRef black();
ColorRef blue();
ColorRef cyan();
ColorRef green();
ColorRef red();
ColorRef text();  // MenuColor(3): every component's default
ColorRef title(); // MenuColor(4)
} // namespace colors

namespace fonts {
FontRef text();  // Font(0)
FontRef title(); // Font(1)
} // namespace fonts

} // namespace zudo::ui
