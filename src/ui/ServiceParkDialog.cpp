#include "ui/ServiceParkDialog.hpp"

#include <cmath>
#include <utility>

#include "rally/ServiceManager.hpp"
#include "ui/Screen.hpp"

namespace zudo::ui {

namespace {

using rally::ServiceManager;

constexpr Point groupPosition{50, 49};
constexpr Point titlePosition{5, 5};
constexpr Size titleSize{200, 15};
constexpr float firstRowTop = 25;
constexpr float rowHeight = 15;
constexpr float rowLeft = 5;
constexpr Size rowSize{200, 15};
constexpr Size highlightSize{210, 15};

const char* const rowHelp[ServiceParkDialog::rowCount] = {
    "Press ENTER to open the 'Service Park' dialog.",
    "Press ENTER to reset all car damage.",
    "Choose allowed repair time.",
    "Choose number of mechanics.",
    "Choose mechanics skill level.",
    "Press ENTER to go back to the rally dialog.",
};

float rowTop(int row) { return firstRowTop + rowHeight * static_cast<float>(row); }

std::string wholeMinutes(float minutes)
{
    return std::to_string(static_cast<long long>(std::trunc(minutes)));
}

} // namespace

ServiceParkDialog::ServiceParkDialog(Dialog* parent, rally::RallyPtr rally)
    : Dialog(parent), rally_(std::move(rally))
{
}

ServiceParkDialog::~ServiceParkDialog() = default;

bool ServiceParkDialog::isHotlap() const { return !rally_ || rally_->isHotlap(); }

Dialog* ServiceParkDialog::draw()
{
    switch (std::exchange(pending_, Pending::None)) {
    case Pending::ServicePark:
        setRebuild(true);
        ServiceManager::instance().endService();
        return parent();
    case Pending::DamageReset:
        setRebuild(true);
        return parent();
    case Pending::None:
        break;
    }
    return Dialog::draw();
}

Dialog* ServiceParkDialog::HandleFrontEndEvents(char, bool up, bool down, bool left, bool right,
                                                bool select)
{
    if (up || down || left || right || select) {
        failure_.clear();
    }
    if (up || down || ((left || right) && isHotlap())) {
        StatusLine::setReady();
    }
    if (up || down) {
        moveRow(up);
    }
    if (select) {
        return this->select();
    }
    if ((left || right) && isHotlap()) {
        stepAllowance(right);
    }
    return this;
}

void ServiceParkDialog::moveRow(bool up)
{
    if (isHotlap()) {
        row_ = (row_ + (up ? rowCount - 1 : 1)) % rowCount;
    } else {
        row_ = row_ == ServiceParkRow ? BackRow : ServiceParkRow;
    }
    setRebuild(true);
}

Dialog* ServiceParkDialog::select()
{
    ServiceManager& service = ServiceManager::instance();
    switch (row_) {
    case ServiceParkRow:
        setRebuild(true);
        if (!service.openServicePark()) {
            failure_ = service.failureText();
            return this;
        }
        pending_ = Pending::ServicePark;
        StatusLine::setText("Loading 'Service Park' dialog.");
        return this;
    case ResetDamageRow:
        setRebuild(true);
        if (!service.resetCarDamage()) {
            failure_ = service.failureText();
            return this;
        }
        pending_ = Pending::DamageReset;
        StatusLine::setText("Car damage has been reset.");
        return this;
    case BackRow:
        setRebuild(true);
        return parent();
    default:
        return this; // the allowance rows change with left and right
    }
}

void ServiceParkDialog::stepAllowance(bool forward)
{
    rally::ServiceInfo& allowance = ServiceManager::instance().currentAllowance();
    switch (row_) {
    case RepairTimeRow:
        allowance.cycleMinutes(forward);
        break;
    case MechanicsRow:
        allowance.cycleMechanics(forward);
        break;
    case SkillRow:
        allowance.cycleSkill(forward);
        break;
    default:
        return;
    }
    setRebuild(true);
}

void ServiceParkDialog::createComponents(Page& page)
{
    logBuilderCall("zudo::ui::ServiceParkDialog::createComponents()");
    const rally::ServiceInfo& allowance = ServiceManager::instance().currentAllowance();
    const std::string rows[rowCount] = {
        "Service Park...",
        "Reset Car Damage",
        "Allowed Repair Time: " + wholeMinutes(allowance.minutes()) + " min",
        "Mechanics: " + std::to_string(allowance.mechanics()),
        "Skill: " + ServiceManager::skillName(allowance.skill()),
        "Back",
    };

    auto group = std::make_shared<GroupComponent>(groupPosition);
    auto title = makeTitle(titlePosition, "Repair Car");
    title->setSize(titleSize);
    group->add(title);
    group->add(makeHighlight(Point{0, rowTop(row_)}, highlightSize));
    for (int row = 0; row < rowCount; ++row) {
        group->add(makeText(Point{rowLeft, rowTop(row)}, rows[row], rowSize));
    }
    page.add(group);

    StatusLine::setText(failure_.empty() ? rowHelp[row_] : failure_);
    Dialog::createComponents(page);
}

} // namespace zudo::ui
