#pragma once
// Pages through a list that is longer than the room a dialog has for it:
// by itself every few seconds, or by the keys 'n', 'p' and 't'.

#include <cstdint>
#include <string>

namespace zudo::ui {

class AutoScroller {
public:
    static inline constexpr const char* hint =
        "'t': Toggle Autoscroll   'n': Next   'p': Previous";
    static inline constexpr const char* turnedOffMessage = "Turned off automatic scrolling.";
    static inline constexpr const char* turnedOnMessage = "Turned on automatic scrolling.";
    static inline constexpr const char* disabledMessage =
        "Automatic scrolling is disabled (see configuration).";

    // The interval comes from the plug-in's settings ([Options]
    // AutoScrollInterval, seconds; negative counts as 0); the clock starts now.
    AutoScroller();

    // Set by the dialog at each build: how many items there are and how many
    // fit.
    void setCount(int count) { count_ = count; }
    void setCapacity(int capacity) { capacity_ = capacity; }

    // The first item to show. When everything fits this is always 0;
    // otherwise stepping past either end wraps around.
    int currentIndex();
    // Called before every frame: true when the interval has passed and the
    // list moved on by one (the dialog then builds its page again).
    bool tick();
    // 'n' next, 'p' previous, 't' switches automatic scrolling; true for these
    // keys. message() then tells what 't' did.
    bool handleKey(char key);
    // The hint for the keys, while the list does not fit; else empty.
    std::string hintText() const;

    int index() const { return index_; }
    int interval() const { return interval_; }
    bool isScrollable() const { return scrollable_; }
    const std::string& message() const { return message_; }

private:
    static int configuredInterval();

    int index_ = 0;
    int interval_;
    bool scrollable_ = false;
    int count_ = 0;
    int capacity_ = 0;
    std::uint32_t lastSwitch_;
    std::string message_;
};

} // namespace zudo::ui
