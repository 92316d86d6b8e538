#include "ui/StartDialog.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ui/MainDialog.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"

namespace zudo::ui {

namespace {

using util::mem::StageStartRecordView;

constexpr int damageLevels = 4;  // Off, Safe, Reduced, Realistic
constexpr int transmissions = 2; // Manual, Automatic
constexpr int automatic = 1;
constexpr int manual = 0;

constexpr Point titlePosition{50, 70};
constexpr float firstRowTop = 100;
constexpr float rowHeight = 15;
constexpr float rowLeft = 50;
constexpr Size rowSize{150, 15};
constexpr Size highlightSize{200, 15};

// The game's stage-start record; nothing when the game is not there.
std::optional<StageStartRecordView> stageStartRecord()
{
    const util::mem::HostAddress address = util::mem::bindings::stageStartRecord.address();
    if (address.isNull()) {
        return std::nullopt;
    }
    return StageStartRecordView(address);
}

std::optional<int> recordValue(std::uint32_t offset)
{
    const std::optional<StageStartRecordView> record = stageStartRecord();
    if (!record) {
        return std::nullopt;
    }
    return record->get(offset);
}

void setRecordValue(std::uint32_t offset, int value)
{
    if (const std::optional<StageStartRecordView> record = stageStartRecord()) {
        record->set(offset, value);
    }
}

// One step within 0..count-1; leaving the range at either end wraps around.
// (Wide arithmetic: the game's record may hold any value.)
int stepped(int value, int step, int count)
{
    const std::int64_t next = static_cast<std::int64_t>(value) + step;
    if (next < 0) {
        return count - 1;
    }
    if (next >= count) {
        return 0;
    }
    return static_cast<int>(next);
}

float rowTop(int row) { return firstRowTop + rowHeight * static_cast<float>(row); }

} // namespace

const char* damageLevelName(int level)
{
    static constexpr const char* names[damageLevels] = {"Off", "Safe", "Reduced", "Realistic"};
    return level >= 0 && level < damageLevels ? names[level] : "Unknown";
}

const char* transmissionName(int transmission)
{
    static constexpr const char* names[transmissions] = {"Manual", "Automatic"};
    return transmission >= 0 && transmission < transmissions ? names[transmission] : "Unknown";
}

StartDialog::StartDialog()
{
    if (const std::optional<int> preference =
            recordValue(StageStartRecordView::gearboxPreferenceOffset)) {
        setRecordValue(StageStartRecordView::transmissionOffset,
                       *preference == 0 ? automatic : manual);
    }
}

Dialog* StartDialog::HandleFrontEndEvents(char, bool up, bool down, bool left, bool right,
                                          bool select)
{
    if (up) {
        selection_ = stepped(selection_, -1, rowCount);
        setRebuild(true);
    }
    if (down) {
        selection_ = stepped(selection_, +1, rowCount);
        setRebuild(true);
    }
    if (select) {
        setRebuild(true);
        if (selection_ == HotlapsRow || selection_ == RalliesRow) {
            return openChild(std::make_unique<MainDialog>(this, selection_ == HotlapsRow));
        }
    }
    if (left || right) {
        setRebuild(true);
        stepOption(left ? -1 : +1);
    }
    return this;
}

void StartDialog::stepOption(int step)
{
    std::uint32_t offset = 0;
    int count = 0;
    if (selection_ == DamageRow) {
        offset = StageStartRecordView::damageLevelOffset;
        count = damageLevels;
    } else if (selection_ == TransmissionRow) {
        offset = StageStartRecordView::transmissionOffset;
        count = transmissions;
    } else {
        return;
    }
    if (const std::optional<int> value = recordValue(offset)) {
        setRecordValue(offset, stepped(*value, step, count));
    }
}

void StartDialog::createComponents(Page& page)
{
    logBuilderCall("zudo::ui::StartDialog::createComponents()");
    Dialog::createComponents(page);

    const std::optional<int> damage = recordValue(StageStartRecordView::damageLevelOffset);
    const std::optional<int> transmission = recordValue(StageStartRecordView::transmissionOffset);
    const std::string rows[rowCount] = {
        "Hotlaps",
        "Rallies",
        std::string("Car Damage: ") + damageLevelName(damage.value_or(-1)),
        std::string("Transmission: ") + transmissionName(transmission.value_or(-1)),
    };

    auto group = std::make_shared<GroupComponent>(Point{0, 0});
    group->add(makeTitle(titlePosition, "Zuzuzevo"));
    group->add(makeHighlight(Point{0, rowTop(selection_)}, highlightSize));
    for (int row = 0; row < rowCount; ++row) {
        group->add(makeText(Point{rowLeft, rowTop(row)}, rows[row], rowSize));
    }
    page.add(group);
}

} // namespace zudo::ui
