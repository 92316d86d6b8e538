// The weather and track options of a hotlap stage: every valid combination of
// its track in a window of 25 rows, the one under the cursor applied at once.

#include <gtest/gtest.h>

#include <string>

#include "PageFixture.hpp"
#include "ui/Screen.hpp"
#include "ui/WeatherOptionsDialog.hpp"

namespace {

using namespace zudo;
using namespace zudo::ui;
using zudo::test::Calls;

class WeatherOptions : public zudo::test::PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        hotlap = std::make_shared<rally::Rally>(20, 0, 3);
        stage = hotlap->stage(0);
    }

    // Combination i: conditions i % 10, sky i / 10, noon, dry, new.
    void offerCombinations(int count)
    {
        combinations.clear();
        for (int i = 0; i < count; ++i) {
            auto entry = condition(20, i % 10, 0, 0);
            entry->sky = i / 10;
            combinations.push_back(entry);
        }
    }

    bool stageHasCombination(int index) const
    {
        return stage->condition() != nullptr && *stage->condition() == *combinations.at(static_cast<std::size_t>(index));
    }

    // The place numbers drawn in the last frame ("1)" ...), in order.
    std::vector<std::string> places() const
    {
        std::vector<std::string> shown;
        for (const std::string& text : game.lastFrameTexts()) {
            if (!text.empty() && text.back() == ')' && text.find(' ') == std::string::npos) {
                shown.push_back(text);
            }
        }
        return shown;
    }

    rally::RallyPtr hotlap;
    rally::StagePtr stage;
};

TEST_F(WeatherOptions, FirstFrameFollowsTheLayout)
{
    offerCombinations(2);
    combinations[1]->surface = 2;
    combinations[1]->track = 2;
    stage->setCondition(condition(20, 1, 2, 2)); // equal to the second one
    Dialog parent;
    WeatherOptionsDialog dialog(&parent, stage);
    EXPECT_EQ(tracksAsked, (std::vector<std::int32_t>{20}));
    EXPECT_EQ(dialog.row(), 1) << "the cursor starts on the stage's condition";
    dialog.draw();

    Calls expected{"BeginPage 0 0 0 0", "SelectMenuColor 3", "DrawPanel 0 465 640 15",
                   "SelectMenuColor 3"};
    addTitle(expected, 5, 5, "Weather And Track Options (2 Total): Harwood Forest");
    addText(expected, 35, 35, "Conditions");
    addText(expected, 125, 35, "Sky");
    addText(expected, 215, 35, "Time Of Day");
    addText(expected, 305, 35, "Surface");
    addText(expected, 355, 35, "Track");
    expected.insert(expected.end(), {"SelectMenuColor 3", "DrawHighlight 0 75 400 15"});
    addText(expected, 5, 60, "1)");
    for (const auto& [x, word] : {std::pair{35.0F, "crisp"}, {125.0F, "clear"}, {215.0F, "noon"},
                                  {305.0F, "dry"}, {355.0F, "new"}}) {
        addText(expected, x, 60, word);
    }
    addText(expected, 5, 75, "2)");
    for (const auto& [x, word] : {std::pair{35.0F, "hazy"}, {125.0F, "clear"}, {215.0F, "noon"},
                                  {305.0F, "wet"}, {355.0F, "worn"}}) {
        addText(expected, x, 75, word);
    }
    expected.insert(expected.end(), {"SelectMenuColor 3", "SelectMenuColor 4", "SelectFont 1",
                                     drawText(425, 35, "Stage Details")});
    EXPECT_EQ(frameStart(expected.size()), expected);
    // The details: the hotlap's record column of (640 - 425 - 43) units, split rows.
    const Calls texts = game.lastFrameTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Split 1:"), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "Hotlap Record"), texts.end())
        << "no record yet: no column";
}

