#include "ui/Screen.hpp"

#include <utility>

#include "ui/GameHolder.hpp"
#include "ui/HostInterfaces.hpp"

namespace zudo::ui {

namespace {
constexpr Point statusLinePosition{0, 465};
constexpr Size statusLineSize{640, 15};

std::string& statusText()
{
    static std::string text;
    return text;
}
} // namespace

Screen& Screen::instance()
{
    static Screen screen;
    return screen;
}

void Screen::setPage(const Page& page) { page_ = page; }

void Screen::draw(const Area& area)
{
    GameInterface* game = ui::GameHolder::instance().game();
    if (game == nullptr) {
        return;
    }
    if (!(frame_.open && frame_.pageBegun)) {
        game->BeginPage(area.x, area.y, area.width, area.height);
        frame_.pageBegun = true;
    }
    const DrawContext context{game, 0, 0};
    for (const ComponentRef& component : page_.components()) {
        component->draw(context);
    }
}

const std::string& StatusLine::text() { return statusText(); }

void StatusLine::setText(std::string text) { statusText() = std::move(text); }

ComponentRef makeStatusLineComponent()
{
    return std::make_shared<FramedTextComponent>(statusLinePosition, statusLineSize,
                                                 StatusLine::text());
}

} // namespace zudo::ui
