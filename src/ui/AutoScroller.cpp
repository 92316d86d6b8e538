#include "ui/AutoScroller.hpp"

#include <algorithm>

#include "config/Settings.hpp"
#include "platform/Platform.hpp"

namespace zudo::ui {

AutoScroller::AutoScroller()
    : interval_(configuredInterval()), lastSwitch_(platform::tickCount())
{
}

int AutoScroller::configuredInterval()
{
    return std::max(0, config::zuzuzevo::AutoScrollInterval().get());
}

int AutoScroller::currentIndex()
{
    if (capacity_ >= count_) {
        scrollable_ = false;
        index_ = 0;
        return 0;
    }
    scrollable_ = true;
    if (index_ >= count_) {
        index_ = 0;
    }
    if (index_ < 0) {
        index_ = count_ - 1;
    }
    return index_;
}

bool AutoScroller::tick()
{
    if (interval_ == 0 || !scrollable_) {
        return false;
    }
    const std::uint32_t now = platform::tickCount();
    // Unsigned difference: right across the tick count's wrap after 49 days.
    const std::uint32_t elapsed = now - lastSwitch_;
    if (static_cast<std::int64_t>(elapsed) <= static_cast<std::int64_t>(interval_) * 1000) {
        return false;
    }
    lastSwitch_ = now;
    ++index_;
    return true;
}

bool AutoScroller::handleKey(char key)
{
    switch (key) {
    case 'n':
        message_.clear();
        ++index_;
        return true;
    case 'p':
        message_.clear();
        --index_;
        return true;
    case 't':
        if (interval_ > 0) {
            interval_ = 0;
            message_ = turnedOffMessage;
        } else if (const int configured = configuredInterval(); configured > 0) {
            interval_ = configured;
            message_ = turnedOnMessage;
        } else {
            interval_ = 0;
            message_ = disabledMessage;
        }
        return true;
    default:
        return false;
    }
}

std::string AutoScroller::hintText() const { return scrollable_ ? hint : std::string(); }

} // namespace zudo::ui