TEST_F(WeatherOptions, ThirtyCombinationsScrollAndWrapAtBothEnds)
{
    offerCombinations(30);
    stage->setCondition(condition(20, 0, 0, 0)); // the first combination
    WeatherOptionsDialog dialog(nullptr, stage);
    ASSERT_EQ(dialog.row(), 0);

    EXPECT_EQ(up(dialog), &dialog);
    EXPECT_EQ(dialog.offset(), 5);
    EXPECT_EQ(dialog.row(), 24);
    EXPECT_TRUE(stageHasCombination(29)) << "up from the first selects the last, at once";
    dialog.draw();
    const std::vector<std::string> shown = places();
    ASSERT_EQ(shown.size(), 25U);
    EXPECT_EQ(shown.front(), "6)");
    EXPECT_EQ(shown.back(), "30)");
    EXPECT_EQ(highlight(), "DrawHighlight 0 420 400 15");

    EXPECT_EQ(down(dialog), &dialog);
    EXPECT_EQ(dialog.offset(), 0);
    EXPECT_EQ(dialog.row(), 0);
    EXPECT_TRUE(stageHasCombination(0)) << "down from the last wraps to the first";

    for (int i = 0; i < 26; ++i) {
        down(dialog);
    }
    EXPECT_EQ(dialog.offset(), 2) << "the window follows the cursor";
    EXPECT_EQ(dialog.row(), 24);
    EXPECT_TRUE(stageHasCombination(26));
    up(dialog);
    EXPECT_EQ(dialog.offset(), 2);
    EXPECT_EQ(dialog.row(), 23);
    EXPECT_TRUE(stageHasCombination(25));
}

TEST_F(WeatherOptions, TheCursorStartsOnTheStageConditionBelowTheWindow)
{
    offerCombinations(30);
    stage->setCondition(condition(20, 7, 0, 0)); // index 27 has conditions 7 and sky 2
    stage->condition()->sky = 2;
    WeatherOptionsDialog dialog(nullptr, stage);
    EXPECT_EQ(dialog.offset(), 3);
    EXPECT_EQ(dialog.row(), 24);
    dialog.draw();
    EXPECT_EQ(highlight(), "DrawHighlight 0 420 400 15");
    EXPECT_EQ(places().back(), "28)");

    stage->setCondition(condition(20, 9, 2, 2)); // offered by no combination
    WeatherOptionsDialog other(nullptr, stage);
    EXPECT_EQ(other.offset(), 0);
    EXPECT_EQ(other.row(), 0);
}

TEST_F(WeatherOptions, OnlySelectLeavesAndTheCombinationStaysApplied)
{
    offerCombinations(3);
    stage->setCondition(condition(20, 0, 0, 0));
    Dialog parent;
    WeatherOptionsDialog dialog(&parent, stage);
    down(dialog);
    for (const char c : {'B', 'b', 'n'}) {
        EXPECT_EQ(key(dialog, c), &dialog) << c;
    }
    EXPECT_EQ(left(dialog), &dialog);
    EXPECT_EQ(right(dialog), &dialog);
    EXPECT_TRUE(stageHasCombination(1));
    EXPECT_EQ(select(dialog), &parent);
    EXPECT_TRUE(stageHasCombination(1));
    EXPECT_NE(stage->condition(), combinations[1]) << "the stage holds a copy of its own";
}

TEST_F(WeatherOptions, ATrackWithoutCombinationsShowsTheTitleAndTheDetails)
{
    const rally::TrackConditionPtr before = stage->condition();
    Dialog parent;
    WeatherOptionsDialog dialog(&parent, stage);
    EXPECT_EQ(StatusLine::text(),
              "No valid weather and track combination found for Harwood Forest.");
    dialog.draw();
    Calls expected{"BeginPage 0 0 0 0", "SelectMenuColor 3", "DrawPanel 0 465 640 15",
                   "SelectMenuColor 0", "SelectFont 0",
                   drawText(2, 465, "No valid weather and track combination found for Harwood Forest."),
                   "SelectMenuColor 3"};
    addTitle(expected, 5, 5, "Weather And Track Options (0 Total): Harwood Forest");
    expected.insert(expected.end(), {"SelectMenuColor 3", "SelectMenuColor 4", "SelectFont 1",
                                     drawText(425, 35, "Stage Details")});
    EXPECT_EQ(frameStart(expected.size()), expected);

    for (Dialog* (*press)(Dialog&) : {&up, &down, &left, &right}) {
        EXPECT_EQ(press(dialog), &dialog);
    }
    EXPECT_EQ(key(dialog, 'b'), &dialog);
    EXPECT_FALSE(dialog.needsRebuild()) << "nothing reacts";
    EXPECT_EQ(stage->condition(), before);
    EXPECT_EQ(select(dialog), &parent);
}

TEST_F(WeatherOptions, UnreadableTrackDataIsToldInTheStatusLine)
{
    combinationsFail = true;
    Dialog parent;
    WeatherOptionsDialog dialog(&parent, stage);
    EXPECT_EQ(StatusLine::text(), "The weather of Harwood Forest could not be read: "
                                  "zudo::test::PageTest: cannot read Maps/track-20_M.ini");
    EXPECT_EQ(dialog.draw(), &dialog);
    EXPECT_EQ(dialog.entries().size(), 0U);
    EXPECT_EQ(select(dialog), &parent);
}

} // namespace
