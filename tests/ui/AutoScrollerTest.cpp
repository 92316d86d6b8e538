// Paging of long lists: wrap-around at both ends, the keys, and the switch by
// time, with the interval taken from the plug-in's settings.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/Platform.hpp"
#include "support/Installation.hpp"
#include "ui/AutoScroller.hpp"

namespace {

using zudo::ui::AutoScroller;

// The tick count as the test sets it.
class TestClock {
public:
    TestClock() { zudo::platform::setTickSource(&TestClock::tick); }
    ~TestClock() { zudo::platform::setTickSource(nullptr); }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    static void set(std::uint32_t milliseconds) { now_ = milliseconds; }

private:
    static std::uint32_t tick() { return now_; }
    static inline std::uint32_t now_ = 0;
};

class Scrolling : public ::testing::Test {
protected:
    void SetUp() override { TestClock::set(1000); }

    void setInterval(const std::string& value)
    {
        install.write("Plugins/Zuzuzevo/Zuzuzevo.ini", "[Options]\nAutoScrollInterval=" + value + "\n");
    }

    // A scroller over count items of which capacity fit, as a dialog sets it up.
    static AutoScroller& prepared(AutoScroller& scroller, int count, int capacity)
    {
        scroller.setCount(count);
        scroller.setCapacity(capacity);
        scroller.currentIndex();
        return scroller;
    }

    zudo::test::Installation install;
    TestClock clock;
};

TEST_F(Scrolling, ListsThatFitStayAtTheirFirstItemAndNeverTick)
{
    for (const auto& [count, capacity] : {std::pair{0, 0}, {0, 3}, {3, 3}, {2, 18}}) {
        SCOPED_TRACE(std::to_string(count) + " items, room for " + std::to_string(capacity));
        AutoScroller scroller;
        prepared(scroller, count, capacity);
        EXPECT_FALSE(scroller.isScrollable());
        EXPECT_TRUE(scroller.handleKey('n'));
        EXPECT_TRUE(scroller.handleKey('n'));
        EXPECT_EQ(scroller.currentIndex(), 0);
        TestClock::set(1000000);
        EXPECT_FALSE(scroller.tick());
        EXPECT_EQ(scroller.currentIndex(), 0);
        EXPECT_EQ(scroller.hintText(), "");
        TestClock::set(1000);
    }
}

TEST_F(Scrolling, KeysWrapAroundAtBothEnds)
{
    AutoScroller scroller;
    prepared(scroller, 5, 3);
    EXPECT_TRUE(scroller.isScrollable());
    EXPECT_EQ(scroller.hintText(), "'t': Toggle Autoscroll   'n': Next   'p': Previous");

    EXPECT_TRUE(scroller.handleKey('p'));
    EXPECT_EQ(scroller.currentIndex(), 4) << "'p' at the first item";
    EXPECT_TRUE(scroller.handleKey('n'));
    EXPECT_EQ(scroller.currentIndex(), 0) << "'n' at the last item";
    EXPECT_TRUE(scroller.handleKey('n'));
    EXPECT_TRUE(scroller.handleKey('n'));
    EXPECT_EQ(scroller.currentIndex(), 2);
    EXPECT_EQ(scroller.message(), "");

    for (const char other : {'x', 'N', 'T', '\0', 'b'}) {
        SCOPED_TRACE(std::string("key ") + other);
        EXPECT_FALSE(scroller.handleKey(other));
    }
    EXPECT_EQ(scroller.currentIndex(), 2);
}

TEST_F(Scrolling, MovesOnOnceMoreThanTheIntervalHasPassed)
{
    setInterval("2");
    AutoScroller scroller; // clock starts at 1000
    prepared(scroller, 5, 3);

    TestClock::set(3000);
    EXPECT_FALSE(scroller.tick()) << "exactly two seconds is not more than the interval";
    TestClock::set(3001);
    EXPECT_TRUE(scroller.tick());
    EXPECT_EQ(scroller.currentIndex(), 1);
    EXPECT_FALSE(scroller.tick()) << "the interval starts again at the switch";
    TestClock::set(5001);
    EXPECT_FALSE(scroller.tick());
    TestClock::set(5002);
    EXPECT_TRUE(scroller.tick());
    EXPECT_EQ(scroller.currentIndex(), 2);

    // Across the wrap of the tick count (after 49 days).
    TestClock::set(0xFFFFFF00u);
    AutoScroller wrapping;
    prepared(wrapping, 4, 1);
    TestClock::set(0x00000500u); // 1536 ms later
    EXPECT_FALSE(wrapping.tick());
    TestClock::set(0x00000701u); // 2049 ms later
    EXPECT_TRUE(wrapping.tick());
}

TEST_F(Scrolling, IntervalComesFromTheSettingsAndNegativeMeansOff)
{
    struct Case {
        const char* file; // null: no settings file
        int interval;
    };
    for (const Case c : {Case{nullptr, 5}, Case{"7", 7}, Case{"0", 0}, Case{"-3", 0}}) {
        SCOPED_TRACE(c.file != nullptr ? c.file : "no file");
        if (c.file != nullptr) {
            setInterval(c.file);
        }
        const AutoScroller scroller;
        EXPECT_EQ(scroller.interval(), c.interval);
    }
}

TEST_F(Scrolling, ToggleTurnsOffAndOnAgainFromTheSettings)
{
    setInterval("3");
    AutoScroller scroller;
    prepared(scroller, 5, 3);

    EXPECT_TRUE(scroller.handleKey('t'));
    EXPECT_EQ(scroller.interval(), 0);
    EXPECT_EQ(scroller.message(), "Turned off automatic scrolling.");
    TestClock::set(100000);
    EXPECT_FALSE(scroller.tick()) << "switched off";

    setInterval("4"); // the settings are read again when turning on
    EXPECT_TRUE(scroller.handleKey('t'));
    EXPECT_EQ(scroller.interval(), 4);
    EXPECT_EQ(scroller.message(), "Turned on automatic scrolling.");

    EXPECT_TRUE(scroller.handleKey('n'));
    EXPECT_EQ(scroller.message(), "") << "'n' clears the message";

    setInterval("0"); // what the settings switch off cannot be turned on
    EXPECT_TRUE(scroller.handleKey('t'));
    EXPECT_TRUE(scroller.handleKey('t'));
    EXPECT_EQ(scroller.interval(), 0);
    EXPECT_EQ(scroller.message(), "Automatic scrolling is disabled (see configuration).");
}



} // namespace
