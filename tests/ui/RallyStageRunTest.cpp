// Stages driven from the rally page against the simulator's model of the
// game (its stage start, its setups and the routines it records): the phases
// of a stage, splits and results with their messages, an abandoned stage, the
// end of an attempt, and the game's setup screen opened from the setup row
// with the setup the player left active taken over on the way back. Native
// build only: the Windows test build has no game to start a stage in.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "RallyPageFixture.hpp"
#include "rally/CarCatalogue.hpp"
#include "rally/Rally.hpp"
#include "rally/ReplayManager.hpp"
#include "sim/host/CarDamageFakes.hpp"
#include "sim/host/HostFakes.hpp"
#include "sim/host/StageStartModel.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "ui/RallyDialog.hpp"
#include "ui/Screen.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"

namespace {

using namespace std::string_literals;
using namespace zudo::ui;
using zudo::rally::RallyPtr;
using zudo::test::Calls;

class StageRun : public zudo::test::RallyPageTest {
protected:
    void setUpGame() override
    {
        zudo::sim::SimulatedHost& host = zudo::sim::SimulatedHost::instance();
        zudo::sim::registerHostFakes(host, game);
        zudo::sim::registerStageStartFakes(host, game);
        zudo::sim::registerCarDamageFakes(host);
    }
    void TearDown() override
    {
        forgetSavedSetups();
        RallyPageTest::TearDown();
    }
    // The cars are the process's: no setup of a test outlives it.
    void forgetSavedSetups()
    {
        std::filesystem::remove_all(install.path() / "SavedGames");
        for (int slot = 0; slot < zudo::rally::CarCatalogue::carCount; ++slot) {
            const zudo::rally::CarPtr car = zudo::rally::CarCatalogue::instance().car(slot);
            car->buildSetupList();
            car->setSetupIndex(zudo::rally::Car::defaultSetup);
        }
    }

