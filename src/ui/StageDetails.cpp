#include "ui/StageDetails.hpp"

#include <array>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rally/HostResults.hpp"
#include "rally/Names.hpp"
#include "rally/Rally.hpp"
#include "rally/RallyList.hpp"
#include "rally/RecordKey.hpp"
#include "rally/Times.hpp"
#include "tracks/StageCatalogue.hpp"
#include "ui/Dialog.hpp"
#include "util/TimeText.hpp"

namespace zudo::ui {

namespace {

using rally::StageTime;
using rally::StageTimePtr;

constexpr float pageWidth = 640;
constexpr float labelColumnWidth = 43;
constexpr float columnTitleTop = 20;
constexpr float rowHeight = 15;
// The rows start one row below the column titles, beside their labels.
constexpr float firstRowTop = columnTitleTop + rowHeight;

constexpr std::array<int, 5> columnFlags{CurrentTimeColumn, RallyRecordColumn,
                                         SurfaceRecordColumn, OverallRecordColumn,
                                         StageRecordColumn};

bool has(int flags, int flag) { return (flags & flag) != 0; }

int columnCount(int flags)
{
    int count = 0;
    for (const int flag : columnFlags) {
        count += has(flags, flag) ? 1 : 0;
    }
    return count;
}

const tracks::StageCatalogue& catalogue() { return tracks::StageCatalogue::instance(); }

std::string joinedWords(std::initializer_list<std::string> words)
{
    std::string joined;
    for (const std::string& word : words) {
        if (word.empty()) {
            continue;
        }
        if (!joined.empty()) {
            joined += ' ';
        }
        joined += word;
    }
    return joined;
}

// The word of the time's surface as its condition holds it, without choosing
// a condition for a time that has none yet.
std::string surfaceWordOf(const StageTime& time)
{
    const rally::TrackConditionPtr& condition = time.condition();
    return condition ? catalogue().surfaceWord(condition->surface) : std::string();
}

// A time followed by a blank and its surface's word, when it has one.
std::string withSurface(std::string text, const StageTime& time)
{
    const std::string surface = surfaceWordOf(time);
    if (!surface.empty()) {
        text += ' ';
        text += surface;
    }
    return text;
}

std::string dateText(const platform::CalendarTime& date)
{
    return date == platform::CalendarTime{} ? std::string() : util::formatDateTime(date);
}

std::vector<std::string> rowLabels(bool splitRows)
{
    std::vector<std::string> labels;
    if (splitRows) {
        labels = {"Split 1:", "Split 2:"};
    }
    for (const char* label :
         {"Time:", "Rally:", "Driver:", "Date:", "Options:", "", "Car:", "Tyres:", "Setup:"}) {
        labels.emplace_back(label);
    }
    return labels;
}

// The column of one time, row by row beside the labels.
std::vector<std::string> columnValues(const StageTime& time, bool splitRows)
{
    const rally::Rally* rally = time.rally();
    const bool hasCar = !time.carName().empty();
    std::vector<std::string> values;
    if (splitRows) {
        values = {util::formatTime(time.split(0), false), util::formatTime(time.split(1), false)};
    }
    std::string finish = util::formatTime(time.finishTime(), false);
    values.push_back(rally != nullptr ? withSurface(std::move(finish), time) : finish);
    values.push_back(rally != nullptr ? rally->name() : std::string());
    values.push_back(time.driver());
    values.push_back(dateText(time.date()));
    values.push_back(conditionsAndSkyWords(time));
    values.push_back(dayAndSurfaceWords(time));
    values.push_back(hasCar ? std::to_string(time.carSlot()) + " " + time.carName() : std::string());
    values.push_back(hasCar && rally != nullptr ? rally::tyreName(time.tyres()) : std::string());
    values.push_back(time.setupName());
    return values;
}

std::string columnTitle(int flag, const rally::Stage& stage)
{
    switch (flag) {
    case CurrentTimeColumn:
        return "Current Time";
    case RallyRecordColumn:
        return stage.rally() != nullptr && stage.rally()->isHotlap() ? "Hotlap Record"
                                                                      : "Rally Record";
    case SurfaceRecordColumn:
        return "Surface Record";
    case OverallRecordColumn:
        return "Overall Record";
    default:
        return "Stage Record";
    }
}

// The time a column shows: the stage itself or one of its references.
StageTimePtr columnTime(int flag, const rally::StagePtr& stage, const StageReferences& references)
{
    switch (flag) {
    case CurrentTimeColumn:
        return stage;
    case RallyRecordColumn:
        return references.record;
    case SurfaceRecordColumn:
        return references.surface;
    case OverallRecordColumn:
        return references.overall;
    default:
        return references.host;
    }
}

void addTexts(GroupComponent& group, float left, const std::vector<std::string>& texts,
              std::optional<Size> size)
{
    for (std::size_t row = 0; row < texts.size(); ++row) {
        if (!texts[row].empty()) {
            group.add(makeText(Point{left, firstRowTop + rowHeight * static_cast<float>(row)},
                               texts[row], size));
        }
    }
}

// The references the flags ask for; the best times across rallies from list,
// or from the process's list when list is null (built only when needed).
StageReferences referencesAmong(rally::Stage& stage, const rally::RallyList* list, int flags)
{
    StageReferences references;
    if (has(flags, RallyRecordColumn)) {
        references.record = stage.currentRecord();
    }
    if (has(flags, SurfaceRecordColumn) || has(flags, OverallRecordColumn)) {
        const rally::RallyList& rallies = list != nullptr ? *list : rally::RallyList::instance();
        if (has(flags, SurfaceRecordColumn)) {
            references.surface = rallies.bestTimeOnStage(stage.displayName(), stage.surface());
        }
        if (has(flags, OverallRecordColumn)) {
            references.overall = rallies.bestTimeOnStage(stage.displayName(), rally::RecordKey::any);
        }
    }
    if (has(flags, StageRecordColumn)) {
        references.host = rally::HostResults::instance().resultFor(stage.stageNumber());
    }
    return references;
}

void addStageDetails(Page& page, const rally::StagePtr& stage, Point position, int flags,
                     const rally::RallyList* list)
{
    logBuilderCall("zudo::ui::Dialog::createStageDetailsComponents()");
    if (!stage) {
        return;
    }
    const bool splitRows = has(flags, SplitRows);
    auto group = std::make_shared<GroupComponent>(position);
    group->add(makeTitle(Point{0, 0}, "Stage Details"));
    addTexts(*group, 0, rowLabels(splitRows), std::nullopt);

    const int columns = columnCount(flags);
    if (columns > 0) {
        // Every flag set takes its share of the width, also one whose
        // reference does not exist and that therefore draws no column.
        const float width = (pageWidth - position.x - labelColumnWidth) / static_cast<float>(columns);
        const Size size{width, rowHeight};
        const StageReferences references = referencesAmong(*stage, list, flags);
        float left = labelColumnWidth;
        for (const int flag : columnFlags) {
            if (!has(flags, flag)) {
                continue;
            }
            const StageTimePtr time = columnTime(flag, stage, references);
            if (!time) {
                continue;
            }
            group->add(makeText(Point{left, columnTitleTop}, columnTitle(flag, *stage), size));
            addTexts(*group, left, columnValues(*time, splitRows), size);
            left += width;
        }
    }
    page.add(group);
}

} // namespace

std::string conditionsAndSkyWords(const StageTime& time)
{
    const rally::TrackConditionPtr& condition = time.condition();
    if (!condition) {
        return {};
    }
    return joinedWords({catalogue().conditionsWord(condition->conditions),
                        catalogue().skyWord(condition->sky)});
}

std::string dayAndSurfaceWords(const StageTime& time)
{
    const rally::TrackConditionPtr& condition = time.condition();
    if (!condition) {
        return {};
    }
    return joinedWords({catalogue().timeOfDayWord(condition->timeOfDay),
                        catalogue().surfaceWord(condition->surface),
                        catalogue().trackWord(condition->track)});
}

StageReferences stageReferences(rally::Stage& stage, const rally::RallyList& list, int flags)
{
    return referencesAmong(stage, &list, flags);
}

void createStageDetailsComponents(Page& page, const rally::StagePtr& stage, Point position,
                                  int flags)
{
    addStageDetails(page, stage, position, flags, nullptr);
}

void createStageDetailsComponents(Page& page, const rally::StagePtr& stage, Point position,
                                  int flags, const rally::RallyList& list)
{
    addStageDetails(page, stage, position, flags, &list);
}

ComponentRef makeDifferenceCell(Point position, float own, float reference)
{
    const float difference = rally::timeDifference(own, reference);
    auto cell = makeText(position, util::formatTime(difference, true));
    cell->setColor(difference > 0 ? colors::red() : colors::green());
    return cell;
}

ComponentRef makeRecordCell(Point position, const rally::Stage& stage,
                            const StageTimePtr& reference)
{
    if (!reference) {
        return makeText(position, util::formatTime(0, false));
    }
    if (stage.finishTime() == 0) {
        return makeText(position,
                        withSurface(util::formatTime(reference->finishTime(), false), *reference));
    }
    const float difference = rally::timeDifference(stage.finishTime(), reference->finishTime());
    auto cell = makeText(position, withSurface(util::formatTime(difference, true), *reference));
    cell->setColor(difference > 0 ? colors::red() : colors::green());
    return cell;
}

} // namespace zudo::ui
