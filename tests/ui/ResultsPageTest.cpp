// The results over the game's result page, the stage-details block with its
// columns, and the difference and record cells.

#include <gtest/gtest.h>

#include <string>

#include "PageFixture.hpp"
#include "rally/CarCatalogue.hpp"
#include "ui/ResultsDialog.hpp"
#include "ui/Screen.hpp"
#include "ui/StageDetails.hpp"
#include "util/TimeText.hpp"

namespace {

using namespace zudo;
using namespace zudo::ui;
using zudo::test::Calls;

const platform::CalendarTime driveDate{2024, 3, 4, 7, 9, 5, 4, 0};

class ResultsPage : public zudo::test::PageTest {
protected:
    // A hotlap on Harwood Forest (20), crisp, clear, noon, dry, new, driven by
    // Ann: splits 20.5 and 41.25, finish 62.5; its record (also the best on
    // the stage) 21, 41.25 and 63 by Bob.
    void SetUp() override
    {
        PageTest::SetUp();
        hotlap = std::make_shared<rally::Rally>(20, 0, 3);
        stage = hotlap->stage(0);
        stage->setCondition(condition(20, 0, 0, 0));
        stage->addRecord(recordOf(stage, 21.0F, 41.25F, 63.0F, "Bob"));
        stage->setDriven(true);
        stage->setSplit(0, 20.5F);
        stage->setSplit(1, 41.25F);
        stage->setFinishTime(62.5F);
        stage->setDriver("Ann");
        stage->setCarSlot(2);
        stage->setCarName("Car Two");
        stage->setSetupName("Current");
        stage->setDate(driveDate);
        list.add(hotlap);
    }

    // Draws a page of its own over the menu.
    void drawAlone(const Page& page)
    {
        Screen::instance().setPage(page);
        Screen::instance().draw(menuPageArea);
    }

