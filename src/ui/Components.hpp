#pragma once
// The pieces every page is built from: texts, boxes, marks, groups, and the
// framed text of the status line. A dialog builds them once per change of what
// it shows; the screen draws them every frame. Drawing a built component
// allocates nothing: a text that has to be shortened is fitted at its first
// draw and kept.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Style.hpp"

namespace zudo::ui {

class Component {
public:
    explicit Component(Point position, std::optional<Size> size = std::nullopt);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    // Selects the colour, then the font if one is set; draws nothing itself.
    virtual void draw(const DrawContext& context) const;

    void setColor(ColorRef color);
    void setFont(FontRef font);
    void setSize(std::optional<Size> size);

    Point position() const { return position_; }
    const std::optional<Size>& size() const { return size_; }
    const ColorRef& color() const { return color_; }
    const FontRef& font() const { return font_; }

protected:
    // Where the component lies in the given context.
    float left(const DrawContext& context) const { return context.x + position_.x; }
    float top(const DrawContext& context) const { return context.y + position_.y; }
    // Called when size or font change (a fitted text is fitted again).
    virtual void styleChanged() {}

private:
    ColorRef color_;
    Point position_;
    std::optional<Size> size_;
    FontRef font_;
};

using ComponentRef = std::shared_ptr<Component>;

// A line of text in Font(0) unless another font is set. With a size, the text
// is shortened with "..." to the size's width.
class TextComponent : public Component {
public:
    TextComponent(Point position, std::string text, std::optional<Size> size = std::nullopt);
    // An empty text draws nothing at all, not even its colour.
    void draw(const DrawContext& context) const override;

    const std::string& text() const { return text_; }
    void setText(std::string text);
    // The text as it is drawn (fitted to the size when there is one).
    const std::string& shownText() const;

private:
    void styleChanged() override { fitted_.reset(); }

    std::string text_;
    mutable std::optional<std::string> fitted_;
};

// A filled box.
class PanelComponent : public Component {
public:
    PanelComponent(Point position, Size size) : Component(position, size) {}
    void draw(const DrawContext& context) const override;
};

// A selection bar or entry field.
class HighlightComponent : public Component {
public:
    HighlightComponent(Point position, Size size) : Component(position, size) {}
    void draw(const DrawContext& context) const override;
};

// One of the game's graphics, by number.
class MarkComponent : public Component {
public:
    MarkComponent(Point position, int id) : Component(position), id_(id) {}
    void draw(const DrawContext& context) const override;
    int id() const { return id_; }

private:
    int id_;
};

// Children drawn in order, placed relative to the group.
class GroupComponent : public Component {
public:
    explicit GroupComponent(Point position) : Component(position) {}
    void draw(const DrawContext& context) const override;
    // A null child is ignored.
    void add(ComponentRef child);
    const std::vector<ComponentRef>& children() const { return children_; }

private:
    std::vector<ComponentRef> children_;
};

// A panel of the frame's size in MenuColor(3) with a text at (2, 0) in
// MenuColor(0) on it; the status line.
class FramedTextComponent : public Component {
public:
    FramedTextComponent(Point position, Size size, std::string text);
    void draw(const DrawContext& context) const override;
    const TextComponent& textComponent() const { return text_; }

private:
    PanelComponent panel_;
    TextComponent text_;
};

// The components of one page in drawing order.
class Page {
public:
    // A null component is ignored.
    void add(ComponentRef component);
    const std::vector<ComponentRef>& components() const { return components_; }

private:
    std::vector<ComponentRef> components_;
};

// Shorthands for building pages.
std::shared_ptr<TextComponent> makeText(Point position, std::string text,
                                        std::optional<Size> size = std::nullopt);
// A page or section title: MenuColor(4), Font(1).
std::shared_ptr<TextComponent> makeTitle(Point position, std::string text);
std::shared_ptr<HighlightComponent> makeHighlight(Point position, Size size);

} // namespace zudo::ui
