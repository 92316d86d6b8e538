#include "ui/Dialog.hpp"

#include <utility>

#include "ui/Screen.hpp"
#include "util/Log.hpp"

namespace zudo::ui {

Dialog::Dialog(Dialog* parent) : parent_(parent) {}

Dialog::~Dialog() = default;

Dialog* Dialog::draw()
{
    deleteChild();
    drawPage(menuPageArea);
    return this;
}

void Dialog::drawPage(const Area& area)
{
    if (rebuild_) {
        Page page;
        createComponents(page);
        Screen::instance().setPage(page);
        rebuild_ = false;
    }
    Screen::instance().draw(area);
}

Dialog* Dialog::drawResultPage() { return this; }

Dialog* Dialog::HandleFrontEndEvents(char, bool, bool, bool, bool, bool) { return this; }

Dialog* Dialog::stageStarted(int, const std::string&, bool) { return this; }

Dialog* Dialog::handleResults(float, float, float, const std::string&) { return this; }

Dialog* Dialog::checkPoint(float, int, const std::string&) { return this; }

void Dialog::createComponents(Page& page) { page.add(makeStatusLineComponent()); }

Dialog* Dialog::openChild(std::unique_ptr<Dialog> child)
{
    if (!child) {
        return this;
    }
    rebuild_ = true;
    child_ = std::move(child);
    return child_.get();
}

void Dialog::deleteChild() { child_.reset(); }

void logBuilderCall(const char* location)
{
    util::Log log;
    if (log.isEnabled()) {
        log << location << " - called..." << util::endLog;
    }
}

} // namespace zudo::ui
