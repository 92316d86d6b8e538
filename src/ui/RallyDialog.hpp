#pragma once
// Drives one rally or hotlap: the seven-row menu of its current stage, the
// details panel, the standings, stage starts, splits and results.
//
// Rows: 0 the stage (or, once every stage is driven, "Save ... Record" /
// "Retry"), 1 "Car: ", 2 "Weather: ", 3 "Tyres: ", 4 "Setup: ", 5 "Edit: "
// (the actions on the rally), 6 "Leave ...".
//
// Phases of a stage: idle; the game's setup screen was opened (the player
// comes back to this page from it); a start was requested; the game reported
// the start. A started stage that ends without a result was abandoned: it is
// driven without a finish time (DNF).

#include <memory>
#include <string>
#include <vector>

#include "rally/Rally.hpp"
#include "rally/RallyAction.hpp"
#include "ui/AutoScroller.hpp"
#include "ui/Dialog.hpp"

namespace zudo::ui {

class RallyDialog : public Dialog {
public:
    enum Row { StageRow, CarRow, WeatherRow, TyresRow, SetupRow, EditRow, LeaveRow, rowCount };
    enum class Phase { Idle, SetupScreen, StartRequested, Started };

    static constexpr int standingsCapacity = 14;

    RallyDialog(Dialog* parent, rally::RallyPtr rally);
    ~RallyDialog() override;

    Dialog* draw() override;
    Dialog* HandleFrontEndEvents(char key, bool up, bool down, bool left, bool right,
                                 bool select) override;
    Dialog* stageStarted(int map, const std::string& player, bool falseStart) override;
    Dialog* handleResults(float split1, float split2, float finish,
                          const std::string& player) override;
    Dialog* checkPoint(float time, int checkpoint, const std::string& player) override;
    void createComponents(Page& page) override;

    int selection() const { return selection_; }
    int stageIndex() const { return stageIndex_; }
    Phase phase() const { return phase_; }
    // Labels of the "Edit: " row's actions, in order.
    std::vector<std::string> actionLabels() const;

private:
    rally::StagePtr currentStage() const;
    std::string kindName() const; // "Hotlap" or "Rally"
    bool currentIsDrivenHotlapStage() const;

    void rebuildActions();
    void moveToNextStageNotDriven(bool backwards = false);
    std::string finishText(float lastFinishTime) const;
    void takeOverAbandonedStage();
    // Shows text in the status line until the page is built after the next
    // event (the help of the selected row would replace it at once).
    void report(std::string text);

    // Keys.
    Dialog* select();
    Dialog* selectStageRow();
    void saveRecordOrRetry();
    void startCurrentStage();
    void openSetupScreen();
    void runCurrentAction();
    static std::string actionOutcome(const rally::RallyAction& action, bool succeeded);
    void step(int direction);
    void stepCar(int direction);
    void stepSetup(int direction);
    Dialog* leave();

    // Page.
    std::string statusHelp() const;
    std::string stageHelp() const;
    std::string rowText(int row) const;
    void createMenuComponents(Page& page) const;
    void createCarDetailsComponents(Page& page) const;
    void createOptionsComponents(Page& page) const;
    void createStandingsComponents(Page& page);
    void createStandingsRow(Page& page, int index, float y) const;
    void createTotalRow(Page& page, float y) const;

    rally::RallyPtr rally_;
    int selection_ = 0;
    int stageIndex_ = 0;
    int actionIndex_ = 0;
    std::vector<rally::RallyActionPtr> actions_;
    AutoScroller scroller_;
    Phase phase_ = Phase::Idle;
    bool reported_ = false;
};

} // namespace zudo::ui
