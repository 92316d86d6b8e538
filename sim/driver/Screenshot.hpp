#pragma once
// Pictures of simulated frames: the calls of one frame drawn into the game's
// 640 by 480 front-end space (one pixel per unit) with cairo, and written as
// PNG. What the game draws is its own; the simulator draws:
//
//   background        dark blue-grey; a BeginPage area of non-zero size (the
//                     game's result page) as a lighter box
//   DrawPanel         the colour at 35% over the background, 1-unit outline
//   DrawHighlight     the colour at 55%
//   DrawText          "DejaVu Sans Mono", one glyph per byte (Latin-1), the
//                     top of the text at y, each glyph advanced by the text
//                     width of the font (6 units, 8 in font 1), so a text
//                     covers exactly the width the plug-in measured
//   DrawMark          a 12-unit square outline with the graphic's number
//   SelectMenuColor   the palette below; SetColor the colour as given
//
// Menu colour palette: 0 white, 1 light grey (0.7), 2 yellow (1, 0.85, 0.25),
// 3 light blue (0.55, 0.75, 1), 4 orange (1, 0.6, 0.15), 5 green
// (0.4, 0.9, 0.4), 6 red (1, 0.35, 0.35), 7 dark grey (0.35); any other number
// magenta, so that a stray colour shows.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "sim/record/GameRecorder.hpp"

struct _cairo_surface;

namespace zudo::sim {

// The red, green and blue parts (0 to 1) of a menu colour.
std::array<float, 3> menuColourRgb(std::int32_t colour);

class FrameImage {
public:
    static constexpr int width = 640;
    static constexpr int height = 480;

    // Draws the calls of a frame, starting from the drawing state the game
    // had when the frame began.
    FrameImage(const CallLog& frame, const DrawingState& start);
    ~FrameImage();
    FrameImage(const FrameImage&) = delete;
    FrameImage& operator=(const FrameImage&) = delete;

    // The colour at a pixel as 0xRRGGBB.
    std::uint32_t pixel(int x, int y) const;
    // Writes the PNG; false with the reason in error when it cannot.
    bool writePng(const std::string& path, std::string& error) const;

private:
    _cairo_surface* surface_ = nullptr;
};

} // namespace zudo::sim
