#pragma once
// Every valid weather and track combination of a hotlap stage's track; the
// one under the cursor is applied to the stage at once.

#include "rally/Stage.hpp"
#include "tracks/TrackCondition.hpp"
#include "ui/Dialog.hpp"

namespace zudo::ui {

class WeatherOptionsDialog : public Dialog {
public:
    // Rows of the list on screen.
    static constexpr int window = 25;

    // The cursor starts on the stage's own condition when the track offers it.
    WeatherOptionsDialog(Dialog* parent, rally::StagePtr stage);
    ~WeatherOptionsDialog() override;

    // Up and down move the cursor (wrapping at both ends) and apply the
    // combination under it; select applies it and returns to the parent.
    Dialog* HandleFrontEndEvents(char key, bool up, bool down, bool left, bool right,
                                 bool select) override;
    void createComponents(Page& page) override;

    int row() const { return row_; }
    int offset() const { return offset_; }
    const tracks::TrackConditionList& entries() const { return entries_; }

private:
    int count() const { return static_cast<int>(entries_.size()); }
    void moveUp();
    void moveDown();
    void applyEntryUnderCursor();
    void placeCursorOnStageCondition();

    rally::StagePtr stage_;
    tracks::TrackConditionList entries_;
    int row_ = 0;
    int offset_ = 0;
};

} // namespace zudo::ui
