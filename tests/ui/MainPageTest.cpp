// The list of hotlaps or rallies: the window of 23 entries and "Back", the
// details of the entry under the cursor, the hotlap records with their
// scrolling, and the way back.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "PageFixture.hpp"
#include "ui/MainDialog.hpp"
#include "ui/RallyDialog.hpp"
#include "ui/Screen.hpp"
#include "util/TimeText.hpp"

namespace {

using namespace zudo;
using namespace zudo::ui;
using zudo::test::Calls;

class MainPage : public zudo::test::PageTest {
protected:
    // Rallies "Rally 00", "Rally 01", ... of one stage each.
    void addRallies(int count)
    {
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "Rally %02d", i);
            list.add(rallyFrom(name, "stage 20\n"));
        }
    }

    // The entry names drawn in the list's column (x 5, y 50 to 380).
    std::vector<std::string> listed() const
    {
        std::vector<std::string> names;
        const Calls frame = game.lastFrame();
        for (int row = 0; row < MainDialog::window; ++row) {
            const std::string prefix = "DrawText 5 " + number(50.0F + 15.0F * static_cast<float>(row)) + " \"";
            for (const std::string& call : frame) {
                if (call.rfind(prefix, 0) == 0) {
                    names.push_back(call.substr(prefix.size(), call.size() - prefix.size() - 1));
                }
            }
        }
        return names;
    }

    // The texts of the details group (x from 190 on), in drawing order.
    Calls details() const { return frameFrom("DrawText 190 50 \"Rally Details\"").empty()
                                       ? frameFrom("DrawText 190 50 \"Hotlap Details\"")
                                       : frameFrom("DrawText 190 50 \"Rally Details\""); }

    // A hotlap on Harwood Forest with records of the given finish times, each
    // on a combination of its own (surface i / 10, conditions i % 10).
    rally::RallyPtr hotlapWithRecords(int count)
    {
        auto hotlap = std::make_shared<rally::Rally>(20, 0, 3);
        const rally::StagePtr stage = hotlap->stage(0);
        for (int i = 0; i < count; ++i) {
            const rally::StageTimePtr record =
                recordOf(stage, 20, 40, 60.0F + static_cast<float>(i), "Driver");
            record->setCondition(condition(20, i % 10, i / 10, 0));
            stage->addRecord(record);
        }
        return hotlap;
    }

    rally::RallyList list;
};

TEST_F(MainPage, ThirtyEntriesWrapThroughBack)
{
    addRallies(30);
    Dialog parent;
    MainDialog dialog(&parent, false, list);
    dialog.draw();
    std::vector<std::string> names = listed();
    ASSERT_EQ(names.size(), 23U);
    EXPECT_EQ(names.front(), "Rally 00");
    EXPECT_EQ(names.back(), "Rally 22");
    EXPECT_EQ(highlight(), "DrawHighlight 0 50 185 15");

    EXPECT_EQ(up(dialog), &dialog);
    EXPECT_EQ(dialog.selected(), 30) << "up from the first entry is Back";
    dialog.draw();
    names = listed();
    ASSERT_EQ(names.size(), 23U);
    EXPECT_EQ(names.front(), "Rally 07");
    EXPECT_EQ(names.back(), "Rally 29");
    EXPECT_EQ(highlight(), "DrawHighlight 0 425 185 15");
    EXPECT_TRUE(details().empty()) << "Back has no details";

    EXPECT_EQ(up(dialog), &dialog);
    EXPECT_EQ(dialog.selected(), 29);
    dialog.draw();
    EXPECT_EQ(highlight(), "DrawHighlight 0 380 185 15");
    down(dialog);
    EXPECT_EQ(dialog.selected(), 30);

    EXPECT_EQ(down(dialog), &dialog);
    EXPECT_EQ(dialog.selected(), 0) << "down from Back is the first entry";
    dialog.draw();
    EXPECT_EQ(listed().front(), "Rally 00");
    EXPECT_EQ(highlight(), "DrawHighlight 0 50 185 15");

    for (int i = 0; i < 23; ++i) {
        down(dialog);
    }
    EXPECT_EQ(dialog.selected(), 23);
    EXPECT_EQ(dialog.offset(), 1) << "the list moves under the last row";
    dialog.draw();
    EXPECT_EQ(listed().front(), "Rally 01");
    EXPECT_EQ(highlight(), "DrawHighlight 0 380 185 15");
    for (int i = 0; i < 7; ++i) {
        down(dialog);
    }
    EXPECT_EQ(dialog.selected(), 30);
    down(dialog);
    EXPECT_EQ(dialog.selected(), 0) << "and from Back to the top again";
}

