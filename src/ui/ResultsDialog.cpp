#include "ui/ResultsDialog.hpp"

#include <array>
#include <memory>
#include <string>
#include <utility>

#include "rally/Rally.hpp"
#include "rally/RallyList.hpp"
#include "ui/StageDetails.hpp"
#include "util/TimeText.hpp"

namespace zudo::ui {

namespace {

constexpr Point titlePosition{130, 49};
constexpr Point hostRecordPosition{130, 70};
constexpr Point barPosition{73, 49};
constexpr Size barSize{3, 182};
constexpr float columnTitleTop = 100;
constexpr float firstRowTop = 125;
constexpr float rowHeight = 15;
constexpr float labelLeft = 30;
constexpr float ownTimeLeft = 78;
constexpr float currentTitleLeft = 80;
// Record, Surface, Overall, Stage: the title, then the reference's time with
// its difference beside it.
constexpr std::array<float, 4> referenceTitleLeft{143, 267.25F, 391.5F, 515.75F};
constexpr std::array<float, 4> referenceTimeLeft{138, 262.25F, 386.5F, 510.75F};
constexpr float differenceOffset = 59.125F;
constexpr Point detailsPosition{5, 235};
constexpr int detailsFlags =
    CurrentTimeColumn | RallyRecordColumn | SurfaceRecordColumn | OverallRecordColumn | SplitRows;

// Split 1, split 2, then the finish.
constexpr int rowCount = 3;
float rowValue(const rally::StageTime& time, int row)
{
    return row < 2 ? time.split(row) : time.finishTime();
}
std::string rowLabel(int row) { return row < 2 ? "Split " + std::to_string(row + 1) : "Time"; }

std::string hostRecordText(const rally::StageTime& result)
{
    return "Stage Record by: " + result.driver() + "  Car (Slot " +
           std::to_string(result.carSlot()) + "): " + result.carName();
}

} // namespace

ResultsDialog::ResultsDialog(Dialog* parent, rally::StagePtr stage)
    : Dialog(parent), stage_(std::move(stage))
{
}

ResultsDialog::ResultsDialog(Dialog* parent, rally::StagePtr stage, const rally::RallyList& list)
    : Dialog(parent), stage_(std::move(stage)), list_(&list)
{
}

ResultsDialog::~ResultsDialog() = default;

const rally::RallyList& ResultsDialog::rallies() const
{
    return list_ != nullptr ? *list_ : rally::RallyList::instance();
}

Dialog* ResultsDialog::draw()
{
    if (parent() != nullptr) {
        return parent();
    }
    return Dialog::draw();
}

Dialog* ResultsDialog::drawResultPage()
{
    logBuilderCall("zudo::ui::ResultsDialog::drawResultsUI()");
    drawPage(resultPageArea);
    return this;
}

void ResultsDialog::createComponents(Page& page)
{
    Dialog::createComponents(page);
    if (!stage_ || stage_->isDnf()) {
        return;
    }
    rally::Stage& stage = *stage_;
    const StageReferences references = stageReferences(stage, rallies());
    const std::array<rally::StageTimePtr, 4> columns{references.record, references.surface,
                                                     references.overall, references.host};

    page.add(makeTitle(titlePosition, "Results " + stage.displayName()));
    if (references.host) {
        page.add(makeText(hostRecordPosition, hostRecordText(*references.host)));
    }
    auto bar = std::make_shared<PanelComponent>(barPosition, barSize);
    bar->setColor(menuColor(0));
    page.add(bar);

    const bool hotlap = stage.rally() != nullptr && stage.rally()->isHotlap();
    const std::array<std::string, 4> titles{std::string(hotlap ? "Hotlap" : "Rally") + " / Diff",
                                            "Surface / Diff", "Overall / Diff", "Stage / Diff"};
    page.add(makeText(Point{currentTitleLeft, columnTitleTop}, "Current"));
    for (std::size_t column = 0; column < titles.size(); ++column) {
        page.add(makeText(Point{referenceTitleLeft[column], columnTitleTop}, titles[column]));
    }

    for (int row = 0; row < rowCount; ++row) {
        const float top = firstRowTop + rowHeight * static_cast<float>(row);
        const float own = rowValue(stage, row);
        page.add(makeText(Point{labelLeft, top}, rowLabel(row)));
        page.add(makeText(Point{ownTimeLeft, top}, util::formatTime(own, false)));
        for (std::size_t column = 0; column < columns.size(); ++column) {
            if (!columns[column]) {
                continue;
            }
            const float reference = rowValue(*columns[column], row);
            const float left = referenceTimeLeft[column];
            page.add(makeText(Point{left, top}, util::formatTime(reference, false)));
            page.add(makeDifferenceCell(Point{left + differenceOffset, top}, own, reference));
        }
    }
    createStageDetailsComponents(page, stage_, detailsPosition, detailsFlags, rallies());
}

} // namespace zudo::ui
