// The rally page without a game behind it: its layout (menu, standings with
// their window of 14 rows and the total row), the status help, the key rules
// that need no stage start, and the end of an attempt (saving a record, a
// failed save, "Retry"). Stage starts, splits and results are driven through
// the simulator (tests/sim).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "RallyPageFixture.hpp"
#include "support/TempDir.hpp"
#include "rally/CarCatalogue.hpp"
#include "rally/Rally.hpp"
#include "ui/RallyDialog.hpp"
#include "ui/Screen.hpp"

namespace {

using namespace zudo::ui;
using zudo::rally::RallyPtr;
using zudo::test::Calls;

class RallyPage : public zudo::test::RallyPageTest {
protected:
    void setUpGame() override { removeGame(); } // pages built through the recorder alone

    static std::string stages(int count)
    {
        std::string text;
        for (int i = 1; i <= count; ++i) {
            text += "stage 20 S" + std::to_string(i) + "\n";
        }
        return text;
    }
};

TEST_F(RallyPage, MenuRowsOfARally)
{
    const RallyPtr rally = rallyFrom("Three", "tyres snow\nstage 20 Forest\nstage 41 Coast\nstage 10 Hills\n");
    RallyDialog dialog(nullptr, rally);
    const Calls calls = frame(dialog);
    const std::string car = zudo::rally::CarCatalogue::instance().displayName(
        zudo::rally::CarCatalogue::instance().selectedSlot());

    // Title in the title colour and font, then the bar behind row 0.
    const auto title = std::find(calls.begin(), calls.end(), "DrawText 5 5 \"Rally Three\"");
    ASSERT_NE(title, calls.end());
    EXPECT_EQ(*(title - 2), "SelectMenuColor 4");
    EXPECT_EQ(*(title - 1), "SelectFont 1");
    EXPECT_TRUE(has(calls, "DrawHighlight 0 25 210 15"));
    EXPECT_EQ(textAt(calls, 5, 25), "Forest (1/3)");
    EXPECT_EQ(textAt(calls, 5, 40), "Car: " + car) << "a stage without a car slot names the selected car";
    EXPECT_EQ(textAt(calls, 5, 55), "Weather: Good  [Options...]");
    EXPECT_EQ(textAt(calls, 5, 70), "Tyres: Snow");
    EXPECT_EQ(textAt(calls, 5, 85), "Setup: Default");
    EXPECT_EQ(textAt(calls, 5, 100), "Edit: Reset Stage");
    EXPECT_EQ(textAt(calls, 5, 115), "Leave Three");
    EXPECT_EQ(dialog.actionLabels(), (std::vector<std::string>{"Reset Stage", "Reset All", "Save Progress"}));

    // Row 0's help: the stage, its conditions and its service.
    EXPECT_EQ(StatusLine::text(), "Forest: crisp clear morning damp normal, No Service");
}

TEST_F(RallyPage, StatusHelpNamesTheServiceOfTheStage)
{
    const RallyPtr rally = rallyFrom("Serviced", "weather random\nmechanics 1\nskill expert\nservice 30\n"
                                                 "stage 20 Forest\nmechanics 4\nskill 3\nservice 45\nstage 41 Coast\n");
    RallyDialog dialog(nullptr, rally);
    frame(dialog);
    EXPECT_EQ(StatusLine::text(), "Forest: Random Conditions, Service 30 min, 1 Expert Mechanic");

    rally->stage(0)->setDriven(true); // what a stage start and result would leave
    select(dialog);                   // on a driven stage: the next one not driven
    frame(dialog);
    EXPECT_EQ(dialog.stageIndex(), 1);
    EXPECT_EQ(StatusLine::text(), "Coast: Random Conditions, Service 45 min, 4 Competent Mechanics");

    rally->stage(1)->service().setUsed(true);
    rally->stage(1)->setPenalty(20.0F);
    rally->stage(1)->setWeatherMode(0);
    down(dialog);
    up(dialog);
    frame(dialog);
    EXPECT_EQ(StatusLine::text(), "Coast: crisp clear morning damp normal, Service Penalty 20 seconds");
}

TEST_F(RallyPage, StandingsShowAWindowOfFourteenRowsAndTheTotalThreeUnitsBelow)
{
    const RallyPtr rally = rallyFrom("Long", stages(20));
    RallyDialog dialog(nullptr, rally);
    Calls calls = frame(dialog);
    EXPECT_EQ(textAt(calls, 392, 180), "Records");
    for (const auto& [x, title] : {std::pair{184, "Time"}, {254, "Rally Record"}, {346, "Surface"},
                                   {438, "Overall"}, {540, "Stage"}}) {
        EXPECT_EQ(textAt(calls, x, 195), title);
    }
    EXPECT_EQ(textAt(calls, 2, 212), "1) S1");
    EXPECT_EQ(textAt(calls, 142, 212), " damp");
    EXPECT_EQ(textAt(calls, 184, 212), " --:--.---");
    EXPECT_EQ(textAt(calls, 2, 212 + 13 * 15), "14) S14");
    EXPECT_EQ(textAt(calls, 2, 212 + 14 * 15), "(none)") << "a 15th row";
    EXPECT_EQ(textAt(calls, 2, 212 + 14 * 15 + 3), "Total (penalties included)");
    EXPECT_EQ(textAt(calls, 2, 445), "'t': Toggle Autoscroll   'n': Next   'p': Previous");

    key(dialog, 'p');
    calls = frame(dialog);
    EXPECT_EQ(textAt(calls, 2, 212), "20) S20") << "'p' from the first stage wraps to the last";
    EXPECT_EQ(textAt(calls, 2, 212 + 13 * 15), "13) S13");
}

TEST_F(RallyPage, AShortRallyHasNoHintAndItsTotalRowFollowsItsRows)
{
    const RallyPtr rally = rallyFrom("Short", stages(3));
    RallyDialog dialog(nullptr, rally);
    const Calls calls = frame(dialog);
    EXPECT_EQ(textAt(calls, 2, 212 + 2 * 15), "3) S3");
    EXPECT_EQ(textAt(calls, 2, 212 + 3 * 15 + 3), "Total (penalties included)");
    EXPECT_EQ(textAt(calls, 184, 212 + 3 * 15 + 3), " --:--.---");
    EXPECT_EQ(textAt(calls, 2, 445), "(none)");
}

TEST_F(RallyPage, TheWeatherRowOfARallyNeverOpensTheOptionsAndKeepsItsMode)
{
    const RallyPtr rally = rallyFrom("Three", "weather bad\n" + stages(3));
    RallyDialog dialog(nullptr, rally);
    down(dialog, 2);
    frame(dialog);
    EXPECT_EQ(select(dialog), &dialog);
    EXPECT_EQ(dialog.child(), nullptr);
    left(dialog);
    right(dialog);
    right(dialog);
    EXPECT_EQ(rally->stage(0)->weatherMode(), 2);
    const Calls calls = frame(dialog);
    EXPECT_EQ(textAt(calls, 5, 55), "Weather: Bad  [Options...]");
    EXPECT_EQ(textAt(calls, 215, 5), "Weather/Track Options");
    EXPECT_EQ(textAt(calls, 215 + 90, 5 + 20), "crisp");
    EXPECT_EQ(textAt(calls, 215 + 90, 5 + 80), "normal");
}

TEST_F(RallyPage, TheWeatherRowOfAHotlapStepsTheModeAndOpensTheOptionsUnlessRandom)
{
    const RallyPtr hotlap = rallyFrom("Lap", "hotlap 1\nweather good\nstage 20 Forest\n");
    RallyDialog dialog(nullptr, hotlap);
    down(dialog, 2);
    right(dialog);
    EXPECT_EQ(hotlap->stage(0)->weatherMode(), 1);
    Calls calls = frame(dialog);
    EXPECT_EQ(textAt(calls, 5, 55), "Weather: Random");
    EXPECT_EQ(textAt(calls, 215 + 90, 5 + 20), "Random");
    EXPECT_EQ(select(dialog), &dialog) << "random weather has no options";

    right(dialog);
    EXPECT_EQ(hotlap->stage(0)->weatherMode(), 2);
    Dialog* options = select(dialog);
    EXPECT_NE(options, &dialog);
    EXPECT_EQ(options, dialog.child());
    EXPECT_EQ(options->parent(), &dialog);
}

TEST_F(RallyPage, StageCallsWithoutAStartedStageAreIgnored)
{
    const RallyPtr hotlap = rallyFrom("Lap", "hotlap 1\nstage 20 Forest\n");
    RallyDialog dialog(nullptr, hotlap);
    frame(dialog);
    StatusLine::setText("before");
    game.clear();
    EXPECT_EQ(dialog.checkPoint(30.0F, 1, "Ann"), &dialog);
    EXPECT_EQ(dialog.handleResults(30.0F, 60.0F, 90.0F, "Ann"), &dialog);
    EXPECT_EQ(game.calls(), Calls{}) << "no message";
    EXPECT_FALSE(hotlap->stage(0)->driven());
    EXPECT_EQ(hotlap->stage(0)->split(0), 0.0F);
    EXPECT_EQ(dialog.child(), nullptr);
    EXPECT_FALSE(dialog.needsRebuild());
    EXPECT_EQ(StatusLine::text(), "before");
}

TEST_F(RallyPage, AFailedStartSaysSoAndStartsNothing)
{
    const RallyPtr hotlap = rallyFrom("Lap", "hotlap 1\nstage 20 Forest\n");
    RallyDialog dialog(nullptr, hotlap);
    frame(dialog);
    select(dialog); // no game: the stage cannot start
    EXPECT_EQ(textAt(frame(dialog), 2, 465), "Failed to start stage.") << "shown until the next key";
    EXPECT_EQ(dialog.phase(), RallyDialog::Phase::Idle);
    EXPECT_EQ(dialog.handleResults(1, 2, 3, "Ann"), &dialog);
    EXPECT_FALSE(hotlap->stage(0)->driven());

    down(dialog);
    up(dialog);
    EXPECT_EQ(textAt(frame(dialog), 2, 465),
              "Forest: crisp clear morning damp normal, Service 40 min, 4 Competent Mechanics")
        << "then row 0's help, with the settings' service of hotlaps";
}

TEST_F(RallyPage, ANewRecordIsSavedAndAFailedSaveKeepsTheAttempt)
{
    const RallyPtr hotlap = rallyFrom("Lap", "hotlap 1\ntyres gravel dry\nstage 20 Forest\n");
    RallyDialog dialog(nullptr, hotlap);
    hotlap->stage(0)->takeResult(30.0F, 60.0F, 90.5F, "Ann");
    Calls calls = frame(dialog);
    EXPECT_EQ(textAt(calls, 5, 25), "Save Hotlap Record");

    // Something in the way of the record file: nothing is reported as saved.
    const std::filesystem::path file = install.path() / "Plugins/Zuzuzevo/Forest (damp, Gravel Dry).tm2";
    std::filesystem::create_directory(file);
    select(dialog);
    // Why, in the system's words: which file, and the reason (a folder in the
    // way is reported differently by each operating system).
    const std::string said = StatusLine::text();
    const std::string prefix = "Could not write Forest (damp, Gravel Dry).tm2: ";
    const std::string suffix = "; the attempt is kept, try again.";
    EXPECT_EQ(said.substr(0, prefix.size()), prefix);
    ASSERT_GT(said.size(), prefix.size() + suffix.size());
    EXPECT_EQ(said.substr(said.size() - suffix.size()), suffix);
    calls = frame(dialog);
    EXPECT_EQ(textAt(calls, 5, 25), "Save Hotlap Record") << "the attempt stays";
    EXPECT_TRUE(hotlap->stage(0)->driven());
    EXPECT_EQ(textAt(calls, 2, 465), said);

    std::filesystem::remove(file);
    select(dialog);
    EXPECT_EQ(StatusLine::text(), "Hotlap record saved.");
    EXPECT_FALSE(hotlap->stage(0)->driven()) << "a new attempt";
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    calls = frame(dialog);
    EXPECT_EQ(textAt(calls, 5, 25), "Forest");
    EXPECT_EQ(textAt(calls, 2, 465), "Hotlap record saved.");
}

TEST_F(RallyPage, AFinishedAttemptThatIsNoRecordOffersRetry)
{
    const RallyPtr rally = rallyFrom("Two", stages(2));
    RallyDialog dialog(nullptr, rally);
    rally->stage(0)->takeResult(0, 0, 50.0F, "Ann");
    rally->stage(1)->takeResult(0, 0, 0.0F, "Ann"); // retired: no total, no record
    Calls calls = frame(dialog);
    EXPECT_EQ(textAt(calls, 5, 25), "Retry");
    EXPECT_EQ(textAt(calls, 184, 212 + 15), "DNF");
    EXPECT_EQ(textAt(calls, 184, 212 + 2 * 15 + 3), "DNF");

    select(dialog);
    EXPECT_TRUE(rally->noneDriven());
    EXPECT_EQ(dialog.stageIndex(), 0);
    calls = frame(dialog);
    EXPECT_EQ(textAt(calls, 5, 25), "S1 (1/2)");
    EXPECT_FALSE(std::filesystem::exists(install.path() / "Plugins/Zuzuzevo/Two.tm2"));
}

TEST_F(RallyPage, EditActionsRunOnTheRallyAndSayHowItWent)
{
    const RallyPtr rally = rallyFrom("Three", stages(3));
    RallyDialog dialog(nullptr, rally);
    down(dialog, 5);
    right(dialog);
    right(dialog);
    EXPECT_EQ(textAt(frame(dialog), 5, 100), "Edit: Save Progress");
    select(dialog);
    EXPECT_EQ(StatusLine::text(), "Save Progress succeeded.");
    EXPECT_EQ(dialog.actionLabels(),
              (std::vector<std::string>{"Reset Stage", "Reset All", "Save Progress", "Load Progress"}));
    {
        const zudo::test::ReadOnly locked(install.path() / "Plugins/Zuzuzevo/Three.prs");
        select(dialog);
        EXPECT_EQ(StatusLine::text(), "Save Progress failed: Could not write Three.prs: the file is read-only or "
                                      "in use by another program.");
    }
    right(dialog);
    left(dialog);
    left(dialog);
    left(dialog);
    left(dialog);
    EXPECT_EQ(textAt(frame(dialog), 5, 100), "Edit: Load Progress") << "left wraps to the last action";
}

TEST_F(RallyPage, AfterAnEditActionTheFirstStageNotDrivenIsCurrent)
{
    const RallyPtr rally = rallyFrom("Three", stages(3));
    rally->stage(0)->takeResult(0, 0, 50.0F, "Ann");
    rally->stage(1)->takeResult(0, 0, 60.0F, "Ann");
    RallyDialog dialog(nullptr, rally);
    select(dialog); // on a driven stage: the next one not driven
    EXPECT_EQ(dialog.stageIndex(), 2);
    down(dialog, 5);
    right(dialog); // "Reset All"
    select(dialog);
    EXPECT_EQ(StatusLine::text(), "Reset All succeeded.");
    EXPECT_EQ(dialog.stageIndex(), 0);
    EXPECT_TRUE(rally->noneDriven());
}

TEST_F(RallyPage, LeavingByKeyOrRow)
{
    const RallyPtr rally = rallyFrom("Three", stages(3));
    Dialog parent;
    RallyDialog dialog(&parent, rally);
    EXPECT_EQ(key(dialog, 'b'), &parent);
    EXPECT_EQ(key(dialog, 'B'), &parent);
    down(dialog);
    up(dialog);
    up(dialog);
    EXPECT_EQ(dialog.selection(), RallyDialog::LeaveRow) << "up from the first row wraps to the last";
    EXPECT_EQ(select(dialog), &parent);
}

} // namespace