    void messages(const std::string& lines) { install.write("Plugins/Zuzuzevo/Zuzuzevo.ini", "[Messages]\n" + lines); }

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
        const Calls calls = game.hostCalls();
        return std::any_of(calls.begin(), calls.end(),
                           [&](const std::string& call) { return call.rfind(routine + " ", 0) == 0; });
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
    std::string row0(Dialog& dialog) { return rowText(dialog, RallyDialog::StageRow); }
    // The game's routines called since the last clear but the setup-file
    // naming, which a setup list asks for each of its files.
    Calls hostCallsButSetupNaming() const
    {
        Calls called = game.hostCalls();
        std::erase_if(called, [](const std::string& call) { return call.rfind("setupFileIndex ", 0) == 0; });
        return called;
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

// Select on "Setup: " opens the game's setup screen for the stage's car; the
// next menu frame is the player's return from it, when the setup left active
// becomes the stage's: Current when the game says so (+244 of its stage-start
// record), else the first of the car's setup, the slot at +240 and the slot at
// +512 whose saved setup equals the active one; a setup changed on the screen
// is Current, unless the car had Default, which stays.
TEST_F(StageRun, TheSetupRowOpensTheGamesSetupScreenAndTheSetupLeftActiveIsTakenOnReturn)
{
    using zudo::util::mem::GameStateView;
    using Record = zudo::util::mem::StageStartRecordView;
    namespace bindings = zudo::util::mem::bindings;
    constexpr std::size_t setupSize = zudo::rally::Car::setupRecordSize;
    zudo::sim::SimulatedHost::instance().setExecutablePath(install.str() + "/Zoraravi_SSE.exe");
    install.write("SavedGames/1/slot1.lsp", "one");
    install.write("SavedGames/1/slot2_Tarmac fast.lsp", "two");
    zudo::rally::CarCatalogue& cars = zudo::rally::CarCatalogue::instance();
    cars.selectCar(1);
    const zudo::rally::CarPtr car = cars.selectedCar();
    car->buildSetupList(); // the files as the game had them when the plug-in started
    const auto activeSetupIs = [](const std::string& text) {
        std::vector<std::uint8_t> bytes(setupSize, 0);
        std::copy(text.begin(), text.end(), bytes.begin());
        bindings::activeSetup.object().writeBytes(0, bytes.data(), setupSize);
    };
    const auto activeSetup = [] {
        std::vector<std::uint8_t> bytes(setupSize);
        bindings::activeSetup.object().readBytes(0, bytes.data(), setupSize);
        return bytes;
    };
    const zudo::util::mem::HostAddress gameState = bindings::gameState.object();
    const zudo::util::mem::HostAddress inner = gameState.readAddress(GameStateView::subObjectOffset);
    ASSERT_FALSE(inner.isNull());

    struct Case {
        const char* name;
        const char* setupLine;   // the rally file's choice for the stage
        Calls loadCalls;         // how the chosen setup is loaded before the screen opens
        std::int32_t currentFlag; // +244, as the game leaves it
        std::int32_t slotAt240;   // as the game leaves it (the load before the screen wrote -1)
        std::int32_t slotAt512;
        const char* leftActive;   // the setup active when the player comes back
        const char* expectedRow;
        int expectedSetup;        // the stage's setup afterwards
    };
    const Calls loadDefault{"setupLoadDefault 1 20"};
    const Calls loadOne{"setupLoadFile \"SavedGames\\\\1\\\\slot1.lsp\""};
    for (const Case& c : {
             Case{"the game says Current", "", loadDefault, 1, 2, 2, "two", "Setup: Current", -1},
             Case{"the slot at +240 loaded on the screen", "", loadDefault, 0, 2, 0, "two", "Setup: Tarmac fast",
                  2},
             Case{"the slot at +512 loaded on the screen", "", loadDefault, 0, -1, 2, "two", "Setup: Tarmac fast",
                  2},
             Case{"Default changed on the screen stays Default", "", loadDefault, 0, -1, 2, "changed",
                  "Setup: Default", zudo::rally::Stage::noSetupChosen},
             Case{"the chosen setup kept", "setup 1\n", loadOne, 0, -1, 2, "one", "Setup: Setup 1", 1},
             Case{"the chosen setup changed on the screen", "setup 1\n", loadOne, 0, -1, 1, "changed",
                  "Setup: Current", -1},
         }) {
        SCOPED_TRACE(c.name);
        car->setSetupIndex(zudo::rally::Car::defaultSetup);
        const RallyPtr rally = rallyFrom("Setups", std::string(c.setupLine) + "stage 20 Forest\n");
        RallyDialog dialog(nullptr, rally);
        setRecordValue(Record::setupSlotOffset, 7);
        setRecordValue(Record::furtherSetupSlotOffset, 0);
        setRecordValue(Record::currentSetupFlagOffset, 0);
        gameState.write<std::int32_t>(GameStateView::setupScreenFlagOffset, 5);
        inner.write<std::int32_t>(0, 5);
        down(dialog, RallyDialog::SetupRow);
        dialog.draw();

        game.clear();
        EXPECT_EQ(select(dialog), &dialog);
        EXPECT_EQ(dialog.phase(), RallyDialog::Phase::SetupScreen);
        EXPECT_TRUE(dialog.needsRebuild());
        Calls expected{"gameStateSwitchA 1", "prepareSetupScreen"};
        expected.insert(expected.end(), c.loadCalls.begin(), c.loadCalls.end());
        expected.insert(expected.end(),
                        {"setupApply 1 20", "setupCheck 1", "applyCarSetup", "gameStateSwitchB 1", "openSetupScreen"});
        EXPECT_EQ(hostCallsButSetupNaming(), expected);
        EXPECT_EQ(recordValue(Record::carSlotOffset), 1);
        EXPECT_EQ(recordValue(Record::stageOffset), 20);
        EXPECT_EQ(bindings::weatherControl.object().read<std::int32_t>(zudo::util::mem::WeatherControlView::stageOffset),
                  20);
        EXPECT_EQ(gameState.read<std::int32_t>(GameStateView::setupScreenFlagOffset), 0);
        EXPECT_EQ(inner.read<std::int32_t>(0), 0);
        EXPECT_EQ(recordValue(Record::setupSlotOffset), -1) << "the game loads the setup anew";

        // The player's time on the game's setup screen.
        setRecordValue(Record::currentSetupFlagOffset, c.currentFlag);
        setRecordValue(Record::setupSlotOffset, c.slotAt240);
        setRecordValue(Record::furtherSetupSlotOffset, c.slotAt512);
        activeSetupIs(c.leftActive);
        const std::vector<std::uint8_t> leftActive = activeSetup();

        game.clear();
        EXPECT_EQ(rowText(dialog, RallyDialog::SetupRow), c.expectedRow) << "the first frame back in the menus";
        EXPECT_EQ(dialog.phase(), RallyDialog::Phase::Idle);
        EXPECT_EQ(rally->stage(0)->setupSlot(), c.expectedSetup);
        EXPECT_EQ(StatusLine::text(), c.expectedRow) << "the row's help";
        EXPECT_EQ(activeSetup(), leftActive) << "the comparison leaves the active setup alone";

        game.clear();
        EXPECT_EQ(rowText(dialog, RallyDialog::SetupRow), c.expectedRow);
        EXPECT_EQ(hostCallsButSetupNaming(), Calls{}) << "taken over once";
    }
}

TEST_F(StageRun, TheSetupScreenStaysClosedWhenTheChosenSetupCannotBeLoaded)
{
    zudo::sim::SimulatedHost::instance().setExecutablePath(install.str() + "/Zoraravi_SSE.exe");
    zudo::rally::CarCatalogue::instance().selectCar(1);
    const RallyPtr rally = rallyFrom("Setups", "setup 9\nstage 20 Forest\n"); // no saved setup 9
    RallyDialog dialog(nullptr, rally);
    down(dialog, RallyDialog::SetupRow);
    dialog.draw();
    game.clear();
    EXPECT_EQ(select(dialog), &dialog);
    EXPECT_EQ(dialog.phase(), RallyDialog::Phase::Idle);
    EXPECT_FALSE(dialog.needsRebuild()) << "nothing changed on the page";
    EXPECT_EQ(hostCallsButSetupNaming(), (Calls{"gameStateSwitchA 1", "prepareSetupScreen"}));
    dialog.draw();
    EXPECT_EQ(dialog.phase(), RallyDialog::Phase::Idle);
    EXPECT_EQ(rally->stage(0)->setupSlot(), 9) << "the stage keeps its choice";
}

} // namespace
