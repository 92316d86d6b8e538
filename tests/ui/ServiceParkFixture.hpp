#pragma once
// The service park page's tests: the service manager started afresh for each
// test (the settings' allowance for hotlaps: 40 min, 4 mechanics, Competent),
// a rally with a serviced stage or a hotlap as its current stage, and the
// page's frames and keys. The fixture chooses the game behind the page:
// none that offers the game's service park, or the simulator's.

#include <memory>
#include <string>
#include <vector>

#include "rally/Rally.hpp"
#include "rally/ServiceManager.hpp"
#include "support/ShellHost.hpp"
#include "ui/Dialog.hpp"

namespace zudo::test {

class ServiceParkTest : public ShellHostTest {
protected:
    using Lines = std::vector<std::string>;

    void SetUp() override
    {
        ShellHostTest::SetUp();
        setUpGame();
        rally::ServiceManager::instance().restart();
    }
    void TearDown() override
    {
        rally::ServiceManager::instance().restart(); // gives back what it held in this host
        ShellHostTest::TearDown();
    }

    // The game behind the page; by default the test host's, without the
    // game's service park.
    virtual void setUpGame() {}

    // "Trip": one stage with 30 minutes of service by 2 Expert mechanics.
    rally::RallyPtr rally()
    {
        install.write("Plugins/Zuzuzevo/Trip.srp", "mechanics 2\nskill 5\nservice 30\nstage 20 A\n");
        auto made = std::make_shared<rally::Rally>("Trip", "Plugins/Zuzuzevo/Trip.srp");
        rally::ServiceManager::instance().setCurrentStage(made->stage(0));
        return made;
    }
    rally::RallyPtr hotlap()
    {
        auto made = std::make_shared<rally::Rally>(20, 0, 0);
        rally::ServiceManager::instance().setCurrentStage(made->stage(0));
        return made;
    }

    static ui::Dialog* press(ui::Dialog& d, bool up, bool down, bool left, bool right, bool select = false)
    {
        return d.HandleFrontEndEvents('\0', up, down, left, right, select);
    }
    static ui::Dialog* up(ui::Dialog& d) { return press(d, true, false, false, false); }
    static ui::Dialog* down(ui::Dialog& d) { return press(d, false, true, false, false); }
    static ui::Dialog* left(ui::Dialog& d) { return press(d, false, false, true, false); }
    static ui::Dialog* right(ui::Dialog& d) { return press(d, false, false, false, true); }
    static ui::Dialog* select(ui::Dialog& d) { return press(d, false, false, false, false, true); }

    // The texts of a frame drawn now, and its highlight.
    Lines texts(ui::Dialog& d)
    {
        game.clear();
        EXPECT_EQ(d.draw(), &d);
        return game.lastFrameTexts();
    }
    std::string highlight() const
    {
        for (const std::string& call : game.lastFrame()) {
            if (call.rfind("DrawHighlight", 0) == 0) {
                return call;
            }
        }
        return "no highlight";
    }
    // The highlight's line for a row: the group at (50, 49), rows from 25.
    static std::string highlightAt(int row)
    {
        return "DrawHighlight 50 " + std::to_string(49 + 25 + 15 * row) + " 210 15";
    }

    ui::Dialog parent;
};

} // namespace zudo::test
