#pragma once
// A host installation of its own for each test (the host directory is a
// temporary directory) and a condition choice whose answers the test can
// predict: for a weather mode m the track's condition is (conditions 10 + m,
// surface m, track 1), valid; the closest condition to a wanted one is the
// wanted one made valid. Tracks listed in withoutConditions have none. All
// valid conditions of a track are those a test puts in trackConditions.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/Platform.hpp"
#include "rally/ConditionChoice.hpp"
#include "rally/Rally.hpp"
#include "support/Installation.hpp"

namespace zudo::test {

inline std::shared_ptr<tracks::TrackCondition> unknownTrackCondition(std::int32_t stage)
{
    return std::make_shared<tracks::TrackCondition>(stage);
}

class RallyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.write("Plugins/Zuzuzevo/.keep", "");
        rally::useConditionChoice(rally::ConditionChoice{
            [this](const tracks::TrackOverride& spec, int mode) {
                ++selections;
                if (withoutConditions.count(spec.map) != 0) {
                    return unknownTrackCondition(spec.map);
                }
                auto chosen = std::make_shared<tracks::TrackCondition>(spec.map);
                chosen->conditions = 10 + mode;
                chosen->surface = mode;
                chosen->track = 1;
                chosen->valid = true;
                return chosen;
            },
            [this](const tracks::TrackOverride& spec, const rally::TrackConditionPtr& wanted) {
                ++closestQueries;
                if (!wanted) {
                    return rally::TrackConditionPtr();
                }
                if (withoutConditions.count(spec.map) != 0) {
                    return unknownTrackCondition(wanted->stage);
                }
                auto closest = std::make_shared<tracks::TrackCondition>(*wanted);
                closest->valid = true;
                return closest;
            },
            [this](const tracks::TrackOverride& spec) {
                const auto found = trackConditions.find(spec.map);
                return found == trackConditions.end() ? tracks::TrackConditionList() : found->second;
            },
        });
    }

    void TearDown() override
    {
        rally::useConditionChoice(rally::ConditionChoice{});
    }

    // A rally read from a definition file of that name in Plugins/Zuzuzevo.
    rally::RallyPtr rallyFrom(const std::string& text, const std::string& fileName = "Test Rally.srp")
    {
        host.write("Plugins/Zuzuzevo/" + fileName, text);
        const std::string name = fileName.substr(0, fileName.rfind('.'));
        return std::make_shared<rally::Rally>(name, "Plugins/Zuzuzevo/" + fileName);
    }

    std::string pluginFile(const std::string& name) const { return host.read("Plugins/Zuzuzevo/" + name); }

    Installation host;
    std::set<std::int32_t> withoutConditions;
    // Every valid condition of a track, by stage (none for a track not here).
    std::map<std::int32_t, tracks::TrackConditionList> trackConditions;
    int selections = 0;
    int closestQueries = 0;
};

// A condition with every code given, valid.
inline rally::TrackConditionPtr condition(std::int32_t stage, int conditions, int surface, int track,
                                          int tintSet = 0, int sky = 0, int timeOfDay = 0)
{
    auto made = std::make_shared<tracks::TrackCondition>(stage);
    made->conditions = conditions;
    made->surface = surface;
    made->track = track;
    made->tintSet = tintSet;
    made->sky = sky;
    made->timeOfDay = timeOfDay;
    made->valid = true;
    return made;
}

} // namespace zudo::test
