// Stages driven from the rally page against the simulator's model of the
// game (its stage start and the routines it records): the phases of a stage,
// splits and results with their messages, an abandoned stage, and the end of
// an attempt. Native build only: the Windows test build has no game to start
// a stage in.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "OneConditionPerTrack.hpp"
#include "support/ShellHost.hpp"
#include "rally/ConditionChoice.hpp"
#include "rally/Rally.hpp"
#include "rally/RallyList.hpp"
#include "rally/ReplayManager.hpp"
#include "sim/host/CarDamageFakes.hpp"
#include "sim/host/HostFakes.hpp"
#include "sim/host/StageStartModel.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "ui/RallyDialog.hpp"
#include "ui/Screen.hpp"

namespace {

using namespace std::string_literals;
using namespace zudo::ui;
using zudo::rally::Rally;
using zudo::rally::RallyPtr;
using Calls = std::vector<std::string>;

class StageRun : public zudo::test::ShellHostTest {
protected:
    void SetUp() override
    {
        ShellHostTest::SetUp();
        zudo::sim::SimulatedHost& host = zudo::sim::SimulatedHost::instance();
        zudo::sim::registerHostFakes(host, game);
        zudo::sim::registerStageStartFakes(host, game);
        zudo::sim::registerCarDamageFakes(host);
        // The list of all rallies, built once in a process, holds no rally of
        // these tests: their records are no overall best.
        zudo::rally::RallyList::instance();
        install.write("Plugins/Zuzuzevo/.keep", "");
        zudo::test::useOneConditionPerTrack();
        zudo::rally::ReplayManager::instance().setLastResult(nullptr);
    }
    void TearDown() override
    {
        zudo::rally::useConditionChoice(zudo::rally::ConditionChoice{});
        ShellHostTest::TearDown();
    }

    RallyPtr rallyFrom(const std::string& name, const std::string& text)
    {
        install.write("Plugins/Zuzuzevo/" + name + ".srp", text);
        return std::make_shared<Rally>(name, "Plugins/Zuzuzevo/" + name + ".srp");
    }
    void messages(const std::string& lines) { install.write("Plugins/Zuzuzevo/Zuzuzevo.ini", "[Messages]\n" + lines); }

    Dialog* select(Dialog& d) { return d.HandleFrontEndEvents('\0', false, false, false, false, true); }
    // Select on row 0 of a stage not driven, and the game's start report.
    void start(RallyDialog& dialog)
    {
        dialog.draw();
        game.clear();
        ASSERT_EQ(select(dialog), &dialog);
        ASSERT_EQ(dialog.phase(), RallyDialog::Phase::StartRequested) << StatusLine::text();
        EXPECT_TRUE(hostCalled("startStage"));
        EXPECT_EQ(dialog.stageStarted(20, "Ann", false), &dialog);
        EXPECT_EQ(dialog.phase(), RallyDialog::Phase::Started);
    }
    bool hostCalled(const std::string& routine) const
    {
        const Calls calls = game.calls();
        return std::any_of(calls.begin(), calls.end(),
                           [&](const std::string& call) { return call.rfind("HostCall " + routine + " ", 0) == 0; });
    }
    // The in-game messages shown since the last clear, each with its colour.
    Calls shownMessages() const
    {
        Calls shown;
        const Calls calls = game.calls();
        for (std::size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].rfind("ShowMessage", 0) == 0) {
                shown.push_back((i > 0 ? calls[i - 1] + " / " : "") + calls[i]);
            }
        }
        return shown;
    }
    std::string row0(Dialog& dialog)
    {
        dialog.draw();
        const Calls calls = game.lastFrame();
        for (const std::string& call : calls) {
            if (call.rfind("DrawText 5 25 \"", 0) == 0) {
                return call.substr(15, call.size() - 16);
            }
        }
        return "(none)";
    }
};

TEST_F(StageRun, AnAbandonedOneStageHotlapIsADnf)
{
    const RallyPtr hotlap = rallyFrom("Lap", "hotlap 1\nstage 20 Forest\n");
    RallyDialog dialog(nullptr, hotlap);
    start(dialog);
    // The game returns to its menus without a result: the driver retired.
    EXPECT_EQ(dialog.draw(), &dialog);
    EXPECT_EQ(dialog.phase(), RallyDialog::Phase::Idle);
    EXPECT_TRUE(hotlap->stage(0)->isDnf());
    EXPECT_EQ(StatusLine::text(), "Hotlap finished. DNF.");
    EXPECT_EQ(row0(dialog), "Retry");

    select(dialog);
    EXPECT_FALSE(hotlap->stage(0)->driven()) << "Retry starts a new attempt";
    EXPECT_EQ(row0(dialog), "Forest");
}

