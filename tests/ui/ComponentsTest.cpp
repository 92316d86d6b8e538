// Components draw exactly the game calls their kind stands for, at the
// context's offset plus their position, each selecting its own colour and
// font first; texts with a size are shortened with "...".

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "support/ShellHost.hpp"
#include "ui/Components.hpp"
#include "ui/TextFitting.hpp"

namespace {

using namespace zudo::ui;
using Calls = std::vector<std::string>;

class Components : public zudo::test::ShellHostTest {
protected:
    Calls drawn(const Component& component, float x = 0, float y = 0)
    {
        game.clear();
        component.draw(DrawContext{&game, x, y});
        return game.calls();
    }
};

TEST_F(Components, EmptyTextSelectsNeitherColourNorFont)
{
    const TextComponent empty(Point{10, 20}, "", Size{100, 15});
    EXPECT_EQ(drawn(empty), Calls{});
}

TEST_F(Components, EachKindSelectsItsStyleThenDrawsAtOffsetPlusPosition)
{
    TextComponent text(Point{10, 20}, "Hello");
    text.setColor(colors::red());
    EXPECT_EQ(drawn(text, 5, 7),
              (Calls{"SetColor 1 0 0 1", "SelectFont 0", "DrawText 15 27 \"Hello\""}));

    PanelComponent panel(Point{1, 2}, Size{30, 40});
    EXPECT_EQ(drawn(panel, 100, 200), (Calls{"SelectMenuColor 3", "DrawPanel 101 202 30 40"}));

    HighlightComponent highlight(Point{0, 115}, Size{200, 15});
    highlight.setFont(font(2));
    EXPECT_EQ(drawn(highlight),
              (Calls{"SelectMenuColor 3", "SelectFont 2", "DrawHighlight 0 115 200 15"}));

    MarkComponent mark(Point{3, 4}, 17);
    mark.setColor(colors::cyan());
    EXPECT_EQ(drawn(mark, 10, 10), (Calls{"SetColor 0 1 1 1", "DrawMark 13 14 17"}));
}

TEST_F(Components, GroupsMoveTheirChildrenAndSkipNullChildren)
{
    auto inner = std::make_shared<GroupComponent>(Point{100, 10});
    inner->add(makeTitle(Point{1, 2}, "Title"));
    inner->add(nullptr);
    GroupComponent outer(Point{20, 30});
    outer.setColor(colors::black());
    outer.add(inner);
    outer.add(makeHighlight(Point{0, 5}, Size{50, 15}));

    EXPECT_EQ(inner->children().size(), 1u);
    EXPECT_EQ(drawn(outer, 1, 1), (Calls{
                                      "SetColor 0 0 0 1",       // outer group
                                      "SelectMenuColor 3",      // inner group's default colour
                                      "SelectMenuColor 4",      // title
                                      "SelectFont 1",           //
                                      "DrawText 122 43 \"Title\"", // 1 + 20 + 100 + 1, 1 + 30 + 10 + 2
                                      "SelectMenuColor 3",      // highlight
                                      "DrawHighlight 21 36 50 15",
                                  }));
}

TEST_F(Components, FramedTextIsAPanelInColourThreeWithTextInColourZero)
{
    const FramedTextComponent frame(Point{0, 465}, Size{640, 15}, "Ready.");
    EXPECT_EQ(drawn(frame, 0, 0), (Calls{
                                      "SelectMenuColor 3",
                                      "DrawPanel 0 465 640 15",
                                      "SelectMenuColor 0",
                                      "SelectFont 0",
                                      "DrawText 2 465 \"Ready.\"",
                                  }));
    const FramedTextComponent empty(Point{0, 465}, Size{640, 15}, "");
    EXPECT_EQ(drawn(empty), (Calls{"SelectMenuColor 3", "DrawPanel 0 465 640 15"}));
}

// The fitting rule itself, with one unit per character.
TEST(TextFitting, DropsOneCharacterPerStepAndKeepsThreePoints)
{
    const TextMeasure oneUnitEach = [](const std::string& text) {
        return static_cast<float>(text.size());
    };
    struct Case {
        std::string text;
        float width;
        std::string fitted;
    };
    const std::vector<Case> cases{
        {"ABCDEFGH", 8, "ABCDEFGH"},  // fits exactly
        {"ABCDEFGH", 100, "ABCDEFGH"}, // fits with room
        {"ABCDEFGH", 5, "AB..."},     // first two characters and three points
        {"ABCDEFGH", 7, "ABCD..."},
        {"ABCDEFGH", 0, "A..."},      // never shorter than four characters
        {"ABCD", 3, "A..."},
        {"ABC", 0, "ABC"},            // fewer than four characters: unchanged
        {"", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " in " + std::to_string(c.width));
        EXPECT_EQ(fitText(c.text, c.width, oneUnitEach), c.fitted);
    }
}

TEST_F(Components, TextsWithASizeAreFittedInTheirFont)
{
    // 6 units a character in font 0, 8 in font 1: 30 units hold five and
    // four characters.
    const TextComponent plain(Point{0, 0}, "Abcdefgh", Size{30, 15});
    EXPECT_EQ(drawn(plain).back(), "DrawText 0 0 \"Ab...\"");

    TextComponent title(Point{0, 0}, "Abcdefgh", Size{32, 15});
    title.setFont(fonts::title());
    EXPECT_EQ(drawn(title).back(), "DrawText 0 0 \"A...\"");

    const TextComponent fitting(Point{0, 0}, "Abcde", Size{30, 15});
    EXPECT_EQ(drawn(fitting).back(), "DrawText 0 0 \"Abcde\"");

    const TextComponent unsized(Point{0, 0}, "A text without size is never shortened");
    EXPECT_EQ(drawn(unsized).back(), "DrawText 0 0 \"A text without size is never shortened\"");

    // A new size or text is fitted anew.
    TextComponent changing(Point{0, 0}, "Abcdefgh", Size{30, 15});
    EXPECT_EQ(drawn(changing).back(), "DrawText 0 0 \"Ab...\"");
    changing.setSize(Size{48, 15});
    EXPECT_EQ(drawn(changing).back(), "DrawText 0 0 \"Abcdefgh\"");
    changing.setText("Abcdefghijkl");
    EXPECT_EQ(drawn(changing).back(), "DrawText 0 0 \"Abcde...\"");
}

// Where the host supplies the game's routine, it measures; here it is made
// wider than the estimate, so that only a text measured by it is shortened.
TEST_F(Components, TheGamesOwnMeasureDecidesWhenItHasOne)
{
    const bool supplied = zudo::test::supplyNamedRoutine(
        "textWidth", [](std::uint32_t, std::span<const std::uint64_t> arguments) {
            const float width = 10.0f * static_cast<float>(std::strlen(zudo::test::textArgument(arguments[0])));
            return std::uint64_t{std::bit_cast<std::uint32_t>(width)};
        });
    if (!supplied) {
        GTEST_SKIP() << "inside the game the text-width routine has no known address";
    }
    const TextComponent text(Point{0, 0}, "Abcdefgh", Size{50, 15}); // estimate: 48 units
    EXPECT_EQ(drawn(text).back(), "DrawText 0 0 \"Ab...\"");
    EXPECT_EQ(estimatedTextWidth("Abcdefgh", 0), 48.0f);
}


} // namespace
