// Pictures of frames: boxes where the calls put them in the documented
// colours, texts exactly as wide as the simulated text width, and PNG files.

#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>

#include "support/TempDir.hpp"
#include "sim/driver/Screenshot.hpp"
#include "sim/record/GameRecorder.hpp"

namespace {

using namespace zudo::sim;

struct Rgb {
    double r, g, b;
};

Rgb rgbOf(std::uint32_t pixel)
{
    return {((pixel >> 16) & 0xFF) / 255.0, ((pixel >> 8) & 0xFF) / 255.0, (pixel & 0xFF) / 255.0};
}

// The documented background and the colour of a box drawn at alpha over it.
const Rgb background{0.07, 0.09, 0.14};

Rgb over(Rgb colour, double alpha, Rgb under = background)
{
    return {under.r + alpha * (colour.r - under.r), under.g + alpha * (colour.g - under.g),
            under.b + alpha * (colour.b - under.b)};
}

Rgb menu(std::int32_t colour)
{
    const auto rgb = menuColourRgb(colour);
    return {rgb[0], rgb[1], rgb[2]};
}

::testing::AssertionResult near(std::uint32_t pixel, Rgb expected)
{
    const Rgb actual = rgbOf(pixel);
    const double tolerance = 2.5 / 255;
    if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "pixel (" << actual.r << ", " << actual.g << ", " << actual.b
                                         << ") instead of (" << expected.r << ", " << expected.g << ", "
                                         << expected.b << ")";
}

bool isBackground(std::uint32_t pixel) { return near(pixel, background); }

TEST(Screenshot, BoxesLieWhereTheCallsPutThem)
{
    GameRecorder game;
    game.BeginPage(0, 0, 0, 0);
    game.SelectMenuColor(3);
    game.DrawPanel(0, 465, 640, 15);
    game.SelectMenuColor(4);
    game.DrawHighlight(0, 100, 200, 15);
    game.SetColor(0, 1, 0, 1);
    game.DrawHighlight(300, 300, 20, 10);
    const FrameImage image(game.log(), DrawingState{});

    EXPECT_TRUE(near(image.pixel(320, 50), background));
    EXPECT_TRUE(near(image.pixel(320, 472), over(menu(3), 0.35))) << "panel inside";
    EXPECT_TRUE(near(image.pixel(320, 465), menu(3))) << "panel outline";
    EXPECT_TRUE(near(image.pixel(100, 107), over(menu(4), 0.55))) << "highlight";
    EXPECT_TRUE(near(image.pixel(199, 114), over(menu(4), 0.55))) << "last pixel of the highlight";
    EXPECT_TRUE(near(image.pixel(200, 107), background)) << "right of it";
    EXPECT_TRUE(near(image.pixel(100, 115), background)) << "below it";
    EXPECT_TRUE(near(image.pixel(310, 305), over({0, 1, 0}, 0.55))) << "SetColor as given";
}

TEST(Screenshot, ResultPageAreaAndStartingState)
{
    GameRecorder game;
    game.BeginPage(0, 0, 640, 240);
    game.DrawHighlight(10, 300, 10, 10); // in the colour the frame began with
    DrawingState start;
    start.menuColourSelected = false;
    start.rgba = {1, 0, 0, 0.5F};
    const FrameImage image(game.log(), start);
    EXPECT_TRUE(near(image.pixel(320, 100), {0.16, 0.19, 0.27})) << "the game's result page area";
    EXPECT_TRUE(near(image.pixel(320, 300), background));
    EXPECT_TRUE(near(image.pixel(15, 305), over({1, 0, 0}, 0.5 * 0.55))) << "alpha times the highlight's";
}

// Columns that hold ink of a text drawn at x in the rows y..y+14.
std::pair<int, int> inkColumns(const FrameImage& image, int y)
{
    int first = FrameImage::width;
    int last = -1;
    for (int x = 0; x < FrameImage::width; ++x) {
        for (int row = y; row < y + 15; ++row) {
            if (!isBackground(image.pixel(x, row))) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

TEST(Screenshot, TextCoversTheWidthThePluginMeasured)
{
    for (const std::int32_t font : {0, 1, 5}) {
        SCOPED_TRACE(font);
        GameRecorder game;
        game.BeginPage(0, 0, 0, 0);
        game.SelectFont(font);
        game.DrawText(100, 200, "MMMMMMMMMM");
        const FrameImage image(game.log(), DrawingState{});
        const int advance = static_cast<int>(characterWidth(font));
        const auto [first, last] = inkColumns(image, 200);
        EXPECT_GE(first, 100 - 1);
        EXPECT_LE(first, 100 + 1);
        EXPECT_LE(last, 100 + 10 * advance) << "ink ends with the measured width";
        EXPECT_GE(last, 100 + 9 * advance + advance / 2) << "the last character lies in its own cell";
        EXPECT_EQ(inkColumns(image, 180).second, -1) << "nothing above the text's top";
    }
}

TEST(Screenshot, ControlBytesKeepTheirCellEmpty)
{
    GameRecorder game;
    game.BeginPage(0, 0, 0, 0);
    game.DrawText(100, 200, "\x01" "M");
    const FrameImage image(game.log(), DrawingState{});
    const auto [first, last] = inkColumns(image, 200);
    EXPECT_GE(first, 105) << "the first cell (100..105) stays empty";
    EXPECT_LE(last, 112);
}

TEST(Screenshot, WrittenAsPngOf640By480)
{
    zudo::test::TempDir dir;
    GameRecorder game;
    game.BeginPage(0, 0, 0, 0);
    game.DrawMark(300, 200, 7);
    const FrameImage image(game.log(), DrawingState{});
    std::string error;
    ASSERT_TRUE(image.writePng(dir.file("frame.png"), error)) << error;
    cairo_surface_t* png = cairo_image_surface_create_from_png(dir.file("frame.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 640);
    EXPECT_EQ(cairo_image_surface_get_height(png), 480);
    cairo_surface_destroy(png);
    EXPECT_FALSE(isBackground(image.pixel(300, 201))) << "the mark's outline";

    EXPECT_FALSE(image.writePng(dir.file("missing/frame.png"), error));
    EXPECT_FALSE(error.empty());
}

} // namespace
