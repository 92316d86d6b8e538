#include "ui/MainDialog.hpp"

#include <memory>

namespace zudo::ui {

namespace {
constexpr Point titlePosition{5, 20};
constexpr Point backPosition{5, 425};
constexpr Size backSize{180, 15};
constexpr Point highlightPosition{0, 425};
constexpr Size highlightSize{185, 15};
} // namespace

MainDialog::MainDialog(Dialog* parent, bool hotlaps) : Dialog(parent), hotlaps_(hotlaps) {}

Dialog* MainDialog::HandleFrontEndEvents(char key, bool, bool, bool, bool, bool select)
{
    if (select || key == 'b' || key == 'B') {
        setRebuild(true);
        return parent() != nullptr ? parent() : this;
    }
    return this;
}

void MainDialog::createComponents(Page& page)
{
    logBuilderCall("zudo::ui::MainDialog::createComponents()");
    Dialog::createComponents(page);
    auto group = std::make_shared<GroupComponent>(Point{0, 0});
    group->add(makeTitle(titlePosition, hotlaps_ ? "Hotlaps" : "Rallies"));
    group->add(makeHighlight(highlightPosition, highlightSize));
    group->add(makeText(backPosition, "Back", backSize));
    page.add(group);
}

} // namespace zudo::ui
