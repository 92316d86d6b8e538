// The start page: its exact drawing, the keys that move the highlight and
// step the two options in the game's stage-start record, and the way to the
// lists and back.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ShellHost.hpp"
#include "support/StartPageFrame.hpp"
#include "ui/MainDialog.hpp"
#include "ui/StartDialog.hpp"

namespace {

using namespace zudo::ui;
using Record = zudo::util::mem::StageStartRecordView;
using Calls = std::vector<std::string>;

constexpr std::uint32_t damage = Record::damageLevelOffset;             // 88
constexpr std::uint32_t transmission = Record::transmissionOffset;      // 28
constexpr std::uint32_t preference = Record::gearboxPreferenceOffset;   // 1700

class StartPage : public zudo::test::ShellHostTest {
protected:
    Dialog* press(Dialog& dialog, bool up, bool down, bool left, bool right, bool select = false)
    {
        return dialog.HandleFrontEndEvents('\0', up, down, left, right, select);
    }
    Dialog* up(Dialog& d) { return press(d, true, false, false, false); }
    Dialog* down(Dialog& d) { return press(d, false, true, false, false); }
    Dialog* left(Dialog& d) { return press(d, false, false, true, false); }
    Dialog* right(Dialog& d) { return press(d, false, false, false, true); }
    Dialog* select(Dialog& d) { return press(d, false, false, false, false, true); }

