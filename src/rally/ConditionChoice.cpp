#include "rally/ConditionChoice.hpp"

#include "tracks/ConditionSelection.hpp"

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
    currentChoice() = std::move(choice);
}

} // namespace zudo::rally
