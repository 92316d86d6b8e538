#pragma once
// The rally page's tests: rallies of the test's own installation (the list of
// all rallies, built once in a process, holds none of them, so their records
// are no overall best), one condition per track, no replay kept, and the
// frames and keys of the page. The fixture chooses the game behind the page:
// none, or the simulator's model of it.

#include <algorithm>
#include <string>

#include "OneConditionPerTrack.hpp"
#include "PageFixture.hpp"
#include "rally/RallyList.hpp"
#include "rally/ReplayManager.hpp"

namespace zudo::test {

class RallyPageTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        rally::ReplayManager::instance().setLastResult(nullptr);
        setUpGame();
        rally::RallyList::instance();
        useOneConditionPerTrack();
    }

    // The game behind the page.
    virtual void setUpGame() = 0;

    // The calls of a frame drawn now.
    Calls frame(ui::Dialog& dialog)
    {
        game.clear();
        dialog.draw();
        return game.lastFrame();
    }
    static bool has(const Calls& calls, const std::string& line)
    {
        return std::find(calls.begin(), calls.end(), line) != calls.end();
    }
    // The text drawn at (x, y) in the frame, or "(none)".
    static std::string textAt(const Calls& calls, int x, int y)
    {
        const std::string prefix = "DrawText " + std::to_string(x) + " " + std::to_string(y) + " \"";
        for (const std::string& call : calls) {
            if (call.rfind(prefix, 0) == 0) {
                return call.substr(prefix.size(), call.size() - prefix.size() - 1);
            }
        }
        return "(none)";
    }
    // The menu row's text (rows at y 25, 40, ...) in a frame drawn now.
    std::string rowText(ui::Dialog& dialog, int row) { return textAt(frame(dialog), 5, 25 + 15 * row); }

    using PageTest::down;
    static ui::Dialog* down(ui::Dialog& d, int times)
    {
        ui::Dialog* result = &d;
        for (int i = 0; i < times; ++i) {
            result = down(d);
        }
        return result;
    }
};

} // namespace zudo::test
