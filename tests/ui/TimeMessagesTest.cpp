// The message over a running stage: the colour that names the first
// reference the driver is behind, the parts the [Messages] settings ask for,
// and the settings read again for every message.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ShellHost.hpp"
#include "ui/TimeMessages.hpp"

namespace {

using zudo::ui::TimeDifferences;
using Calls = std::vector<std::string>;

class TimeMessages : public zudo::test::ShellHostTest {
protected:
    void settings(const std::string& lines)
    {
        install.write("Plugins/Zuzuzevo/Zuzuzevo.ini", "[Messages]\n" + lines);
    }
    Calls show(const std::string& label, const TimeDifferences& differences)
    {
        game.clear();
        zudo::ui::showTimeDifferences(label, differences);
        return game.calls();
    }
};

TEST_F(TimeMessages, DefaultsShowAllThreeDifferencesAtTwoTwoForTwentySeconds)
{
    EXPECT_EQ(zudo::ui::splitLabel(2), "S2:");
    EXPECT_EQ(zudo::ui::finishLabel(), "F:");
    EXPECT_EQ(show("S1:", TimeDifferences{0.5F, -1.25F, 0, true}),
              (Calls{"SetColor 1 0 0 1", "ShowMessage \"S1: Bst +00:00.500 Ovl -00:01.250 Stg +00:00.000\" 20 2 2"}));
}

TEST_F(TimeMessages, TheColourNamesTheFirstReferenceTheDriverIsBehind)
{
    struct Case {
        TimeDifferences differences;
        const char* color;
    };
    const Case cases[] = {
        {{0.5F, 2, 3, true}, "SetColor 1 0 0 1"},     // behind his best: red, whatever else
        {{0, 0.001F, 3, true}, "SetColor 0 0 0 1"},   // behind the overall best: black
        {{-1, -1, 0.001F, true}, "SetColor 0 0 1 1"}, // behind the game's record: blue
        {{0, 0, 0, true}, "SetColor 0 1 0 1"},        // a tie is no loss: green
        {{-0.2F, -0.1F, -3, true}, "SetColor 0 1 0 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.color);
        const Calls calls = show("F:", c.differences);
        ASSERT_EQ(calls.size(), 2U);
        EXPECT_EQ(calls[0], c.color);
    }
}

TEST_F(TimeMessages, AMissingGameRecordIsLeftOutButAZeroDifferenceToOneIsShown)
{
    EXPECT_EQ(show("F:", TimeDifferences{0, 0, 0, false}),
              (Calls{"SetColor 0 1 0 1", "ShowMessage \"F: Bst +00:00.000 Ovl +00:00.000\" 20 2 2"}));
    EXPECT_EQ(show("F:", TimeDifferences{0, 0, 0, true})[1],
              "ShowMessage \"F: Bst +00:00.000 Ovl +00:00.000 Stg +00:00.000\" 20 2 2");
}

TEST_F(TimeMessages, MessagesAreOffWithDurationZeroOrAllThreeSwitchesOff)
{
    const TimeDifferences behind{1, 1, 1, true};
    for (const char* off : {"InGameDiffDuration=0\n", "InGameDiffDuration=-5\n",
                            "ShowInGameBestTimeDiff=0\nShowInGameOverallDiff=false\nShowInGameStageRecordDiff=0\n"}) {
        SCOPED_TRACE(off);
        settings(off);
        EXPECT_EQ(show("S1:", behind), Calls{}) << "no message and no colour";
    }
}

TEST_F(TimeMessages, EverySettingIsReadAgainForEachMessage)
{
    const TimeDifferences differences{-0.25F, 0.5F, 1, true};
    settings("InGameSplitLabel=Split\nInGameBestTimeDiffLabel=Best\nInGameDiffPosX=300\nInGameDiffPosY=40\n"
             "InGameDiffDuration=5\nShowInGameOverallDiff=0\n");
    EXPECT_EQ(zudo::ui::splitLabel(1), "Split1:");
    EXPECT_EQ(show(zudo::ui::splitLabel(1), differences),
              (Calls{"SetColor 0 0 0 1", "ShowMessage \"Split1: Best -00:00.250 Stg +00:01.000\" 5 300 40"}));

    settings("InGameFinishLabel=Fin\nInGameOverallDiffLabel=All\nInGameStageRecordDiffLabel=Game\n"
             "ShowInGameBestTimeDiff=0\n");
    EXPECT_EQ(zudo::ui::finishLabel(), "Fin:");
    EXPECT_EQ(show(zudo::ui::finishLabel(), differences)[1],
              "ShowMessage \"Fin: All +00:00.500 Game +00:01.000\" 20 2 2");
}

} // namespace
