#pragma once
// The game and an installation for the pages that show rallies: rallies read
// from definition files of the test's installation, a list of them of the
// test's own, results of the game's own, and a condition choice whose answers
// the test can predict (for weather mode m the condition (conditions m, sky 0,
// time of day 1, surface m, track 1), valid; the closest to a wanted one is
// the wanted one made valid; every track offers the combinations the test
// puts in place). Expected trace lines are made with the trace's
// own number form.

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/GameResultsFile.hpp"
#include "support/ShellHost.hpp"
#include "rally/ConditionChoice.hpp"
#include "rally/HostResults.hpp"
#include "rally/Rally.hpp"
#include "rally/RallyList.hpp"
#include "sim/record/Trace.hpp"
#include "ui/Dialog.hpp"
#include "util/Exception.hpp"

namespace zudo::test {

using Calls = std::vector<std::string>;

class PageTest : public ShellHostTest {
protected:
    void SetUp() override
    {
        ShellHostTest::SetUp();
        install.write("Plugins/Zuzuzevo/.keep", "");
        rally::HostResults::instance().clear();
        rally::useConditionChoice(rally::ConditionChoice{
            [](const tracks::TrackOverride& spec, int mode) {
                return condition(spec.map, mode, mode, 1);
            },
            [](const tracks::TrackOverride&, const rally::TrackConditionPtr& wanted) {
                if (!wanted) {
                    return rally::TrackConditionPtr();
                }
                auto closest = std::make_shared<tracks::TrackCondition>(*wanted);
                closest->valid = true;
                return closest;
            },
            [this](const tracks::TrackOverride& spec) {
                tracksAsked.push_back(spec.map);
                if (combinationsFail) {
                    throw Exception("cannot read Maps/track-20_M.ini", "zudo::test::PageTest");
                }
                return combinations;
            },
        });
    }

    void TearDown() override
    {
        rally::useConditionChoice(rally::ConditionChoice{});
        rally::HostResults::instance().clear();
        ShellHostTest::TearDown();
    }

    tracks::TrackConditionList combinations; // every track's valid conditions
    bool combinationsFail = false;           // asking for them throws
    std::vector<std::int32_t> tracksAsked;

    // A valid condition: conditions, sky 0 (clear), time of day 1 (noon),
    // surface and track wear as given.
    static rally::TrackConditionPtr condition(std::int32_t stage, int conditions, int surface,
                                              int track)
    {
        auto made = std::make_shared<tracks::TrackCondition>(stage);
        made->tintSet = 0;
        made->conditions = conditions;
        made->sky = 0;
        made->timeOfDay = 1;
        made->surface = surface;
        made->track = track;
        made->valid = true;
        return made;
    }

    // A rally or hotlap read from a definition file of the installation.
    rally::RallyPtr rallyFrom(const std::string& name, const std::string& text)
    {
        const std::string path = "Plugins/Zuzuzevo/" + name + ".srp";
        install.write(path, text);
        return std::make_shared<rally::Rally>(name, path);
    }

    // The game's own results file holds exactly these records.
    struct HostRecord {
        std::int32_t stage;
        std::int32_t car;
        float split1;
        float split2;
        float finish;
        std::string driver;
    };
    static void setHostResults(std::initializer_list<HostRecord> records)
    {
        std::string bytes = gameResultsHeader();
        for (const HostRecord& record : records) {
            bytes += gameResultRecord(record.stage, record.car, record.split1, record.split2, record.finish,
                                      record.driver);
        }
        std::istringstream in(bytes);
        rally::HostResults::instance().read(in);
    }

    // A record of a stage: its splits and finish, driven with the stage's
    // condition by driver in car slot 1.
    static rally::StageTimePtr recordOf(const rally::StagePtr& stage, float split1, float split2,
                                        float finish, const std::string& driver)
    {
        auto record = std::make_shared<rally::StageTime>(static_cast<const rally::StageTime&>(*stage));
        record->detachSharedParts();
        record->setSplit(0, split1);
        record->setSplit(1, split2);
        record->setFinishTime(finish);
        record->setDriver(driver);
        record->setCarSlot(1);
        record->setCarName("Car One");
        record->setSetupName("Default");
        record->setDate(platform::CalendarTime{2024, 3, 4, 7, 9, 5, 4, 0});
        return record;
    }

    // --- Expected trace lines ---
    static std::string number(float value)
    {
        std::string text;
        sim::appendFloat(text, value);
        return text;
    }
    static std::string drawText(float x, float y, std::string_view text)
    {
        std::string line = "DrawText " + number(x) + " " + number(y) + " ";
        sim::appendQuoted(line, text);
        return line;
    }
    // A text in the default colour and font.
    static void addText(Calls& calls, float x, float y, std::string_view text)
    {
        calls.insert(calls.end(), {"SelectMenuColor 3", "SelectFont 0", drawText(x, y, text)});
    }
    static void addTitle(Calls& calls, float x, float y, std::string_view text)
    {
        calls.insert(calls.end(), {"SelectMenuColor 4", "SelectFont 1", drawText(x, y, text)});
    }
    static void addColoured(Calls& calls, const char* setColor, float x, float y,
                            std::string_view text)
    {
        calls.insert(calls.end(), {setColor, "SelectFont 0", drawText(x, y, text)});
    }
    static constexpr const char* green = "SetColor 0 1 0 1";
    static constexpr const char* red = "SetColor 1 0 0 1";

    // The calls of the last frame from the first one that is line on.
    Calls frameFrom(const std::string& line) const
    {
        const Calls frame = game.lastFrame();
        for (std::size_t i = 0; i < frame.size(); ++i) {
            if (frame[i] == line) {
                return {frame.begin() + static_cast<std::ptrdiff_t>(i), frame.end()};
            }
        }
        return {};
    }

    // The first count calls of the last frame (fewer when it has fewer).
    Calls frameStart(std::size_t count) const
    {
        Calls frame = game.lastFrame();
        frame.resize(std::min(count, frame.size()));
        return frame;
    }

    // The selection bar of the last frame.
    std::string highlight() const
    {
        for (const std::string& call : game.lastFrame()) {
            if (call.rfind("DrawHighlight", 0) == 0) {
                return call;
            }
        }
        return "no highlight";
    }

    // Keys.
    static ui::Dialog* up(ui::Dialog& d) { return d.HandleFrontEndEvents('\0', true, false, false, false, false); }
    static ui::Dialog* down(ui::Dialog& d) { return d.HandleFrontEndEvents('\0', false, true, false, false, false); }
    static ui::Dialog* left(ui::Dialog& d) { return d.HandleFrontEndEvents('\0', false, false, true, false, false); }
    static ui::Dialog* right(ui::Dialog& d) { return d.HandleFrontEndEvents('\0', false, false, false, true, false); }
    static ui::Dialog* select(ui::Dialog& d) { return d.HandleFrontEndEvents('\0', false, false, false, false, true); }
    static ui::Dialog* key(ui::Dialog& d, char c) { return d.HandleFrontEndEvents(c, false, false, false, false, false); }
};

} // namespace zudo::test