    rally::RallyPtr hotlap;
    rally::StagePtr stage;
    rally::RallyList list;
};

TEST_F(ResultsPage, ComparesSplitsAndFinishWithEveryReference)
{
    setHostResults({{20, 1, 20.0F, 40.0F, 61.0F, "Host Driver"}});
    Dialog parent;
    ResultsDialog dialog(&parent, stage, list);
    EXPECT_EQ(dialog.drawResultPage(), &dialog);

    Calls expected{"BeginPage 0 0 640 240", "SelectMenuColor 3", "DrawPanel 0 465 640 15"};
    addTitle(expected, 130, 49, "Results Harwood Forest");
    addText(expected, 130, 70,
            "Stage Record by: Host Driver  Car (Slot 1): " +
                rally::CarCatalogue::instance().displayName(1));
    expected.insert(expected.end(), {"SelectMenuColor 0", "DrawPanel 73 49 3 182"});
    addText(expected, 80, 100, "Current");
    addText(expected, 143, 100, "Hotlap / Diff");
    addText(expected, 267.25F, 100, "Surface / Diff");
    addText(expected, 391.5F, 100, "Overall / Diff");
    addText(expected, 515.75F, 100, "Stage / Diff");
    struct Row {
        const char* label;
        const char* own;
        const char* record;           // also the surface and overall best
        const char* recordDifference; // own - record
        const char* recordColour;
        const char* host;
        const char* hostDifference;
    };
    const Row rows[] = {
        {"Split 1", " 00:20.500", " 00:21.000", "-00:00.500", green, " 00:20.000", "+00:00.500"},
        {"Split 2", " 00:41.250", " 00:41.250", "+00:00.000", green, " 00:40.000", "+00:01.250"},
        {"Time", " 01:02.500", " 01:03.000", "-00:00.500", green, " 01:01.000", "+00:01.500"},
    };
    float y = 125;
    for (const Row& row : rows) {
        addText(expected, 30, y, row.label);
        addText(expected, 78, y, row.own);
        for (const float x : {138.0F, 262.25F, 386.5F}) {
            addText(expected, x, y, row.record);
            addColoured(expected, row.recordColour, x + 59.125F, y, row.recordDifference);
        }
        addText(expected, 510.75F, y, row.host);
        addColoured(expected, red, 569.875F, y, row.hostDifference);
        y += 15;
    }
    expected.insert(expected.end(), {"SelectMenuColor 3", "SelectMenuColor 4", "SelectFont 1",
                                     drawText(5, 235, "Stage Details")});

    EXPECT_EQ(frameStart(expected.size()), expected);
}

TEST_F(ResultsPage, WithoutTheGameResultItsLineAndColumnStayEmpty)
{
    Dialog parent;
    ResultsDialog dialog(&parent, stage, list);
    dialog.drawResultPage();
    const Calls texts = game.lastFrameTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Stage / Diff"), 1) << "the title stays";
    for (const std::string& text : texts) {
        EXPECT_EQ(text.find("Stage Record by: "), std::string::npos);
    }
    for (const std::string& call : game.lastFrame()) {
        EXPECT_EQ(call.rfind("DrawText 510.75 ", 0), std::string::npos) << call;
        EXPECT_EQ(call.rfind("DrawText 569.875 ", 0), std::string::npos) << call;
    }
}

TEST_F(ResultsPage, ADnfShowsOnlyTheStatusLine)
{
    stage->setFinishTime(0);
    StatusLine::setText("Hotlap finished. DNF.");
    Dialog parent;
    ResultsDialog dialog(&parent, stage, list);
    dialog.drawResultPage();
    EXPECT_EQ(game.lastFrame(), (Calls{"BeginPage 0 0 640 240", "SelectMenuColor 3",
                                       "DrawPanel 0 465 640 15", "SelectMenuColor 0",
                                       "SelectFont 0",
                                       "DrawText 2 465 \"Hotlap finished. DNF.\""}));
}

TEST_F(ResultsPage, IsBuiltOnceAndLeftWhenTheGameDrawsItsMenuAgain)
{
    Dialog parent;
    ResultsDialog dialog(&parent, stage, list);
    dialog.drawResultPage();
    const Calls first = game.lastFrame();
    stage->setDriver("Changed"); // a rebuild would show it
    game.clear();
    EXPECT_EQ(dialog.drawResultPage(), &dialog);
    EXPECT_EQ(game.calls(), first) << "a steady frame draws the page built before";
    EXPECT_FALSE(dialog.needsRebuild());

    game.clear();
    EXPECT_EQ(dialog.draw(), &parent) << "the menu is the parent's again";
    EXPECT_TRUE(game.calls().empty()) << "nothing drawn on the way back";
}

// The rally dialog's panel: rally record, surface best and overall best.
TEST_F(ResultsPage, StageDetailsOfARallyStageKeepTheWidthOfAMissingColumn)
{
    const rally::RallyPtr forest = rallyFrom("Forest Rally",
                                             "conditions norain\nsky clear\ntimeOfDay noon\n"
                                             "surface damp\ntrack normal\nstage 20\nstage 21\n");
    const rally::StagePtr first = forest->stage(0);
    ASSERT_NE(first, nullptr);
    // The record was driven dry: no best on the damp surface exists.
    const rally::StageTimePtr record =
        recordOf(first, 21.0F, 42.0F, 63.0F, "Alexandra Konstantinopoulou");
    record->setCondition(condition(20, 2, 0, 1));
    first->addRecord(record);
    rally::RallyList rallies;
    rallies.add(forest);

    Page page;
    createStageDetailsComponents(page, first, Point{215, 5},
                                 RallyRecordColumn | SurfaceRecordColumn | OverallRecordColumn,
                                 rallies);
    drawAlone(page);

    const float width = (640.0F - 215 - 43) / 3;
    const std::string date = util::formatDateTime(driveDate);
    ASSERT_LE(date.size(), 21U) << "fits the column in 6-unit characters";
    Calls expected{"BeginPage 0 0 0 0", "SelectMenuColor 3"};
    addTitle(expected, 215, 5, "Stage Details");
    const char* labels[] = {"Time:", "Rally:", "Driver:", "Date:", "Options:", "", "Car:", "Tyres:", "Setup:"};
    float y = 40;
    for (const char* label : labels) {
        if (*label != '\0') {
            addText(expected, 215, y, label);
        }
        y += 15;
    }
    const std::string values[] = {" 01:03.000 dry", "Forest Rally", "Alexandra Konstant...", date,
                                  "norain clear",   "noon dry normal", "1 Car One", "Gravel Dry",
                                  "Default"};
    float left = 43;
    for (const char* title : {"Rally Record", "Overall Record"}) {
        addText(expected, 215 + left, 25, title);
        y = 40;
        for (const std::string& value : values) {
            addText(expected, 215 + left, y, value);
            y += 15;
        }
        left += width;
    }
    EXPECT_EQ(game.lastFrame(), expected);
}

TEST_F(ResultsPage, StageDetailsWithSplitRowsAndTheCurrentTime)
{
    Page page;
    createStageDetailsComponents(page, stage, Point{5, 235},
                                 CurrentTimeColumn | RallyRecordColumn | SurfaceRecordColumn |
                                     OverallRecordColumn | SplitRows,
                                 list);
    drawAlone(page);
    const Calls frame = game.lastFrame();
    const auto drawn = [&](float x, float y, const std::string& text) {
        return std::find(frame.begin(), frame.end(), drawText(x, y, text)) != frame.end();
    };
    // Four columns of (640 - 5 - 43) / 4 = 148 from x 5 + 43.
    // Column titles at y 235 + 20, rows from one row below them.
    EXPECT_TRUE(drawn(5, 270, "Split 1:"));
    EXPECT_TRUE(drawn(5, 285, "Split 2:"));
    EXPECT_TRUE(drawn(5, 300, "Time:"));
    EXPECT_TRUE(drawn(5, 420, "Setup:"));
    EXPECT_TRUE(drawn(48, 255, "Current Time"));
    EXPECT_TRUE(drawn(48, 270, " 00:20.500"));
    EXPECT_TRUE(drawn(48, 285, " 00:41.250"));
    EXPECT_TRUE(drawn(48, 300, " 01:02.500 dry"));
    EXPECT_TRUE(drawn(48, 315, "Harwood Forest")) << "a hotlap's rally is named after its stage";
    EXPECT_TRUE(drawn(48, 330, "Ann"));
    EXPECT_TRUE(drawn(48, 360, "crisp clear"));
    EXPECT_TRUE(drawn(48, 375, "noon dry new"));
    EXPECT_TRUE(drawn(48, 390, "2 Car Two"));
    EXPECT_TRUE(drawn(48, 405, "Gravel Dry"));
    EXPECT_TRUE(drawn(48, 420, "Current"));
    EXPECT_TRUE(drawn(196, 255, "Hotlap Record"));
    EXPECT_TRUE(drawn(196, 270, " 00:21.000"));
    EXPECT_TRUE(drawn(344, 255, "Surface Record"));
    EXPECT_TRUE(drawn(492, 255, "Overall Record"));
    EXPECT_TRUE(drawn(492, 330, "Bob"));
}

TEST_F(ResultsPage, StageDetailsOfTheGameResultNameNoRallyAndNoSurface)
{
    setHostResults({{20, 1, 20.0F, 40.0F, 61.0F, "Host Driver"}});
    Page page;
    createStageDetailsComponents(page, stage, Point{425, 35}, StageRecordColumn, list);
    drawAlone(page);
    const Calls texts = game.lastFrameTexts();
    // One column of the whole width: 640 - 425 - 43 = 172 units.
    const Calls expected{"Stage Details", "Time:",   "Rally:", "Driver:", "Date:",
                         "Options:",      "Car:",    "Tyres:", "Setup:",  "Stage Record",
                         " 01:01.000",    "Host Driver",
                         "1 " + rally::CarCatalogue::instance().displayName(1)};
    EXPECT_EQ(texts, expected);
}

TEST_F(ResultsPage, StageDetailsWithoutColumnsShowTheLabelsOnly)
{
    for (const int flags : {0, int{SplitRows}}) {
        SCOPED_TRACE(flags);
        Page page;
        createStageDetailsComponents(page, stage, Point{215, 5}, flags, list);
        drawAlone(page);
        const Calls texts = game.lastFrameTexts();
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.front(), "Stage Details");
        EXPECT_EQ(texts.back(), "Setup:");
        EXPECT_EQ(texts.size(), flags == 0 ? 9U : 11U);
    }
}

