#include "rally/RallyAction.hpp"

#include "rally/HostResults.hpp"
#include "rally/ReplayManager.hpp"

namespace zudo::rally {

namespace {

ReplayOperations managerOperations()
{
    return ReplayOperations{
        [] { return ReplayManager::instance().saveReplay(); },
        [] {
            ReplayManager::instance().playReplay();
            return true;
        },
    };
}

// The replay manager's operations unless a test put others in place.
ReplayOperations& currentReplayOperations()
{
    static ReplayOperations operations = managerOperations();
    return operations;
}

// An action made of its label and a function.
class SimpleAction : public RallyAction {
public:
    using Operation = std::function<bool(Rally&, const StagePtr&)>;
    SimpleAction(std::string label, Operation operation)
        : label_(std::move(label)), operation_(std::move(operation))
    {
    }
    std::string label() const override { return label_; }
    bool run(Rally& rally, const StagePtr& current) override { return operation_(rally, current); }

private:
    std::string label_;
    Operation operation_;
};

bool resetStage(Rally& rally, const StagePtr& current)
{
    if (current) {
        rally.resetStage(*current);
    }
    return true;
}

bool resetAll(Rally& rally)
{
    rally.resetAll();
    HostResults::instance().reload();
    return true;
}

bool playReplay()
{
    const ReplayOperations& replay = replayOperations();
    if (!replay.play) {
        return false; // no replay manager: nothing can be played
    }
    replay.play();
    return true;
}

bool saveReplay()
{
    const ReplayOperations& replay = replayOperations();
    return replay.save ? replay.save() : false;
}

} // namespace

RallyAction::~RallyAction() = default;

void useReplayOperations(ReplayOperations operations)
{
    if (!operations.save && !operations.play) {
        operations = managerOperations();
    }
    currentReplayOperations() = std::move(operations);
}

const ReplayOperations& replayOperations()
{
    return currentReplayOperations();
}

std::vector<RallyActionPtr> rallyActions()
{
    std::vector<RallyActionPtr> actions;
    auto add = [&](const char* label, SimpleAction::Operation operation) {
        actions.push_back(std::make_unique<SimpleAction>(label, std::move(operation)));
    };
    add("Load Progress", [](Rally& rally, const StagePtr&) { return rally.loadProgress(); });
    add("Save Progress", [](Rally& rally, const StagePtr&) { return rally.saveProgress(); });
    add("Reset Stage", resetStage);
    add("Reset All", [](Rally& rally, const StagePtr&) { return resetAll(rally); });
    add("Replay", [](Rally&, const StagePtr&) { return playReplay(); });
    add("Save Replay", [](Rally&, const StagePtr&) { return saveReplay(); });
    return actions;
}

} // namespace zudo::rally
