#include "ui/TimeMessages.hpp"

#include "config/Settings.hpp"
#include "ui/GameHolder.hpp"
#include "ui/HostInterfaces.hpp"
#include "ui/Style.hpp"
#include "util/TimeText.hpp"

namespace zudo::ui {

namespace {

using namespace config::zuzuzevo;

// The colour tells the driver at a glance which reference he is behind:
// his own best first, then the overall best, then the game's record.
ColorRef messageColor(const TimeDifferences& differences)
{
    if (differences.best > 0) {
        return colors::red();
    }
    if (differences.overall > 0) {
        return colors::black();
    }
    if (differences.stageRecord > 0) {
        return colors::blue();
    }
    return colors::green();
}

void appendDifference(std::string& text, const std::string& label, float difference)
{
    text += ' ';
    text += label;
    text += ' ';
    text += util::formatTime(difference, true);
}

} // namespace

void showTimeDifferences(const std::string& label, const TimeDifferences& differences)
{
    // Every setting is read again for each message, so edits apply at once.
    const int duration = InGameDiffDuration().get();
    if (duration <= 0) {
        return;
    }
    const bool showBest = ShowInGameBestTimeDiff().get();
    const bool showOverall = ShowInGameOverallDiff().get();
    const bool showStageRecord = ShowInGameStageRecordDiff().get();
    if (!showBest && !showOverall && !showStageRecord) {
        return;
    }
    GameInterface* game = ui::GameHolder::instance().game();
    if (game == nullptr) {
        return;
    }
    messageColor(differences)->apply(DrawContext{game, 0, 0});

    std::string text = label;
    if (showBest) {
        appendDifference(text, InGameBestTimeDiffLabel().get(), differences.best);
    }
    if (showOverall) {
        appendDifference(text, InGameOverallDiffLabel().get(), differences.overall);
    }
    // A missing game record is left out; a zero difference to one is shown.
    if (showStageRecord && (differences.stageRecord != 0 || differences.hasStageRecord)) {
        appendDifference(text, InGameStageRecordDiffLabel().get(), differences.stageRecord);
    }
    game->ShowMessage(text.c_str(), static_cast<float>(duration),
                      static_cast<float>(InGameDiffPosX().get()),
                      static_cast<float>(InGameDiffPosY().get()));
}

std::string splitLabel(int checkpoint)
{
    return InGameSplitLabel().get() + std::to_string(checkpoint) + ":";
}

std::string finishLabel() { return InGameFinishLabel().get() + ":"; }

} // namespace zudo::ui