TEST_F(ResultsPage, DifferenceCellsAreGreenUpToZeroAndRedAbove)
{
    struct Case {
        float own;
        float reference;
        const char* text;
        const char* colour;
    };
    const Case cases[] = {
        {61.5F, 61.5F, "+00:00.000", green},
        {62.0004F, 61.9996F, "+00:00.001", red}, // whole milliseconds: 62000 - 61999
        {60.0F, 61.25F, "-00:01.250", green},
        {125.0F, 60.0F, "+01:05.000", red},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        game.clear();
        makeDifferenceCell(Point{10, 20}, c.own, c.reference)->draw(DrawContext{&game, 0, 0});
        EXPECT_EQ(game.calls(), (Calls{c.colour, "SelectFont 0", drawText(10, 20, c.text)}));
    }
}

TEST_F(ResultsPage, RecordCellsShowTheDifferenceOrTheReferenceWithItsSurface)
{
    setHostResults({{20, 1, 20.0F, 40.0F, 61.0F, "Host Driver"}});
    const rally::StageTimePtr record = stage->currentRecord();
    ASSERT_NE(record, nullptr);
    const rally::StageTimePtr host = rally::HostResults::instance().resultFor(20);
    const auto cell = [&](const rally::StageTimePtr& reference) {
        game.clear();
        makeRecordCell(Point{254, 212}, *stage, reference)->draw(DrawContext{&game, 0, 0});
        return game.calls();
    };

    EXPECT_EQ(cell(record), (Calls{green, "SelectFont 0", drawText(254, 212, "-00:00.500 dry")}));
    EXPECT_EQ(cell(host), (Calls{red, "SelectFont 0", drawText(254, 212, "+00:01.500")}))
        << "the game's result has no surface";
    stage->setFinishTime(63.0F);
    EXPECT_EQ(cell(record), (Calls{green, "SelectFont 0", drawText(254, 212, "+00:00.000 dry")}));

    stage->setFinishTime(0); // not driven yet: the reference's own time
    EXPECT_EQ(cell(record),
              (Calls{"SelectMenuColor 3", "SelectFont 0", drawText(254, 212, " 01:03.000 dry")}));
    EXPECT_EQ(cell(nullptr),
              (Calls{"SelectMenuColor 3", "SelectFont 0", drawText(254, 212, " --:--.---")}));
}

} // namespace
