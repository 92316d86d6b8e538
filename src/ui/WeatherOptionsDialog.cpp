#include "ui/WeatherOptionsDialog.hpp"

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <string>
#include <utility>

#include "rally/ConditionChoice.hpp"
#include "tracks/StageCatalogue.hpp"
#include "ui/Screen.hpp"
#include "ui/StageDetails.hpp"
#include "util/Exception.hpp"

namespace zudo::ui {

namespace {

constexpr Point titlePosition{5, 5};
constexpr float columnTitleTop = 35;
constexpr float firstRowTop = 60;
constexpr float rowHeight = 15;
constexpr float placeLeft = 5;
constexpr float highlightWidth = 400;
// Conditions, sky, time of day, surface, track.
constexpr std::array<float, 5> columnLeft{35, 125, 215, 305, 355};
constexpr std::array<const char*, 5> columnTitles{"Conditions", "Sky", "Time Of Day", "Surface",
                                                  "Track"};
constexpr Point detailsPosition{425, 35};
constexpr int detailsFlags = RallyRecordColumn | SplitRows;

float rowTop(int row) { return firstRowTop + rowHeight * static_cast<float>(row); }

std::array<std::string, 5> conditionWords(const tracks::TrackCondition& condition)
{
    const tracks::StageCatalogue& catalogue = tracks::StageCatalogue::instance();
    return {catalogue.conditionsWord(condition.conditions), catalogue.skyWord(condition.sky),
            catalogue.timeOfDayWord(condition.timeOfDay), catalogue.surfaceWord(condition.surface),
            catalogue.trackWord(condition.track)};
}

// The valid combinations of the stage's track. When there are none, or the
// game's data cannot be read, the status line says so.
tracks::TrackConditionList combinationsOf(const rally::Stage& stage)
{
    std::string failure;
    try {
        tracks::TrackConditionList list;
        if (const rally::TrackOverridePtr& track = stage.trackOverride()) {
            list = rally::conditionChoice().all(*track);
        }
        std::erase(list, nullptr);
        if (list.empty()) {
            StatusLine::setText("No valid weather and track combination found for " +
                                stage.displayName() + ".");
        }
        return list;
    } catch (const Exception& error) {
        failure = error.fullText();
    } catch (const std::exception& error) {
        failure = error.what();
    }
    StatusLine::setText("The weather of " + stage.displayName() + " could not be read: " + failure);
    return {};
}

} // namespace

WeatherOptionsDialog::WeatherOptionsDialog(Dialog* parent, rally::StagePtr stage)
    : Dialog(parent), stage_(std::move(stage))
{
    if (!stage_) {
        return;
    }
    entries_ = combinationsOf(*stage_);
    placeCursorOnStageCondition();
}

WeatherOptionsDialog::~WeatherOptionsDialog() = default;

void WeatherOptionsDialog::placeCursorOnStageCondition()
{
    const rally::TrackConditionPtr& current = stage_->condition();
    if (!current) {
        return;
    }
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const auto& entry) { return *entry == *current; });
    if (found == entries_.end()) {
        return; // the cursor stays on the first combination
    }
    const int index = static_cast<int>(found - entries_.begin());
    if (index >= window) {
        offset_ = index - window + 1;
        row_ = window - 1;
    } else {
        row_ = index;
    }
}

Dialog* WeatherOptionsDialog::HandleFrontEndEvents(char, bool up, bool down, bool, bool,
                                                   bool select)
{
    Dialog* const back = parent() != nullptr ? parent() : this;
    if (count() == 0) {
        return select ? back : this;
    }
    if (up) {
        moveUp();
    }
    if (down) {
        moveDown();
    }
    if (up || down || select) {
        applyEntryUnderCursor();
    }
    return select ? back : this;
}

void WeatherOptionsDialog::moveUp()
{
    setRebuild(true);
    if (--row_ < 0) {
        --offset_;
        row_ = 0;
    }
    if (offset_ + row_ < 0) {
        if (window < count()) {
            offset_ = count() - window;
            row_ = window - 1;
        } else {
            offset_ = 0;
            row_ = count() - 1;
        }
    }
}

void WeatherOptionsDialog::moveDown()
{
    setRebuild(true);
    if (row_ + 1 >= window) {
        ++offset_;
    } else {
        ++row_;
    }
    if (offset_ + row_ >= count()) {
        offset_ = 0;
        row_ = 0;
    }
}

void WeatherOptionsDialog::applyEntryUnderCursor()
{
    const int index = offset_ + row_;
    if (!stage_ || index < 0 || index >= count()) {
        return;
    }
    // A copy: the track knowledge keeps its list to itself.
    stage_->setCondition(std::make_shared<tracks::TrackCondition>(*entries_[static_cast<std::size_t>(index)]));
}

void WeatherOptionsDialog::createComponents(Page& page)
{
    logBuilderCall("zudo::ui::WeatherOptionsDialog::createComponents()");
    Dialog::createComponents(page);
    if (!stage_) {
        return;
    }
    auto group = std::make_shared<GroupComponent>(Point{0, 0});
    group->add(makeTitle(titlePosition, "Weather And Track Options (" + std::to_string(count()) +
                                            " Total): " + stage_->displayName()));
    if (count() > 0) {
        for (std::size_t column = 0; column < columnTitles.size(); ++column) {
            group->add(makeText(Point{columnLeft[column], columnTitleTop}, columnTitles[column]));
        }
        group->add(makeHighlight(Point{0, rowTop(row_)}, Size{highlightWidth, rowHeight}));
    }
    for (int row = 0; row < window && offset_ + row < count(); ++row) {
        const int index = offset_ + row;
        const float top = rowTop(row);
        group->add(makeText(Point{placeLeft, top}, std::to_string(index + 1) + ")"));
        const std::array<std::string, 5> words =
            conditionWords(*entries_[static_cast<std::size_t>(index)]);
        for (std::size_t column = 0; column < words.size(); ++column) {
            group->add(makeText(Point{columnLeft[column], top}, words[column]));
        }
    }
    page.add(group);
    createStageDetailsComponents(page, stage_, detailsPosition, detailsFlags);
}

} // namespace zudo::ui