    // The y of the highlight in the last frame.
    std::string highlight() const
    {
        for (const std::string& call : game.lastFrame()) {
            if (call.rfind("DrawHighlight", 0) == 0) {
                return call;
            }
        }
        return "no highlight";
    }
    std::vector<std::string> rows(Dialog& dialog)
    {
        dialog.draw();
        const Calls texts = game.lastFrameTexts();
        return {texts.begin() + 1, texts.end()}; // without the title
    }
};

TEST_F(StartPage, FirstFrameFollowsTheLayout)
{
    setRecordValue(damage, 2);
    setRecordValue(preference, 3);
    StartDialog dialog;
    dialog.draw();
    EXPECT_EQ(game.calls(), zudo::test::startPageFrame(0, "Reduced", "Manual"));
}

TEST_F(StartPage, TransmissionStartsFromTheStoredGearboxPreference)
{
    struct Case {
        int preference;
        int transmission;
    };
    for (const Case c : {Case{0, 1}, Case{1, 0}, Case{2, 0}, Case{-1, 0}}) {
        SCOPED_TRACE("preference " + std::to_string(c.preference));
        setRecordValue(preference, c.preference);
        setRecordValue(transmission, 7);
        const StartDialog dialog;
        EXPECT_EQ(recordValue(transmission), c.transmission);
        EXPECT_EQ(recordValue(preference), c.preference) << "the preference is only read";
    }
}

TEST_F(StartPage, UpAndDownMoveTheHighlightAndWrapAround)
{
    StartDialog dialog;
    dialog.draw();
    EXPECT_EQ(highlight(), "DrawHighlight 0 100 200 15");

    EXPECT_EQ(up(dialog), &dialog);
    dialog.draw();
    EXPECT_EQ(dialog.selection(), 3);
    EXPECT_EQ(highlight(), "DrawHighlight 0 145 200 15") << "up from the first row";

    EXPECT_EQ(down(dialog), &dialog);
    dialog.draw();
    EXPECT_EQ(highlight(), "DrawHighlight 0 100 200 15") << "down from the last row";

    down(dialog);
    down(dialog);
    dialog.draw();
    EXPECT_EQ(highlight(), "DrawHighlight 0 130 200 15");
}

TEST_F(StartPage, LeftAndRightStepTheDamageLevelWithWrapAround)
{
    setRecordValue(damage, 0);
    StartDialog dialog;
    down(dialog);
    down(dialog);
    EXPECT_EQ(rows(dialog)[2], "Car Damage: Off");

    const std::vector<std::pair<bool, std::string>> steps{
        {true, "Car Damage: Realistic"}, // left from Off wraps
        {true, "Car Damage: Reduced"},
        {false, "Car Damage: Realistic"},
        {false, "Car Damage: Off"}, // right from Realistic wraps
        {false, "Car Damage: Safe"},
    };
    for (const auto& [isLeft, shown] : steps) {
        SCOPED_TRACE(shown);
        EXPECT_EQ(isLeft ? left(dialog) : right(dialog), &dialog);
        EXPECT_EQ(rows(dialog)[2], shown);
    }
    EXPECT_EQ(recordValue(damage), 1);
    EXPECT_EQ(rows(dialog)[3], "Transmission: Automatic") << "the other option is untouched";
}

TEST_F(StartPage, LeftAndRightSwitchTheTransmission)
{
    setRecordValue(preference, 0); // starts automatic
    StartDialog dialog;
    up(dialog);
    EXPECT_EQ(rows(dialog)[3], "Transmission: Automatic");
    right(dialog);
    EXPECT_EQ(rows(dialog)[3], "Transmission: Manual") << "right from Automatic";
    EXPECT_EQ(recordValue(transmission), 0);
    right(dialog);
    EXPECT_EQ(rows(dialog)[3], "Transmission: Automatic");
    left(dialog);
    left(dialog);
    EXPECT_EQ(rows(dialog)[3], "Transmission: Automatic") << "left twice is back where it was";
    EXPECT_EQ(recordValue(damage), 0);
}

TEST_F(StartPage, ValuesOutsideTheirRangeShowUnknownAndStepBackIntoIt)
{
    setRecordValue(damage, 9);
    setRecordValue(preference, 4);
    StartDialog dialog;
    setRecordValue(transmission, -5);
    EXPECT_EQ(rows(dialog)[2], "Car Damage: Unknown");
    EXPECT_EQ(rows(dialog)[3], "Transmission: Unknown");

    down(dialog);
    down(dialog);
    left(dialog); // 8: above the range
    EXPECT_EQ(recordValue(damage), 0);
    down(dialog);
    right(dialog); // -4: below the range
    EXPECT_EQ(recordValue(transmission), 1);
    setRecordValue(transmission, 2147483647);
    right(dialog);
    EXPECT_EQ(recordValue(transmission), 0) << "no overflow at the top of the int range";
}

TEST_F(StartPage, SelectOpensTheListsAndBackReturns)
{
    StartDialog dialog;
    dialog.draw();
    for (const bool hotlaps : {true, false}) {
        SCOPED_TRACE(hotlaps ? "Hotlaps" : "Rallies");
        Dialog* opened = select(dialog);
        ASSERT_NE(opened, &dialog);
        auto* list = dynamic_cast<MainDialog*>(opened);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->showsHotlaps(), hotlaps);
        EXPECT_EQ(list->parent(), &dialog);

        EXPECT_EQ(list->draw(), list);
        const Calls frame = game.lastFrame();
        ASSERT_GE(frame.size(), 7U);
        EXPECT_EQ(frame[6], hotlaps ? "DrawText 5 20 \"Hotlaps\"" : "DrawText 5 20 \"Rallies\"");
        for (const auto& entry : list->entries()) {
            EXPECT_EQ(entry->isHotlap(), hotlaps) << entry->name();
        }
        EXPECT_EQ(list->HandleFrontEndEvents('\0', true, false, false, false, false), list)
            << "up from the first entry is Back";
        EXPECT_EQ(list->HandleFrontEndEvents('\0', false, false, false, false, true), &dialog);
        dialog.draw();
        EXPECT_EQ(dialog.child(), nullptr) << "the list is deleted at the next frame";
        EXPECT_EQ(game.lastFrameTexts()[0], "Zuzuzevo") << "the start page again";
        down(dialog);
    }
    Dialog* list = select(dialog); // "Rallies" again, left with 'b' this time
    EXPECT_EQ(list->HandleFrontEndEvents('b', false, false, false, false, false), &dialog);
}

TEST_F(StartPage, KeysWithoutMeaningOnARowChangeNothing)
{
    setRecordValue(damage, 1);
    setRecordValue(preference, 1);
    StartDialog dialog;
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        if (row < 2) { // no option to step on the first two rows
            EXPECT_EQ(left(dialog), &dialog);
            EXPECT_EQ(right(dialog), &dialog);
        } else { // nothing to open on the option rows
            EXPECT_EQ(select(dialog), &dialog);
            EXPECT_EQ(dialog.child(), nullptr);
        }
        EXPECT_EQ(recordValue(damage), 1);
        EXPECT_EQ(recordValue(transmission), 0);
        down(dialog);
    }
}

TEST_F(StartPage, WithoutTheGameTheOptionsAreUnknownAndKeysAreHarmless)
{
    removeGame();
    StartDialog dialog;
    down(dialog);
    down(dialog);
    EXPECT_EQ(left(dialog), &dialog);
    down(dialog);
    EXPECT_EQ(right(dialog), &dialog);
    EXPECT_EQ(rows(dialog), (Calls{"Hotlaps", "Rallies", "Car Damage: Unknown",
                                   "Transmission: Unknown"}));
}

} // namespace
