#include "sim/driver/Screenshot.hpp"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/Compiler.hpp"
#include "platform/Platform.hpp"

namespace zudo::sim {

namespace {

constexpr std::array<float, 3> background{0.07F, 0.09F, 0.14F};
constexpr std::array<float, 3> hostPage{0.16F, 0.19F, 0.27F};
constexpr float panelAlpha = 0.35F;
constexpr float highlightAlpha = 0.55F;
constexpr double markSize = 12;
constexpr const char* fontFace = "DejaVu Sans Mono";

// Font size at which the font's advance is the simulated text width.
double fontSizeFor(cairo_t* cairo, float advance)
{
    constexpr double probeSize = 10;
    cairo_set_font_size(cairo, probeSize);
    cairo_text_extents_t extents{};
    cairo_text_extents(cairo, "0", &extents);
    return extents.x_advance > 0 ? probeSize * advance / extents.x_advance : probeSize;
}

// One byte of the game's text as UTF-8 (Latin-1); empty for control bytes.
std::string_view glyphText(unsigned char byte, std::array<char, 3>& buffer)
{
    if (byte < 32 || (byte >= 0x7F && byte < 0xA0)) {
        return {};
    }
    if (byte < 0x80) {
        buffer[0] = static_cast<char>(byte);
        return {buffer.data(), 1};
    }
    buffer[0] = static_cast<char>(0xC0 | (byte >> 6));
    buffer[1] = static_cast<char>(0x80 | (byte & 0x3F));
    return {buffer.data(), 2};
}

class FramePainter {
public:
    FramePainter(cairo_t* cairo, const CallLog& frame, const DrawingState& start)
        : cairo_(cairo), frame_(frame), state_(start)
    {
        cairo_select_font_face(cairo_, fontFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    }

    void paint()
    {
        fillBackground();
        for (const RecordedCall& call : frame_.calls()) {
            paint(call);
        }
    }

private:
    void paint(const RecordedCall& call)
    {
        const auto& n = call.numbers;
        switch (call.kind) {
        case CallKind::BeginPage:
            fillBackground();
            if (n[2] > 0 && n[3] > 0) {
                cairo_set_source_rgb(cairo_, hostPage[0], hostPage[1], hostPage[2]);
                cairo_rectangle(cairo_, n[0], n[1], n[2], n[3]);
                cairo_fill(cairo_);
            }
            break;
        case CallKind::DrawPanel:
            setColour(panelAlpha);
            cairo_rectangle(cairo_, n[0], n[1], n[2], n[3]);
            cairo_fill(cairo_);
            setColour(1);
            cairo_set_line_width(cairo_, 1);
            cairo_rectangle(cairo_, n[0] + 0.5, n[1] + 0.5, std::max(0.0F, n[2] - 1), std::max(0.0F, n[3] - 1));
            cairo_stroke(cairo_);
            break;
        case CallKind::DrawHighlight:
            setColour(highlightAlpha);
            cairo_rectangle(cairo_, n[0], n[1], n[2], n[3]);
            cairo_fill(cairo_);
            break;
        case CallKind::DrawText:
            drawText(n[0], n[1], frame_.text(call));
            break;
        case CallKind::DrawMark:
            drawMark(n[0], n[1], call.value);
            break;
        case CallKind::SelectFont:
            state_.font = call.value;
            break;
        case CallKind::SelectMenuColor:
            state_.menuColourSelected = true;
            state_.menuColour = call.value;
            break;
        case CallKind::SetColor:
            state_.menuColourSelected = false;
            state_.rgba = call.numbers;
            break;
        case CallKind::ShowMessage:
        case CallKind::UnusedSlot:
        case CallKind::HostRoutine:
            break;
        }
    }

    void fillBackground()
    {
        cairo_set_source_rgb(cairo_, background[0], background[1], background[2]);
        cairo_paint(cairo_);
    }

    void setColour(float alphaFactor)
    {
        if (state_.menuColourSelected) {
            const auto rgb = menuColourRgb(state_.menuColour);
            cairo_set_source_rgba(cairo_, rgb[0], rgb[1], rgb[2], alphaFactor);
        } else {
            const auto& c = state_.rgba;
            cairo_set_source_rgba(cairo_, c[0], c[1], c[2], c[3] * alphaFactor);
        }
    }

    void drawText(float x, float y, std::string_view text)
    {
        const float advance = characterWidth(state_.font);
        cairo_set_font_size(cairo_, fontSizeFor(cairo_, advance));
        cairo_font_extents_t font{};
        cairo_font_extents(cairo_, &font);
        setColour(1);
        std::array<char, 3> buffer{};
        for (std::size_t i = 0; i < text.size(); ++i) {
            const std::string_view glyph = glyphText(static_cast<unsigned char>(text[i]), buffer);
            if (glyph.empty()) {
                continue;
            }
            const std::string utf8(glyph);
            cairo_move_to(cairo_, x + advance * static_cast<double>(i), y + font.ascent);
            cairo_show_text(cairo_, utf8.c_str());
        }
    }

    void drawMark(float x, float y, std::int32_t id)
    {
        setColour(1);
        cairo_set_line_width(cairo_, 1);
        cairo_rectangle(cairo_, x + 0.5, y + 1.5, markSize - 1, markSize - 1);
        cairo_stroke(cairo_);
        const std::string number = std::to_string(id);
        cairo_set_font_size(cairo_, 7);
        cairo_text_extents_t extents{};
        cairo_text_extents(cairo_, number.c_str(), &extents);
        cairo_move_to(cairo_, x + (markSize - extents.x_advance) / 2, y + 1 + markSize / 2 + extents.height / 2);
        cairo_show_text(cairo_, number.c_str());
    }

    cairo_t* cairo_;
    const CallLog& frame_;
    DrawingState state_;
};

} // namespace

std::array<float, 3> menuColourRgb(std::int32_t colour)
{
    switch (colour) {
    case 0: return {1, 1, 1};
    case 1: return {0.7F, 0.7F, 0.7F};
    case 2: return {1, 0.85F, 0.25F};
    case 3: return {0.55F, 0.75F, 1};
    case 4: return {1, 0.6F, 0.15F};
    case 5: return {0.4F, 0.9F, 0.4F};
    case 6: return {1, 0.35F, 0.35F};
    case 7: return {0.35F, 0.35F, 0.35F};
    default: return {1, 0, 1};
    }
}

FrameImage::FrameImage(const CallLog& frame, const DrawingState& start)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height))
{
    cairo_t* cairo = cairo_create(surface_);
    FramePainter(cairo, frame, start).paint();
    cairo_destroy(cairo);
    cairo_surface_flush(surface_);
}

FrameImage::~FrameImage() { cairo_surface_destroy(surface_); }

std::uint32_t FrameImage::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height ||
        cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        return 0;
    }
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    std::uint32_t value = 0;
    std::memcpy(&value, data + static_cast<std::ptrdiff_t>(y) * stride + x * 4, sizeof value);
    return value & 0xFFFFFFu;
}

bool FrameImage::writePng(const std::string& path, std::string& error) const
{
    const cairo_status_t status =
        cairo_surface_write_to_png(surface_, platform::nativePath(path).c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        error = cairo_status_to_string(status);
        return false;
    }
    return true;
}

} // namespace zudo::sim

// Fontconfig, which cairo uses to find the font, keeps its caches until the
// process ends; the leak checker of the sanitizer build would report them at
// every exit of a program that drew text (and list the suppression used).
extern "C" ZUDO_EXPORT const char* __lsan_default_suppressions();
extern "C" ZUDO_EXPORT const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
extern "C" ZUDO_EXPORT const char* __lsan_default_options();
extern "C" ZUDO_EXPORT const char* __lsan_default_options() { return "print_suppressions=0"; }
