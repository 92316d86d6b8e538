#pragma once
// The page on the game's screen, and the status line shown at its foot.

#include <string>

#include "ui/Components.hpp"

namespace zudo::ui {

// The area handed to the game's BeginPage before a frame is drawn.
struct Area {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

inline constexpr Area menuPageArea{0, 0, 0, 0};

// The one page the game shows. It keeps the components of the last page it
// was given until it is given the next one.
class Screen {
public:
    static Screen& instance();

    // Drops the components held so far and takes those of page, in order.
    void setPage(const Page& page);
    // BeginPage(area), then every component in order at offset (0, 0). Does
    // nothing while there is no game interface. Within a frame (below) the
    // page is begun once: a page drawn after a fault in the middle of the
    // frame goes onto the page already begun.
    void draw(const Area& area);

    const Page& page() const { return page_; }

    // One frame of the game: the game takes one BeginPage a frame.
    class Frame {
    public:
        Frame() { instance().frame_ = {true, false}; }
        ~Frame() { instance().frame_ = {}; }
        Frame(const Frame&) = delete;
        Frame& operator=(const Frame&) = delete;
    };

private:
    Screen() = default;
    struct FrameState {
        bool open = false;
        bool pageBegun = false;
    };
    Page page_;
    FrameState frame_;
};

// The text at the foot of every page. Dialogs read it, replace it, and show
// the text of the moment their page is built.
class StatusLine {
public:
    static inline constexpr const char* readyText = "Ready.";

    static const std::string& text();
    static void setText(std::string text);
    static void setReady() { setText(readyText); }
};

// The status line as every page shows it: a framed text at (0, 465), 640 by
// 15 units, with the status line's text of now.
ComponentRef makeStatusLineComponent();

} // namespace zudo::ui