TEST_F(MainPage, WithoutRallyFilesOnlyBackIsOffered)
{
    Dialog parent;
    MainDialog dialog(&parent, false, list);
    dialog.draw();
    Calls expected{"BeginPage 0 0 0 0", "SelectMenuColor 3", "DrawPanel 0 465 640 15",
                   "SelectMenuColor 3"};
    addTitle(expected, 5, 20, "Rallies");
    expected.insert(expected.end(), {"SelectMenuColor 3", "DrawHighlight 0 425 185 15"});
    addColoured(expected, red, 5, 50, "No rally config files found");
    expected[expected.size() - 2] = "SelectFont 1";
    addText(expected, 5, 425, "Back");
    EXPECT_EQ(game.lastFrame(), expected);

    for (Dialog* (*press)(Dialog&) : {&up, &down, &down, &up}) {
        EXPECT_EQ(press(dialog), &dialog);
        EXPECT_EQ(dialog.selected(), 0);
        dialog.draw();
        EXPECT_EQ(highlight(), "DrawHighlight 0 425 185 15");
    }
    EXPECT_EQ(select(dialog), &parent);
}

TEST_F(MainPage, HotlapDetailsFollowTheLayout)
{
    list.add(hotlapWithRecords(2));
    MainDialog dialog(nullptr, true, list);
    dialog.draw();
    const std::string date = util::formatDateTime(platform::CalendarTime{2024, 3, 4, 7, 9, 5, 4, 0});
    Calls expected{"SelectMenuColor 3", // the details' group
                   "SelectMenuColor 4", "SelectFont 0", drawText(190, 50, "Hotlap Details")};
    addText(expected, 190, 65, "Name:");
    addText(expected, 280, 65, "Harwood Forest");
    addText(expected, 190, 80, "Stages:");
    addText(expected, 280, 80, "1");
    addText(expected, 190, 95, "Hotlap Records (2)");
    addText(expected, 210, 110, "Time");
    addText(expected, 280, 110, "Weather");
    addText(expected, 335, 110, "Tyres");
    addText(expected, 450, 110, "Track");
    addText(expected, 525, 110, "Date");
    addText(expected, 190, 125, "1)");
    addText(expected, 210, 125, " 01:00.000");
    addText(expected, 280, 125, "Good");
    addText(expected, 335, 125, "Gravel Dry");
    addText(expected, 450, 125, "dry new");
    addText(expected, 525, 125, date);
    addText(expected, 190, 140, "2)");
    addText(expected, 210, 140, " 01:01.000");
    addText(expected, 280, 140, "Good");
    addText(expected, 335, 140, "Gravel Dry");
    addText(expected, 450, 140, "dry new");
    addText(expected, 525, 140, date);
    // The details end the frame: the hint is empty while everything fits.
    const Calls frame = game.lastFrame();
    ASSERT_GE(frame.size(), expected.size());
    EXPECT_EQ(Calls(frame.end() - static_cast<std::ptrdiff_t>(expected.size()), frame.end()), expected);
}

TEST_F(MainPage, TwentyRecordsShowEighteenRowsAndPageWithN)
{
    list.add(hotlapWithRecords(20));
    MainDialog dialog(nullptr, true, list);
    const auto placesShown = [&] {
        std::vector<std::string> places;
        for (int row = 0; row < 20; ++row) {
            const std::string prefix = "DrawText 190 " + number(125.0F + 15.0F * static_cast<float>(row)) + " \"";
            for (const std::string& call : game.lastFrame()) {
                if (call.rfind(prefix, 0) == 0) {
                    places.push_back(call.substr(prefix.size(), call.size() - prefix.size() - 1));
                }
            }
        }
        return places;
    };
    dialog.draw();
    std::vector<std::string> places = placesShown();
    ASSERT_EQ(places.size(), 18U);
    EXPECT_EQ(places.front(), "1)");
    EXPECT_EQ(places.back(), "18)");
    const Calls texts = game.lastFrameTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Hotlap Records (20)"), texts.end());
    EXPECT_EQ(frameFrom(drawText(190, 425, "'t': Toggle Autoscroll   'n': Next   'p': Previous")).size(), 1U)
        << "the hint is the last thing drawn";

    EXPECT_EQ(key(dialog, 'n'), &dialog);
    dialog.draw();
    places = placesShown();
    ASSERT_EQ(places.size(), 18U);
    EXPECT_EQ(places.front(), "2)");
    EXPECT_EQ(places.back(), "19)");
    EXPECT_TRUE(std::find(game.lastFrame().begin(), game.lastFrame().end(),
                          drawText(210, 125, " 01:01.000")) != game.lastFrame().end());

    key(dialog, 'p');
    key(dialog, 'p');
    dialog.draw();
    places = placesShown();
    EXPECT_EQ(places.front(), "20)") << "p from the first wraps to the last";
    EXPECT_EQ(places[1], "1)");

    EXPECT_EQ(key(dialog, 't'), &dialog);
    EXPECT_EQ(StatusLine::text(), "Turned off automatic scrolling.");

    EXPECT_TRUE(dialog.scroller().isScrollable());
    down(dialog); // Back: no records to page
    dialog.draw();
    EXPECT_FALSE(dialog.scroller().isScrollable());
}

