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
            tracks::TrackConditionList conditions;
            legacy::support::TrackWeatherParser::instance().trackConditions(spec, conditions);
            return conditions;
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
    ConditionChoice knowledge = trackKnowledgeChoice();
    if (!choice.select) {
        choice.select = std::move(knowledge.select);
    }
    if (!choice.closest) {
        choice.closest = std::move(knowledge.closest);
    }
    if (!choice.all) {
        choice.all = std::move(knowledge.all);
    }
    currentChoice() = std::move(choice);
}

} // namespace zudo::rally
