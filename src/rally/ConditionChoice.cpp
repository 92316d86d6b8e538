#include "rally/ConditionChoice.hpp"

#include "tracks/ConditionSelection.hpp"
#include "tracks/TrackWeatherParser.hpp"

namespace zudo::rally {

namespace {

ConditionChoice trackKnowledgeChoice()
{
    return ConditionChoice{
        [](const tracks::TrackOverride& spec, int weatherMode) {
            return tracks::selectTrackCondition(spec, weatherMode);
        },
        [](const tracks::TrackOverride& spec, const TrackConditionPtr& wanted) {
            return tracks::closestTrackCondition(spec, wanted);
        },
        [](const tracks::TrackOverride& spec) {
            tracks::TrackConditionList list;
            legacy::support::TrackWeatherParser::instance().trackConditions(spec, list);
            return list;
        },
    };
}

ConditionChoice& currentChoice()
{
    static ConditionChoice choice = trackKnowledgeChoice();
    return choice;
}

} // namespace

const ConditionChoice& conditionChoice()
{
    return currentChoice();
}

void useConditionChoice(ConditionChoice choice)
{
    if (!choice.select || !choice.closest) {
        choice = trackKnowledgeChoice();
    }
    if (!choice.all) {
        choice.all = trackKnowledgeChoice().all;
    }
    currentChoice() = std::move(choice);
}

} // namespace zudo::rally
