#include "ui/MainDialog.hpp"

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "rally/RallyList.hpp"
#include "rally/Names.hpp"
#include "tracks/StageCatalogue.hpp"
#include "ui/RallyDialog.hpp"
#include "ui/Screen.hpp"
#include "util/Exception.hpp"
#include "util/TimeText.hpp"

namespace zudo::ui {

namespace {

constexpr Point titlePosition{5, 20};
constexpr float firstRowTop = 50;
constexpr float rowHeight = 15;
constexpr float nameLeft = 5;
constexpr Size nameSize{180, 15};
constexpr Point backPosition{5, 425};
constexpr Size backSize{180, 15};
constexpr Size highlightSize{185, 15};
constexpr Point backHighlightPosition{0, 425};
constexpr Point emptyListPosition{5, 50};

// The details, relative to their group.
constexpr Point detailsPosition{190, 50};
constexpr float valueLeft = 90;
constexpr float recordsTop = 75;
constexpr Point hintPosition{0, 375};
// Time, weather, tyres, track, date.
constexpr float placeLeft = 0;
constexpr float timeLeft = 20;
constexpr float weatherLeft = 90;
constexpr float tyresLeft = 145;
constexpr float trackLeft = 260;
constexpr float dateLeft = 335;

float rowTop(int row) { return firstRowTop + rowHeight * static_cast<float>(row); }

std::vector<rally::RallyPtr> entriesOf(const rally::RallyList& list, bool hotlaps)
{
    std::vector<rally::RallyPtr> entries;
    for (const rally::RallyPtr& rally : list) {
        if (rally && rally->isHotlap() == hotlaps) {
            entries.push_back(rally);
        }
    }
    return entries;
}

std::shared_ptr<TextComponent> makeText(float x, float y, std::string text)
{
    return ui::makeText(Point{x, y}, std::move(text));
}

// "dry new": the surface and the wear of a record's track, when it has them.
std::string trackText(const rally::StageTime& record)
{
    const rally::TrackConditionPtr& condition = record.condition();
    if (!condition || (condition->surface < 0 && condition->track < 0)) {
        return {};
    }
    const tracks::StageCatalogue& catalogue = tracks::StageCatalogue::instance();
    return catalogue.surfaceWord(condition->surface) + " " + catalogue.trackWord(condition->track);
}

std::string dateText(const std::optional<platform::CalendarTime>& date)
{
    return date ? util::formatDateTime(*date) : std::string();
}

} // namespace

MainDialog::MainDialog(Dialog* parent, bool hotlaps)
    : MainDialog(parent, hotlaps, rally::RallyList::instance())
{
}

MainDialog::MainDialog(Dialog* parent, bool hotlaps, const rally::RallyList& list)
    : Dialog(parent), hotlaps_(hotlaps), entries_(entriesOf(list, hotlaps))
{
}

MainDialog::~MainDialog() = default;

Dialog* MainDialog::draw()
{
    deleteChild();
    if (scroller_.tick()) {
        setRebuild(true);
    }
    return Dialog::draw();
}

Dialog* MainDialog::HandleFrontEndEvents(char key, bool up, bool down, bool, bool, bool select)
{
    if (up) {
        moveUp();
    }
    if (down) {
        moveDown();
    }
    if (select) {
        setRebuild(true);
        selected_ = offset_ + row_;
        if (selected_ >= count()) {
            return parent() != nullptr ? parent() : this;
        }
        return openSelected();
    }
    if (up || down) {
        return this;
    }
    if (key == 'B' || key == 'b') {
        setRebuild(true);
        return parent() != nullptr ? parent() : this;
    }
    if (scroller_.handleKey(key)) {
        setRebuild(true);
        if (!scroller_.message().empty()) {
            StatusLine::setText(scroller_.message());
        }
    }
    return this;
}

void MainDialog::moveUp()
{
    setRebuild(true);
    if (--row_ < 0) {
        --offset_;
        row_ = 0;
    }
    if (offset_ + row_ < 0) {
        // From the first entry to "Back", with the last entries above it.
        if (count() > window) {
            offset_ = count() - window;
            row_ = window;
        } else {
            offset_ = 0;
            row_ = count();
        }
    }
    selected_ = offset_ + row_;
}

void MainDialog::moveDown()
{
    setRebuild(true);
    const int previous = row_;
    if (++row_ >= window) {
        ++offset_;
        row_ = previous;
    }
    if (offset_ + row_ > count()) {
        // From "Back" to the first entry.
        offset_ = 0;
        row_ = 0;
    }
    selected_ = offset_ + row_;
}

Dialog* MainDialog::openSelected()
{
    const rally::RallyPtr& entry = entries_[static_cast<std::size_t>(selected_)];
    if (entry->stageCount() == 0) {
        return this; // nothing to drive
    }
    return openChild(std::make_unique<RallyDialog>(this, entry));
}

void MainDialog::createComponents(Page& page)
{
    logBuilderCall("zudo::ui::MainDialog::createComponents()");
    // The details are read first: what cannot be read is told in the status
    // line, which is built next.
    ComponentRef details;
    if (selected_ >= count() || !entries_[static_cast<std::size_t>(selected_)]->isHotlap()) {
        stopPagingRecords();
    }
    if (selected_ < count()) {
        const rally::RallyPtr& entry = entries_[static_cast<std::size_t>(selected_)];
        std::string failure;
        try {
            details = createRallyDetailsComponents(entry);
        } catch (const Exception& error) {
            failure = error.fullText();
        } catch (const std::exception& error) {
            failure = error.what();
        }
        if (!details) {
            dataWarning_ = "The details of " + entry->name() + " could not be read: " + failure;
            StatusLine::setText(dataWarning_);
        }
    }
    Dialog::createComponents(page);
    createListComponents(page);
    page.add(details);
}

void MainDialog::createListComponents(Page& page)
{
    auto group = std::make_shared<GroupComponent>(Point{0, 0});
    group->add(makeTitle(titlePosition, hotlaps_ ? "Hotlaps" : "Rallies"));
    group->add(makeHighlight(selected_ < count() ? Point{0, rowTop(row_)} : backHighlightPosition,
                             highlightSize));
    if (count() > 0) {
        for (int row = 0; row < window && offset_ + row < count(); ++row) {
            const rally::RallyPtr& entry = entries_[static_cast<std::size_t>(offset_ + row)];
            group->add(ui::makeText(Point{nameLeft, rowTop(row)}, entry->name(), nameSize));
        }
    } else {
        auto none = ui::makeText(emptyListPosition, "No rally config files found");
        none->setColor(colors::red());
        none->setFont(fonts::title());
        group->add(none);
    }
    group->add(ui::makeText(backPosition, "Back", backSize));
    page.add(group);
}

ComponentRef MainDialog::createRallyDetailsComponents(const rally::RallyPtr& entry)
{
    logBuilderCall("zudo::ui::MainDialog::createRallyDetailsComponents()");
    reportUnreadableRecords(*entry);
    rally::Rally& rally = *entry;
    auto group = std::make_shared<GroupComponent>(detailsPosition);
    auto heading = makeText(0, 0, std::string(rally.isHotlap() ? "Hotlap" : "Rally") + " Details");
    heading->setColor(colors::title());
    group->add(heading);
    group->add(makeText(0, 15, "Name:"));
    group->add(makeText(valueLeft, 15, rally.name()));
    group->add(makeText(0, 30, "Stages:"));
    group->add(makeText(valueLeft, 30, std::to_string(rally.stageCount())));
    if (rally.isHotlap()) {
        addHotlapRecords(*group, rally);
    } else {
        group->add(makeText(120, 30, "Driven:"));
        group->add(makeText(180, 30, std::to_string(rally.drivenCount())));
        addRallyRecord(*group, rally);
    }
    return group;
}

void MainDialog::addHotlapRecords(GroupComponent& group, rally::Rally& hotlap)
{
    std::vector<rally::StageTimePtr> records;
    if (const rally::StagePtr stage = hotlap.stage(0)) {
        for (const auto& [key, record] : stage->records()) {
            records.push_back(record);
        }
    }
    const int count = static_cast<int>(records.size());
    group.add(makeText(0, 45, "Hotlap Records (" + std::to_string(count) + ")"));
    group.add(makeText(timeLeft, 60, "Time"));
    group.add(makeText(weatherLeft, 60, "Weather"));
    group.add(makeText(tyresLeft, 60, "Tyres"));
    group.add(makeText(trackLeft, 60, "Track"));
    group.add(makeText(dateLeft, 60, "Date"));

    scroller_.setCount(count);
    scroller_.setCapacity(recordRows);
    const int first = scroller_.currentIndex();
    const tracks::StageCatalogue& catalogue = tracks::StageCatalogue::instance();
    for (int row = 0; row < recordRows && row < count; ++row) {
        const int index = (first + row) % count;
        const rally::StageTime& record = *records[static_cast<std::size_t>(index)];
        const float top = recordsTop + rowHeight * static_cast<float>(row);
        group.add(makeText(placeLeft, top, std::to_string(index + 1) + ")"));
        group.add(makeText(timeLeft, top, util::formatTime(record.finishTime(), false)));
        group.add(makeText(weatherLeft, top, catalogue.weatherModeWord(record.weatherMode())));
        group.add(makeText(tyresLeft, top, rally::tyreName(record.tyres())));
        group.add(makeText(trackLeft, top, trackText(record)));
        group.add(makeText(dateLeft, top, util::formatDateTime(record.date())));
    }
    if (count == 0) {
        group.add(makeText(timeLeft, recordsTop, util::formatTime(0, false)));
    }
    group.add(ui::makeText(hintPosition, scroller_.hintText()));
}

void MainDialog::addRallyRecord(GroupComponent& group, rally::Rally& rally)
{
    group.add(makeText(0, 45, "Rally Record"));
    group.add(makeText(0, 60, "Time"));
    group.add(makeText(valueLeft, 60, "Date"));
    group.add(makeText(0, 75, util::formatTime(rally.sumOfRecordTotals(), false)));
    group.add(makeText(valueLeft, 75, dateText(rally.recordDate())));
    group.add(makeText(0, 90, "Progress Saved:"));
    const std::optional<platform::CalendarTime> progress = rally.progressDate();
    group.add(makeText(valueLeft, 90, progress ? util::formatDateTime(*progress) : "no"));
}

void MainDialog::stopPagingRecords()
{
    // Nothing to page: the scroller no longer moves by itself.
    scroller_.setCount(0);
    scroller_.currentIndex();
}

void MainDialog::reportUnreadableRecords(const rally::Rally& entry)
{
    if (!entry.recordsReadable()) {
        dataWarning_ = "Some records of " + entry.name() +
                       " could not be read: its best-times file is damaged.";
        StatusLine::setText(dataWarning_);
    } else if (!dataWarning_.empty() && StatusLine::text() == dataWarning_) {
        StatusLine::setReady();
        dataWarning_.clear();
    }
}

} // namespace zudo::ui
