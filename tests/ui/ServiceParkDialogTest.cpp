// The service park page: its drawing, the rows a rally and a hotlap reach,
// the hotlap allowance on left and right, and the game's service park refused
// where the game's side of it cannot be reached (both builds: neither test
// host offers it here).

#include <gtest/gtest.h>

#include <string>

#include "ServiceParkFixture.hpp"
#include "ui/ServiceParkDialog.hpp"

namespace {

using namespace zudo::ui;
using zudo::rally::ServiceManager;

class ServiceParkPage : public zudo::test::ServiceParkTest {};

TEST_F(ServiceParkPage, FirstFrameFollowsTheLayout)
{
    ServiceParkDialog dialog(&parent, hotlap());
    dialog.draw();
    const Lines row = {"SelectMenuColor 3", "SelectFont 0"};
    Lines expected{
        "BeginPage 0 0 0 0",
        "SelectMenuColor 3", // the group
        "SelectMenuColor 4", "SelectFont 1", "DrawText 55 54 \"Repair Car\"",
        "SelectMenuColor 3", "DrawHighlight 50 74 210 15",
    };
    int y = 74;
    for (const char* text : {"Service Park...", "Reset Car Damage", "Allowed Repair Time: 40 min",
                             "Mechanics: 4", "Skill: Competent", "Back"}) {
        expected.insert(expected.end(), row.begin(), row.end());
        expected.push_back("DrawText 55 " + std::to_string(y) + " \"" + text + "\"");
        y += 15;
    }
    expected.insert(expected.end(), {"SelectMenuColor 3", "DrawPanel 0 465 640 15", "SelectMenuColor 0",
                                     "SelectFont 0",
                                     "DrawText 2 465 \"Press ENTER to open the 'Service Park' dialog.\""});
    EXPECT_EQ(game.calls(), expected);
}

TEST_F(ServiceParkPage, InARallyUpAndDownOnlyToggleServiceParkAndBack)
{
    ServiceParkDialog dialog(&parent, rally());
    EXPECT_EQ(texts(dialog)[3], "Allowed Repair Time: 30 min") << "the stage's allowance";
    EXPECT_EQ(texts(dialog)[5], "Skill: Expert");
    EXPECT_EQ(down(dialog), &dialog);
    EXPECT_EQ(dialog.row(), ServiceParkDialog::BackRow);
    texts(dialog);
    EXPECT_EQ(highlight(), highlightAt(5));
    EXPECT_EQ(game.lastFrameTexts().back(), "Press ENTER to go back to the rally dialog.");
    down(dialog);
    EXPECT_EQ(dialog.row(), ServiceParkDialog::ServiceParkRow);
    up(dialog);
    EXPECT_EQ(dialog.row(), ServiceParkDialog::BackRow);

    // Left and right change nothing in a rally.
    up(dialog);
    right(dialog);
    left(dialog);
    EXPECT_EQ(texts(dialog)[3], "Allowed Repair Time: 30 min");
    down(dialog);
    EXPECT_EQ(select(dialog), &parent) << "\"Back\"";
}

TEST_F(ServiceParkPage, InAHotlapEveryRowIsReachedAndTheAllowanceChanges)
{
    ServiceParkDialog dialog(&parent, hotlap());
    up(dialog);
    EXPECT_EQ(dialog.row(), ServiceParkDialog::BackRow) << "wraps around";
    down(dialog);
    EXPECT_EQ(dialog.row(), ServiceParkDialog::ServiceParkRow);

    struct Step {
        int row;
        bool forward;
        const char* shown;
    };
    // From 40 minutes, 4 mechanics, skill 3.
    const Step steps[] = {
        {ServiceParkDialog::RepairTimeRow, true, "Allowed Repair Time: 50 min"},
        {ServiceParkDialog::RepairTimeRow, false, "Allowed Repair Time: 40 min"},
        {ServiceParkDialog::RepairTimeRow, false, "Allowed Repair Time: 30 min"},
        {ServiceParkDialog::MechanicsRow, false, "Mechanics: 3"},
        {ServiceParkDialog::MechanicsRow, true, "Mechanics: 4"},
        {ServiceParkDialog::SkillRow, true, "Skill: Skilled"},
        {ServiceParkDialog::SkillRow, true, "Skill: Expert"},
        {ServiceParkDialog::SkillRow, true, "Skill: Inexperienced"},
        {ServiceParkDialog::SkillRow, false, "Skill: Expert"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.shown);
        while (dialog.row() != step.row) {
            down(dialog);
        }
        step.forward ? right(dialog) : left(dialog);
        EXPECT_EQ(texts(dialog)[static_cast<std::size_t>(step.row) + 1], step.shown);
        EXPECT_EQ(highlight(), highlightAt(step.row));
    }
    const zudo::rally::ServiceInfo& allowance = ServiceManager::instance().currentAllowance();
    EXPECT_EQ(allowance, zudo::rally::ServiceInfo(4, 5, 30, false)) << "the hotlaps' allowance";
}

TEST_F(ServiceParkPage, SelectOnAnAllowanceRowDoesNothing)
{
    ServiceParkDialog dialog(&parent, hotlap());
    down(dialog);
    down(dialog);
    down(dialog);
    ASSERT_EQ(dialog.row(), ServiceParkDialog::MechanicsRow);
    dialog.draw();
    EXPECT_EQ(select(dialog), &dialog);
    EXPECT_FALSE(dialog.needsRebuild()) << "the page stays as it is";
    EXPECT_EQ(texts(dialog)[4], "Mechanics: 4");
    EXPECT_EQ(game.lastFrameTexts().back(), "Choose number of mechanics.");
    left(dialog);
    EXPECT_EQ(texts(dialog)[4], "Mechanics: 3");
}

TEST_F(ServiceParkPage, TheGamesServiceParkIsRefusedWhereItCannotBeReached)
{
    const auto trip = rally();
    trip->stage(0)->setDriven(true);
    ServiceParkDialog dialog(&parent, trip);
    dialog.draw();
    game.clear();
    EXPECT_EQ(select(dialog), &dialog);
    const Lines shown = texts(dialog);
    EXPECT_EQ(shown.back().rfind("The game's service park cannot be reached", 0), 0U) << shown.back();
    for (const std::string& call : game.calls()) {
        EXPECT_NE(call.rfind("HostCall", 0), 0U) << call;
    }
    EXPECT_EQ(texts(dialog).back(), shown.back()) << "it stays, and the dialog with it";
    EXPECT_FALSE(trip->stage(0)->service().used());

    down(dialog);
    EXPECT_EQ(texts(dialog).back(), "Press ENTER to go back to the rally dialog.") << "until a key";
}

} // namespace
