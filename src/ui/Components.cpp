#include "ui/Components.hpp"

#include <utility>

#include "ui/HostInterfaces.hpp"
#include "ui/TextFitting.hpp"

namespace zudo::ui {

// ---------------------------------------------------------------------------
// Component

Component::Component(Point position, std::optional<Size> size)
    : color_(colors::text()), position_(position), size_(size)
{
}

Component::~Component() = default;

void Component::draw(const DrawContext& context) const
{
    if (color_) {
        color_->apply(context);
    }
    if (font_) {
        font_->apply(context);
    }
}

void Component::setColor(ColorRef color) { color_ = std::move(color); }

void Component::setFont(FontRef font)
{
    font_ = std::move(font);
    styleChanged();
}

void Component::setSize(std::optional<Size> size)
{
    size_ = size;
    styleChanged();
}

// ---------------------------------------------------------------------------
// TextComponent

TextComponent::TextComponent(Point position, std::string text, std::optional<Size> size)
    : Component(position, size), text_(std::move(text))
{
    setFont(fonts::text());
}

void TextComponent::setText(std::string text)
{
    text_ = std::move(text);
    fitted_.reset();
}

const std::string& TextComponent::shownText() const
{
    if (!size()) {
        return text_;
    }
    if (!fitted_) {
        const int fontNumber = font() ? font()->number() : 0;
        fitted_ = fitText(text_, size()->width, [fontNumber](const std::string& candidate) {
            return textWidth(candidate, fontNumber);
        });
    }
    return *fitted_;
}

void TextComponent::draw(const DrawContext& context) const
{
    if (text_.empty()) {
        return;
    }
    Component::draw(context);
    // Measured after the font is selected: the game measures in the current font.
    const std::string& shown = shownText();
    context.game->DrawText(left(context), top(context), shown.c_str());
}

// ---------------------------------------------------------------------------
// Boxes and marks

void PanelComponent::draw(const DrawContext& context) const
{
    Component::draw(context);
    context.game->DrawPanel(left(context), top(context), size()->width, size()->height);
}

void HighlightComponent::draw(const DrawContext& context) const
{
    Component::draw(context);
    context.game->DrawHighlight(left(context), top(context), size()->width, size()->height);
}

void MarkComponent::draw(const DrawContext& context) const
{
    Component::draw(context);
    context.game->DrawMark(left(context), top(context), id_);
}

// ---------------------------------------------------------------------------
// Groups

void GroupComponent::draw(const DrawContext& context) const
{
    Component::draw(context);
    const DrawContext inside = context.movedBy(position());
    for (const ComponentRef& child : children_) {
        child->draw(inside);
    }
}

void GroupComponent::add(ComponentRef child)
{
    if (child) {
        children_.push_back(std::move(child));
    }
}

FramedTextComponent::FramedTextComponent(Point position, Size size, std::string text)
    : Component(position, size), panel_(Point{0, 0}, size), text_(Point{2, 0}, std::move(text))
{
    panel_.setColor(colors::text());
    text_.setColor(menuColor(0));
}

void FramedTextComponent::draw(const DrawContext& context) const
{
    const DrawContext inside = context.movedBy(position());
    panel_.draw(inside);
    text_.draw(inside);
}

// ---------------------------------------------------------------------------
// Page and shorthands

void Page::add(ComponentRef component)
{
    if (component) {
        components_.push_back(std::move(component));
    }
}

std::shared_ptr<TextComponent> makeText(Point position, std::string text, std::optional<Size> size)
{
    return std::make_shared<TextComponent>(position, std::move(text), size);
}

std::shared_ptr<TextComponent> makeTitle(Point position, std::string text)
{
    auto title = makeText(position, std::move(text));
    title->setColor(colors::title());
    title->setFont(fonts::title());
    return title;
}

std::shared_ptr<HighlightComponent> makeHighlight(Point position, Size size)
{
    return std::make_shared<HighlightComponent>(position, size);
}

} // namespace zudo::ui
