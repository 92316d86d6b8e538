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

// An action made of its label, a function and what to tell the player when
// the function fails without saying why.
class SimpleAction : public RallyAction {
public:
    using Operation = std::function<bool(Rally&, const StagePtr&)>;
    SimpleAction(std::string label, Operation operation, std::string failure)
        : label_(std::move(label)), operation_(std::move(operation)), failure_(std::move(failure))
    {
    }
    std::string label() const override { return label_; }
    bool run(Rally& rally, const StagePtr& current) override
    {
        const bool done = operation_(rally, current);
        setFailureText(done ? std::string() : failure_);
        return done;
    }

private:
    std::string label_;
    Operation operation_;
    std::string failure_;
};

// An action on the rally's files, which tell what went wrong with them.
class FileAction : public RallyAction {
public:
    using Operation = std::function<bool(Rally&)>;
    FileAction(std::string label, Operation operation)
        : label_(std::move(label)), operation_(std::move(operation))
    {
    }
    std::string label() const override { return label_; }
    bool run(Rally& rally, const StagePtr&) override
    {
        const bool done = operation_(rally);
        setFailureText(rally.lastFileFailure());
        return done;
    }

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
    auto add = [&](const char* label, SimpleAction::Operation operation, const char* failure) {
        actions.push_back(std::make_unique<SimpleAction>(label, std::move(operation), failure));
    };
    auto addFileAction = [&](const char* label, FileAction::Operation operation) {
        actions.push_back(std::make_unique<FileAction>(label, std::move(operation)));
    };
    addFileAction("Load Progress", [](Rally& rally) { return rally.loadProgress(); });
    addFileAction("Save Progress", [](Rally& rally) { return rally.saveProgress(); });
    add("Reset Stage", resetStage, "");
    add("Reset All", [](Rally& rally, const StagePtr&) { return resetAll(rally); }, "");
    add("Replay", [](Rally&, const StagePtr&) { return playReplay(); }, "There is no replay to play");
    add("Save Replay", [](Rally&, const StagePtr&) { return saveReplay(); }, "The replay could not be saved");
    return actions;
}

} // namespace zudo::rally