TEST_F(MainPage, RallyDetailsShowTheRecordAndTheSavedProgress)
{
    const rally::RallyPtr forest = rallyFrom("Forest Rally", "stage 20\nstage 21 Falstone Long\nstage 22\n");
    forest->stage(0)->addRecord(recordOf(forest->stage(0), 20, 40, 63.0F, "Bob"));
    forest->stage(1)->addRecord(recordOf(forest->stage(1), 20, 40, 70.5F, "Bob"));
    forest->stage(0)->setDriven(true);
    forest->stage(0)->setFinishTime(64.0F);
    list.add(forest);
    MainDialog dialog(nullptr, false, list);
    dialog.draw();

    Calls expected{drawText(190, 50, "Rally Details")};
    addText(expected, 190, 65, "Name:");
    addText(expected, 280, 65, "Forest Rally");
    addText(expected, 190, 80, "Stages:");
    addText(expected, 280, 80, "3");
    addText(expected, 310, 80, "Driven:");
    addText(expected, 370, 80, "1");
    addText(expected, 190, 95, "Rally Record");
    addText(expected, 190, 110, "Time");
    addText(expected, 280, 110, "Date");
    addText(expected, 190, 125, " 02:13.500"); // 63 + 70.5; the third stage has none
    addText(expected, 190, 140, "Progress Saved:");
    addText(expected, 280, 140, "no");
    EXPECT_EQ(details(), expected) << "no record file: no date";

    ASSERT_TRUE(forest->saveProgress());
    install.write("Plugins/Zuzuzevo/Forest Rally.tm2", "");
    down(dialog);
    up(dialog);
    dialog.draw();
    const Calls texts = game.lastFrameTexts();
    const auto progress = forest->progressDate();
    const auto recordDate = forest->recordDate();
    ASSERT_TRUE(progress && recordDate);
    const std::vector<std::string> tail(texts.end() - 4, texts.end());
    EXPECT_EQ(tail, (std::vector<std::string>{" 02:13.500", util::formatDateTime(*recordDate),
                                              "Progress Saved:", util::formatDateTime(*progress)}));
}

TEST_F(MainPage, SelectOnAnEntryWithoutStagesChangesNothing)
{
    list.add(rallyFrom("Empty", "weather bad\n"));
    ASSERT_EQ(list.at(0)->stageCount(), 0U);
    Dialog parent;
    MainDialog dialog(&parent, false, list);
    dialog.draw();
    const Calls before = game.lastFrame();
    EXPECT_EQ(select(dialog), &dialog);
    EXPECT_EQ(dialog.child(), nullptr);
    dialog.draw();
    EXPECT_EQ(game.lastFrame(), before);
    EXPECT_EQ(dialog.selected(), 0);

    EXPECT_EQ(key(dialog, 'B'), &parent);
    EXPECT_EQ(key(dialog, 'b'), &parent);
    down(dialog);
    EXPECT_EQ(select(dialog), &parent) << "select on Back";
}

TEST_F(MainPage, SelectOnAnEntryWithStagesOpensItsPage)
{
    list.add(rallyFrom("Two", "stage 20 Forest\nstage 41 Coast\n"));
    Dialog parent;
    MainDialog dialog(&parent, false, list);
    dialog.draw();
    Dialog* page = select(dialog);
    ASSERT_NE(page, &dialog);
    EXPECT_EQ(page, dialog.child());
    EXPECT_NE(dynamic_cast<RallyDialog*>(page), nullptr);
    EXPECT_EQ(page->parent(), &dialog);
    EXPECT_EQ(key(*page, 'b'), &dialog) << "and back to the list";
    dialog.draw();
    EXPECT_EQ(dialog.child(), nullptr) << "deleted at the list's next frame";
}

TEST_F(MainPage, ADamagedRecordsFileIsToldAndTheListKeepsWorking)
{
    install.write("Plugins/Zuzuzevo/Harwood Forest (dry, Gravel Dry).tm2", "garbage\n");
    const rally::RallyPtr damaged = rallyFrom("Damaged", "hotlap 1\nstage 20\n");
    damaged->loadRecords();
    list.add(damaged);
    list.add(hotlapWithRecords(1));
    StatusLine::setReady();
    MainDialog dialog(nullptr, true, list);
    dialog.draw();
    EXPECT_EQ(StatusLine::text(),
              "Some records of Damaged could not be read: its best-times file is damaged.");
    EXPECT_EQ(game.lastFrameTexts().front(), StatusLine::text());
    EXPECT_NE(details().size(), 0U) << "the details are still shown";

    down(dialog);
    dialog.draw();
    EXPECT_EQ(StatusLine::text(), "Ready.") << "taken down on the next entry";
    EXPECT_EQ(dialog.selected(), 1);
}

} // namespace