TEST_F(StageRun, SplitsAndTheFinishAreShownAgainstTheRecord)
{
    install.write("Plugins/Zuzuzevo/Forest (damp, Gravel Dry).tm2",
                  "3 20 0 30000 60000 80000 0 3 0 1 Car\0Default\0Forest\0Bo\0"s "0 0 0 0 1 1 \n");
    const RallyPtr hotlap = rallyFrom("Lap", "hotlap 1\ntyres gravel dry\nstage 20 Forest\n");
    RallyDialog dialog(nullptr, hotlap);
    start(dialog);
    game.clear();
    EXPECT_EQ(dialog.checkPoint(31.0F, 1, "Ann"), &dialog);
    EXPECT_EQ(dialog.checkPoint(45.0F, 3, "Ann"), &dialog) << "no third checkpoint";
    EXPECT_EQ(dialog.checkPoint(59.5F, 2, "Ann"), &dialog);
    EXPECT_EQ(shownMessages(), (Calls{"SetColor 1 0 0 1 / ShowMessage \"S1: Bst +00:01.000 Ovl +00:00.000\" 20 2 2",
                                      "SetColor 0 1 0 1 / ShowMessage \"S2: Bst -00:00.500 Ovl +00:00.000\" 20 2 2"}));
    EXPECT_EQ(hotlap->stage(0)->split(0), 31.0F);
    EXPECT_EQ(hotlap->stage(0)->split(1), 59.5F);

    game.clear();
    Dialog* results = dialog.handleResults(31.0F, 59.5F, 79.25F, "Ann");
    EXPECT_EQ(shownMessages(), Calls{"SetColor 0 1 0 1 / ShowMessage \"F: Bst -00:00.750 Ovl +00:00.000\" 20 2 2"});
    ASSERT_NE(results, &dialog) << "the results page over the game's";
    EXPECT_EQ(results, dialog.child());
    EXPECT_EQ(dialog.phase(), RallyDialog::Phase::Idle);
    EXPECT_TRUE(hotlap->stage(0)->isFinished());
    EXPECT_EQ(hotlap->stage(0)->driver(), "Ann");
    EXPECT_EQ(StatusLine::text(), "Hotlap finished. Time improved.");
    ASSERT_TRUE(zudo::rally::ReplayManager::instance().hasReplay());
    EXPECT_EQ(zudo::rally::ReplayManager::instance().lastResult()->finishTime(), 79.25F);
    EXPECT_EQ(dialog.actionLabels(), (std::vector<std::string>{"Reset Stage", "Save Replay", "Replay"}));

    EXPECT_EQ(results->draw(), &dialog) << "back in the menus";
    EXPECT_EQ(row0(dialog), "Save Hotlap Record");
    EXPECT_EQ(dialog.child(), nullptr);
    select(dialog);
    EXPECT_EQ(StatusLine::text(), "Hotlap record saved.");
    EXPECT_NE(install.read("Plugins/Zuzuzevo/Forest (damp, Gravel Dry).tm2").find(" 79250 "), std::string::npos);
}

TEST_F(StageRun, AResultOfARallyStageMovesToTheNextStageNotDriven)
{
    const RallyPtr rally = rallyFrom("Three", "stage 20 A\nstage 41 B\nstage 10 C\n");
    rally->stage(1)->setDriven(true);
    RallyDialog dialog(nullptr, rally);
    start(dialog);
    dialog.handleResults(10, 20, 30, "Ann");
    EXPECT_EQ(dialog.stageIndex(), 2) << "B is driven already";
    EXPECT_EQ(StatusLine::text().find("finished"), std::string::npos) << "the rally is not finished";

    start(dialog);
    EXPECT_EQ(dialog.handleResults(10, 20, 0, "Ann"), &dialog) << "no results page for a stage without a finish";
    EXPECT_TRUE(rally->stage(2)->isDnf());
    EXPECT_EQ(StatusLine::text(), "Rally finished. DNF.");
    EXPECT_EQ(row0(dialog), "Retry");
}

TEST_F(StageRun, MessagesAreOffWithDurationZeroOrAllThreeSwitchesOff)
{
    const RallyPtr hotlap = rallyFrom("Lap", "hotlap 1\nstage 20 Forest\n");
    for (const char* off : {"InGameDiffDuration=0\n",
                            "ShowInGameBestTimeDiff=0\nShowInGameOverallDiff=0\nShowInGameStageRecordDiff=0\n"}) {
        SCOPED_TRACE(off);
        messages(off);
        hotlap->resetAll();
        RallyDialog dialog(nullptr, hotlap);
        start(dialog);
        game.clear();
        dialog.checkPoint(30, 1, "Ann");
        dialog.handleResults(30, 60, 90, "Ann");
        EXPECT_EQ(shownMessages(), Calls{});
        EXPECT_TRUE(hotlap->stage(0)->isFinished()) << "the result is taken all the same";
    }
}

} // namespace
