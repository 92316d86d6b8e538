#include "ui/RallyDialog.hpp"

#include <algorithm>
#include <set>
#include <utility>

#include "rally/CarCatalogue.hpp"
#include "rally/HostResults.hpp"
#include "rally/Names.hpp"
#include "rally/RallyList.hpp"
#include "rally/RecordKey.hpp"
#include "rally/ReplayManager.hpp"
#include "rally/ServiceManager.hpp"
#include "rally/StageStart.hpp"
#include "rally/Times.hpp"
#include "tracks/StageCatalogue.hpp"
#include "ui/ResultsDialog.hpp"
#include "ui/Screen.hpp"
#include "ui/ServiceParkDialog.hpp"
#include "ui/StageDetails.hpp"
#include "ui/TimeMessages.hpp"
#include "ui/WeatherOptionsDialog.hpp"
#include "util/Log.hpp"
#include "util/TimeText.hpp"

namespace zudo::ui {

namespace {

using rally::CarCatalogue;
using rally::Stage;
using rally::StagePtr;
using rally::StageTimePtr;
using tracks::StageCatalogue;

constexpr int randomWeather = 1;

// Menu.
constexpr Point titlePosition{5, 5};
constexpr Size rowSize{200, 15};
constexpr Size highlightSize{210, 15};
constexpr float firstRowTop = 25;
constexpr float rowHeight = 15;
constexpr float rowLeft = 5;

// Right panel.
constexpr Point panelPosition{215, 5};
constexpr float panelValueLeft = 90;
constexpr float panelFirstRowTop = 20;
constexpr int panelDetailsFlags = RallyRecordColumn | SurfaceRecordColumn | OverallRecordColumn;

// Standings.
constexpr Point standingsHeading{392, 180};
constexpr float columnTitlesTop = 195;
constexpr float standingsFirstRowTop = 212;
constexpr float totalRowGap = 3;
constexpr float nameLeft = 2;
constexpr Size nameSize{140, 15};
constexpr float surfaceLeft = 142;
constexpr float timeLeft = 184;
constexpr float recordLeft = 254;
constexpr float surfaceBestLeft = 346;
constexpr float overallBestLeft = 438;
constexpr float hostResultLeft = 540;
constexpr float hostDifferenceLeft = 530; // the total row's host difference sits left of its column
constexpr float markLeft = 620;
constexpr Point hintPosition{2, 445};

float rowTop(int row) { return firstRowTop + rowHeight * static_cast<float>(row); }

int wrapped(int value, int count)
{
    if (count <= 0) {
        return 0;
    }
    return ((value % count) + count) % count;
}

std::string plural(int count, const std::string& word)
{
    return word + (count == 1 ? "" : "s");
}

std::string timeText(float seconds) { return util::formatTime(seconds, false); }

// The condition names of a stage as the status help and the panels show them.
struct ConditionNames {
    std::string conditions;
    std::string sky;
    std::string timeOfDay;
    std::string surface;
    std::string track;
};

bool hasTrackConditions(const Stage& stage)
{
    return stage.condition() && stage.condition()->conditions >= 0;
}

ConditionNames conditionNames(const Stage& stage)
{
    const StageCatalogue& catalogue = StageCatalogue::instance();
    const tracks::TrackCondition& c = *stage.condition();
    return {catalogue.conditionsWord(c.conditions), catalogue.skyWord(c.sky),
            catalogue.timeOfDayWord(c.timeOfDay), catalogue.surfaceWord(c.surface),
            catalogue.trackWord(c.track)};
}

// The reference times of the standings and the in-game messages.
struct References {
    StageTimePtr record;      // this rally's or hotlap's own
    StageTimePtr surfaceBest; // across all rallies, same surface
    StageTimePtr overallBest; // across all rallies, any surface
    StageTimePtr hostResult;  // the game's own result
};

References referencesOf(Stage& stage)
{
    const rally::RallyList& list = rally::RallyList::instance();
    return {stage.currentRecord(), list.bestTimeOnStage(stage.displayName(), stage.surface()),
            list.bestTimeOnStage(stage.displayName(), rally::RecordKey::any),
            rally::HostResults::instance().timesFor(stage.stageNumber())};
}

// The differences of own to the references' times at the same point of the
// stage (timeOf: a split or the finish); 0 for a reference that is missing.
template <class TimeOf>
TimeDifferences differencesTo(float own, const References& references, TimeOf timeOf)
{
    const auto difference = [&](const StageTimePtr& reference) {
        return reference ? rally::timeDifference(own, timeOf(*reference)) : 0.0F;
    };
    return TimeDifferences{difference(references.record), difference(references.overallBest),
                           difference(references.hostResult), references.hostResult != nullptr};
}

void giveServiceManagerCurrentCar(const StagePtr& stage)
{
    rally::ServiceManager& service = rally::ServiceManager::instance();
    service.setCarSlot(CarCatalogue::instance().selectedSlot());
    service.setCurrentStage(stage);
}

} // namespace

// ---------------------------------------------------------------------------
// Construction and phases

RallyDialog::RallyDialog(Dialog* parent, rally::RallyPtr rally)
    : Dialog(parent), rally_(std::move(rally))
{
    rally::HostResults::instance().reload();
    rally_->loadRecords();
    rebuildActions();
    if (const StagePtr stage = currentStage()) {
        rally::loadCarForStage(*stage);
        giveServiceManagerCurrentCar(stage);
    }
}

RallyDialog::~RallyDialog() = default;

StagePtr RallyDialog::currentStage() const
{
    return rally_->stage(static_cast<std::size_t>(std::max(stageIndex_, 0)));
}

std::string RallyDialog::kindName() const { return rally_->isHotlap() ? "Hotlap" : "Rally"; }

bool RallyDialog::currentIsDrivenHotlapStage() const
{
    const StagePtr stage = currentStage();
    return rally_->isHotlap() && stage && stage->driven();
}

Dialog* RallyDialog::draw()
{
    if (child() != nullptr) {
        deleteChild();
        setRebuild(true);
    }
    if (phase_ == Phase::SetupScreen) {
        phase_ = Phase::Idle;
        setRebuild(true);
        if (const StagePtr stage = currentStage()) {
            rally::adoptSetupAfterSetupScreen(*stage);
        }
    } else if (phase_ == Phase::Started) {
        takeOverAbandonedStage();
    }
    if (scroller_.tick()) {
        setRebuild(true);
    }
    return Dialog::draw();
}

// The game is back in its menus after a stage it reported as started, and
// no result came: the driver retired.
void RallyDialog::takeOverAbandonedStage()
{
    phase_ = Phase::Idle;
    setRebuild(true);
    if (const StagePtr stage = currentStage()) {
        stage->setDriven(true);
        stage->setFinishTime(0);
    }
    moveToNextStageNotDriven();
    if (rally_->allDriven()) {
        report(finishText(0));
    }
}

void RallyDialog::rebuildActions()
{
    std::vector<std::string> wanted{"Reset Stage"};
    if (!rally_->isHotlap()) {
        wanted.insert(wanted.end(), {"Reset All", "Save Progress"});
        if (rally_->hasProgress()) {
            wanted.emplace_back("Load Progress");
        }
    }
    if (rally::ReplayManager::instance().hasReplay()) {
        wanted.insert(wanted.end(), {"Save Replay", "Replay"});
    }
    std::vector<rally::RallyActionPtr> available = rally::rallyActions();
    actions_.clear();
    for (const std::string& label : wanted) {
        for (rally::RallyActionPtr& action : available) {
            if (action && action->label() == label) {
                actions_.push_back(std::move(action));
                break;
            }
        }
    }
    if (actionIndex_ >= static_cast<int>(actions_.size())) {
        actionIndex_ = 0;
    }
}

std::vector<std::string> RallyDialog::actionLabels() const
{
    std::vector<std::string> labels;
    for (const rally::RallyActionPtr& action : actions_) {
        labels.push_back(action->label());
    }
    return labels;
}

void RallyDialog::moveToNextStageNotDriven(bool backwards)
{
    const int count = static_cast<int>(rally_->stageCount());
    for (int tried = 0; tried < count; ++tried) {
        stageIndex_ = wrapped(stageIndex_ + (backwards ? -1 : 1), count);
        if (!currentStage()->driven()) {
            return;
        }
    }
}

std::string RallyDialog::finishText(float lastFinishTime) const
{
    std::string text = kindName() + " finished.";
    if (rally_->isNewRecord()) {
        text += " Time improved.";
    } else if (lastFinishTime != 0) {
        text += " Time not improved.";
    } else {
        text += " DNF.";
    }
    return text;
}

void RallyDialog::report(std::string text)
{
    StatusLine::setText(std::move(text));
    reported_ = true;
}

// ---------------------------------------------------------------------------
// The game's stage calls

Dialog* RallyDialog::stageStarted(int, const std::string&, bool)
{
    if (phase_ == Phase::StartRequested) {
        phase_ = Phase::Started;
    }
    return this;
}

Dialog* RallyDialog::checkPoint(float time, int checkpoint, const std::string&)
{
    const bool running = phase_ == Phase::StartRequested || phase_ == Phase::Started;
    const StagePtr stage = currentStage();
    if (!running || (checkpoint != 1 && checkpoint != 2) || !stage) {
        return this;
    }
    const int split = checkpoint - 1;
    stage->setSplit(split, time);
    showTimeDifferences(splitLabel(checkpoint),
                        differencesTo(time, referencesOf(*stage),
                                      [split](const rally::StageTime& reference) { return reference.split(split); }));
    return this;
}

Dialog* RallyDialog::handleResults(float split1, float split2, float finish, const std::string& player)
{
    logBuilderCall("zudo::ui::RallyDialog::handleResults()");
    const StagePtr stage = currentStage();
    if ((phase_ != Phase::StartRequested && phase_ != Phase::Started) || !stage) {
        return this;
    }
    phase_ = Phase::Idle;
    setRebuild(true);

    showTimeDifferences(finishLabel(),
                        differencesTo(finish, referencesOf(*stage),
                                      [](const rally::StageTime& reference) { return reference.finishTime(); }));

    stage->takeResult(split1, split2, finish, player);
    rally::ReplayManager::instance().setLastResult(std::make_unique<rally::StageTime>(*stage));
    rebuildActions();
    if (rally_->allDriven()) {
        report(finishText(finish));
    }
    Dialog* next = this;
    if (finish != 0) {
        next = openChild(std::make_unique<ResultsDialog>(this, stage));
    }
    moveToNextStageNotDriven();
    return next;
}

// ---------------------------------------------------------------------------
// Keys

Dialog* RallyDialog::HandleFrontEndEvents(char key, bool up, bool down, bool left, bool right,
                                          bool select)
{
    if (!up && !down && !left && !right && !select && key == '\0') {
        rally::switchReplayMenuEntries(1);
    }
    if (up || down) {
        selection_ = wrapped(selection_ + (up ? -1 : 1), rowCount);
        setRebuild(true);
    }
    if (select) {
        Dialog* next = this->select();
        if (next != this) {
            return next;
        }
    }
    if (key == 'B' || key == 'b') {
        return leave();
    }
    if (left || right) {
        step(left ? -1 : 1);
    }
    if (key != '\0' && key != 'B' && key != 'b' && scroller_.handleKey(key)) {
        setRebuild(true);
        if (!scroller_.message().empty()) {
            report(scroller_.message());
        }
    }
    return this;
}

Dialog* RallyDialog::leave()
{
    rally::switchReplayMenuEntries(1);
    setRebuild(true);
    return parent() != nullptr ? parent() : this;
}

Dialog* RallyDialog::select()
{
    const StagePtr stage = currentStage();
    switch (selection_) {
    case StageRow:
        setRebuild(true);
        return selectStageRow();
    case CarRow:
        setRebuild(true);
        if (rally::ServiceManager::instance().serviceAvailable()) {
            return openChild(std::make_unique<ServiceParkDialog>(this, rally_));
        }
        return this;
    case WeatherRow:
        // Only a hotlap's stage, before it is driven and with a chosen
        // (not random) weather, has options to pick from.
        if (rally_->isHotlap() && stage && !stage->driven() && stage->weatherMode() != randomWeather) {
            return openChild(std::make_unique<WeatherOptionsDialog>(this, stage));
        }
        return this;
    case SetupRow:
        openSetupScreen();
        return this;
    case EditRow:
        setRebuild(true);
        runCurrentAction();
        return this;
    case LeaveRow:
        return leave();
    default:
        return this;
    }
}

Dialog* RallyDialog::selectStageRow()
{
    const StagePtr stage = currentStage();
    if (!stage) {
        return this;
    }
    if (rally_->allDriven()) {
        saveRecordOrRetry();
    } else if (stage->driven()) {
        moveToNextStageNotDriven();
    } else {
        startCurrentStage();
    }
    return this;
}

// A finished attempt: a new record is written, anything else is tried again.
// When writing the record fails the attempt is kept, so that the player can
// save it once the cause is mended; records are what players value most.
void RallyDialog::saveRecordOrRetry()
{
    if (rally_->isNewRecord()) {
        if (!rally_->saveRecords()) {
            const std::string& why = rally_->lastFileFailure();
            report((why.empty() ? "Failed to save the " + std::string(rally_->isHotlap() ? "hotlap" : "rally") +
                                      " record"
                                : why) +
                   "; the attempt is kept, try again.");
            return;
        }
        report(kindName() + " record saved.");
    }
    rally_->resetAll();
    stageIndex_ = 0;
}

void RallyDialog::startCurrentStage()
{
    const StagePtr stage = currentStage();
    rally::loadCarForStage(*stage);
    rally::ReplayManager::instance().setLastResult(nullptr);
    giveServiceManagerCurrentCar(stage);
    rebuildActions();
    stage->resolvedCondition();
    const rally::CarPtr car = CarCatalogue::instance().selectedCar();
    if (car && rally::startStage(*car, stage)) {
        phase_ = Phase::StartRequested;
    } else {
        report("Failed to start stage.");
    }
}

void RallyDialog::openSetupScreen()
{
    const StagePtr stage = currentStage();
    if (stage && rally::openSetupScreen(*stage)) {
        phase_ = Phase::SetupScreen;
        setRebuild(true);
    }
}

// "Save Progress failed: Could not write Trip.prg: the disk is full.", or the
// part that did not work after one that succeeded.
std::string RallyDialog::actionOutcome(const rally::RallyAction& action, bool succeeded)
{
    const std::string& why = action.failureText();
    std::string text = action.label() + (succeeded ? " succeeded" : " failed");
    return why.empty() ? text + "." : text + ": " + why + ".";
}

void RallyDialog::runCurrentAction()
{
    if (actions_.empty()) {
        return;
    }
    rally::RallyAction& action = *actions_[static_cast<std::size_t>(actionIndex_)];
    const bool succeeded = action.run(*rally_, currentStage());
    report(actionOutcome(action, succeeded));
    rebuildActions();
    // Loading progress or resetting changes which stages are driven: go on
    // with the first one that is not.
    if (!rally_->allDriven() && rally_->stageCount() > 0) {
        stageIndex_ = 0;
        if (currentStage()->driven()) {
            moveToNextStageNotDriven();
        }
    }
}

void RallyDialog::step(int direction)
{
    const StagePtr stage = currentStage();
    if (!stage) {
        return;
    }
    setRebuild(true);
    switch (selection_) {
    case CarRow:
        if (!currentIsDrivenHotlapStage()) {
            stepCar(direction);
        }
        break;
    case WeatherRow:
        if (rally_->isHotlap() && !stage->driven()) {
            stage->cycleWeatherMode(direction > 0);
        }
        break;
    case TyresRow:
        if (!stage->driven()) {
            stage->cycleTyres(direction > 0);
        }
        break;
    case SetupRow:
        if (!currentIsDrivenHotlapStage()) {
            stepSetup(direction);
        }
        break;
    case EditRow:
        actionIndex_ = wrapped(actionIndex_ + direction, static_cast<int>(actions_.size()));
        break;
    default:
        break;
    }
}

void RallyDialog::stepCar(int direction)
{
    const StagePtr stage = currentStage();
    CarCatalogue& catalogue = CarCatalogue::instance();
    const int from = stage->carSlot() >= 0 ? stage->carSlot() : catalogue.selectedSlot();
    stage->setCarSlot(wrapped(from + direction, CarCatalogue::carCount));
    rally::loadCarForStage(*stage);
    giveServiceManagerCurrentCar(stage);
}

// Default, Current, then the car's saved setups in their order.
void RallyDialog::stepSetup(int direction)
{
    const StagePtr stage = currentStage();
    rally::loadCarForStage(*stage);
    const rally::CarPtr car = CarCatalogue::instance().selectedCar();
    if (!car) {
        return;
    }
    std::set<int> slots{rally::Car::defaultSetup, rally::Car::currentSetup};
    for (const auto& entry : car->setupList()) {
        slots.insert(entry.first);
    }
    const std::vector<int> ordered(slots.begin(), slots.end());
    const int current = stage->setupSlot() != Stage::noSetupChosen ? stage->setupSlot() : car->setupIndex();
    const auto found = std::find(ordered.begin(), ordered.end(), current);
    const int position = found == ordered.end() ? 0 : static_cast<int>(found - ordered.begin());
    stage->setSetupSlot(ordered[static_cast<std::size_t>(
        wrapped(position + direction, static_cast<int>(ordered.size())))]);
    rally::loadCarForStage(*stage);
}

// ---------------------------------------------------------------------------
// Page

void RallyDialog::createComponents(Page& page)
{
    logBuilderCall("zudo::ui::RallyDialog::createComponents()");
    if (const StagePtr stage = currentStage()) {
        rally::loadCarForStage(*stage); // the rows show the car and setup the game gets
        stage->resolvedCondition();     // and the conditions it will be driven in
    }
    // What the last event reported stays until the next one; otherwise the
    // status line helps with the selected row.
    const std::string help = reported_ ? std::string() : statusHelp();
    if (!help.empty()) {
        StatusLine::setText(help);
    }
    reported_ = false;
    Dialog::createComponents(page);
    createMenuComponents(page);
    switch (selection_) {
    case CarRow:
        createCarDetailsComponents(page);
        break;
    case WeatherRow:
        if (currentStage()) {
            createOptionsComponents(page);
        }
        break;
    default:
        if (const StagePtr stage = currentStage()) {
            createStageDetailsComponents(page, stage, panelPosition, panelDetailsFlags);
        }
        break;
    }
    createStandingsComponents(page);
}

std::string RallyDialog::statusHelp() const
{
    const StagePtr stage = currentStage();
    if (!stage) {
        return {};
    }
    switch (selection_) {
    case StageRow:
        return rally_->allDriven() ? std::string() : stageHelp();
    case CarRow: {
        std::string text = "Car: " + CarCatalogue::instance().displayName(CarCatalogue::instance().selectedSlot());
        if (rally::ServiceManager::instance().serviceAvailable()) {
            text += " (press ENTER to service)";
        }
        return text;
    }
    case SetupRow:
        return rowText(SetupRow);
    default:
        return {};
    }
}

std::string RallyDialog::stageHelp() const
{
    const StagePtr stage = currentStage();
    std::string text = stage->displayName();
    if (stage->driven()) {
        text += " (driven)";
    }
    text += ": ";
    if (stage->weatherMode() == randomWeather && !stage->driven()) {
        text += "Random Conditions, ";
    } else if (hasTrackConditions(*stage)) {
        const ConditionNames names = conditionNames(*stage);
        text += names.conditions + " " + names.sky + " " + names.timeOfDay + " " + names.surface + " " +
                names.track + ", ";
    }
    const rally::ServiceInfo& service =
        rally_->isHotlap() ? rally::ServiceManager::instance().currentAllowance() : stage->service();
    if (service.mechanics() <= 0) {
        text += "No Service";
    } else if (service.used()) {
        const int seconds = rally::wholeSeconds(stage->penalty());
        text += "Service Penalty " + std::to_string(seconds) + plural(seconds, " second");
    } else {
        text += "Service " + std::to_string(static_cast<int>(service.minutes())) + " min, " +
                std::to_string(service.mechanics()) + " " + rally::skillName(service.skill()) + " " +
                plural(service.mechanics(), "Mechanic");
    }
    return text;
}

std::string RallyDialog::rowText(int row) const
{
    const StagePtr stage = currentStage();
    const CarCatalogue& catalogue = CarCatalogue::instance();
    switch (row) {
    case StageRow:
        if (rally_->allDriven()) {
            return rally_->isNewRecord() ? "Save " + kindName() + " Record" : "Retry";
        }
        if (rally_->isHotlap()) {
            return stage->displayName();
        }
        return stage->displayName() + " (" + std::to_string(stageIndex_ + 1) + "/" +
               std::to_string(rally_->stageCount()) + ")";
    case CarRow: {
        const int slot = stage->carSlot() >= 0 ? stage->carSlot() : catalogue.selectedSlot();
        return "Car: " + catalogue.displayName(slot);
    }
    case WeatherRow: {
        std::string text = "Weather: " + StageCatalogue::instance().weatherModeWord(stage->weatherMode());
        if (stage->weatherMode() != randomWeather) {
            text += "  [Options...]";
        }
        return text;
    }
    case TyresRow:
        return "Tyres: " + rally::tyreName(stage->tyres());
    case SetupRow: {
        const rally::CarPtr car = catalogue.selectedCar();
        return "Setup: " + (car ? car->setupName() : std::string("Default"));
    }
    case EditRow:
        return "Edit: " + (actions_.empty() ? std::string() : actions_[static_cast<std::size_t>(actionIndex_)]->label());
    case LeaveRow:
        return "Leave " + rally_->name();
    default:
        return {};
    }
}

void RallyDialog::createMenuComponents(Page& page) const
{
    auto menu = std::make_shared<GroupComponent>(Point{0, 0});
    auto title = makeText(titlePosition, kindName() + " " + rally_->name(), rowSize);
    title->setColor(colors::title());
    title->setFont(fonts::title());
    menu->add(title);
    menu->add(makeHighlight(Point{0, rowTop(selection_)}, highlightSize));
    if (currentStage()) {
        for (int row = 0; row < rowCount; ++row) {
            menu->add(makeText(Point{rowLeft, rowTop(row)}, rowText(row), rowSize));
        }
    }
    page.add(menu);
}

void RallyDialog::createCarDetailsComponents(Page& page) const
{
    logBuilderCall("zudo::ui::RallyDialog::createCarDetailsComponents()");
    const rally::CarPtr car = CarCatalogue::instance().selectedCar();
    auto panel = std::make_shared<GroupComponent>(panelPosition);
    panel->add(makeTitle(Point{0, 0}, "Car Details"));
    if (car) {
        const std::pair<const char*, std::string> rows[] = {
            {"Model:", car->model()},   {"Horsepower:", car->horsepower()},
            {"Torque:", car->torque()}, {"Engine:", car->engine()},
            {"Tyres:", car->tyres()},   {"Weight:", car->weight()},
            {"Transmission:", car->transmission()},
        };
        float y = panelFirstRowTop;
        for (const auto& [label, value] : rows) {
            panel->add(makeText(Point{0, y}, label));
            panel->add(makeText(Point{panelValueLeft, y}, value));
            y += rowHeight;
        }
    }
    page.add(panel);
}

void RallyDialog::createOptionsComponents(Page& page) const
{
    logBuilderCall("zudo::ui::RallyDialog::createOptionsComponents()");
    const StagePtr stage = currentStage();
    auto panel = std::make_shared<GroupComponent>(panelPosition);
    panel->add(makeTitle(Point{0, 0}, "Weather/Track Options"));
    const bool random = stage->weatherMode() == randomWeather && !stage->driven();
    ConditionNames names{"Random", "Random", "Random", "Random", "Random"};
    if (!random) {
        names = hasTrackConditions(*stage) ? conditionNames(*stage) : ConditionNames{};
    }
    const std::pair<const char*, const std::string*> rows[] = {
        {"Conditions:", &names.conditions}, {"Sky:", &names.sky},     {"Time Of Day:", &names.timeOfDay},
        {"Surface:", &names.surface},       {"Track:", &names.track},
    };
    float y = panelFirstRowTop;
    for (const auto& [label, value] : rows) {
        panel->add(makeText(Point{0, y}, label));
        panel->add(makeText(Point{panelValueLeft, y}, *value));
        y += rowHeight;
    }
    page.add(panel);
}

void RallyDialog::createStandingsComponents(Page& page)
{
    logBuilderCall("zudo::ui::RallyDialog::createStandingsComponents()");
    page.add(makeText(standingsHeading, "Records"));
    page.add(makeText(Point{timeLeft, columnTitlesTop}, "Time"));
    page.add(makeText(Point{recordLeft, columnTitlesTop}, kindName() + " Record"));
    page.add(makeText(Point{surfaceBestLeft, columnTitlesTop}, "Surface"));
    page.add(makeText(Point{overallBestLeft, columnTitlesTop}, "Overall"));
    page.add(makeText(Point{hostResultLeft, columnTitlesTop}, "Stage"));

    const int count = static_cast<int>(rally_->stageCount());
    scroller_.setCount(count);
    scroller_.setCapacity(standingsCapacity);
    const int first = scroller_.currentIndex();
    float y = standingsFirstRowTop;
    for (int shown = 0; shown < std::min(count, standingsCapacity); ++shown) {
        createStandingsRow(page, wrapped(first + shown, count), y);
        y += rowHeight;
    }
    createTotalRow(page, y + totalRowGap);
    page.add(makeText(hintPosition, scroller_.hintText()));
}

void RallyDialog::createStandingsRow(Page& page, int index, float y) const
{
    Stage& stage = *rally_->stage(static_cast<std::size_t>(index));
    page.add(makeText(Point{nameLeft, y}, std::to_string(index + 1) + ") " + stage.displayName(), nameSize));

    std::string surface(1, ' ');
    surface += StageCatalogue::instance().surfaceWord(stage.surface());
    if (stage.service().mechanics() > 0) {
        surface += stage.service().used() ? "~" : "*";
    }
    auto surfaceText = makeText(Point{surfaceLeft, y}, surface);
    if (stage.driven()) {
        surfaceText->setColor(colors::cyan());
    }
    page.add(surfaceText);
    page.add(makeText(Point{timeLeft, y}, stage.isDnf() ? "DNF" : timeText(stage.finishTime())));

    const References references = referencesOf(stage);
    page.add(makeRecordCell(Point{recordLeft, y}, stage, references.record));
    page.add(makeRecordCell(Point{surfaceBestLeft, y}, stage, references.surfaceBest));
    page.add(makeRecordCell(Point{overallBestLeft, y}, stage, references.overallBest));
    page.add(makeRecordCell(Point{hostResultLeft, y}, stage, references.hostResult));
    if (const rally::HostResult* host = rally::HostResults::instance().find(stage.stageNumber())) {
        page.add(std::make_shared<MarkComponent>(Point{markLeft, y + 1}, host->carSlot));
    }
}

// The sums of the references while nothing is driven, then the summed
// differences to them.
void RallyDialog::createTotalRow(Page& page, float y) const
{
    const rally::RallyList& list = rally::RallyList::instance();
    page.add(makeText(Point{nameLeft, y}, "Total (penalties included)"));
    page.add(makeText(Point{timeLeft, y}, rally_->anyDnf() ? "DNF" : timeText(rally_->totalTime())));
    if (rally_->noneDriven()) {
        page.add(makeText(Point{recordLeft, y}, timeText(rally_->sumOfRecordTotals())));
        page.add(makeText(Point{surfaceBestLeft, y}, timeText(rally_->sumOfBestTotals(false, list))));
        page.add(makeText(Point{overallBestLeft, y}, timeText(rally_->sumOfBestTotals(true, list))));
        page.add(makeText(Point{hostResultLeft, y}, timeText(rally_->sumOfHostResultTotals())));
        return;
    }
    page.add(makeDifferenceCell(Point{recordLeft, y}, rally_->sumOfRecordDifferences(), 0));
    page.add(makeDifferenceCell(Point{surfaceBestLeft, y}, rally_->sumOfBestDifferences(false, list), 0));
    page.add(makeDifferenceCell(Point{overallBestLeft, y}, rally_->sumOfBestDifferences(true, list), 0));
    page.add(makeDifferenceCell(Point{hostDifferenceLeft, y}, rally_->sumOfHostResultDifferences(), 0));
}

} // namespace zudo::ui
