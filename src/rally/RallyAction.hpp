#pragma once
// The operations the rally dialog offers on a rally, each with its label; the
// dialog lists them and reports whether one succeeded.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "rally/Rally.hpp"

namespace zudo::rally {

class RallyAction {
public:
    virtual ~RallyAction();
    virtual std::string label() const = 0;
    // current is the stage the dialog shows (may be null).
    virtual bool run(Rally& rally, const StagePtr& current) = 0;
    // After run(): what the status line tells the player, empty when all went
    // well: why the action failed ("Could not write Forest.prs: the disk is
    // full"), or what part of it did not work (progress saved, but not the
    // damage file).
    const std::string& failureText() const { return failureText_; }

protected:
    void setFailureText(std::string text) { failureText_ = std::move(text); }

private:
    std::string failureText_;
};

using RallyActionPtr = std::unique_ptr<RallyAction>;

// "Load Progress", "Save Progress", "Reset Stage", "Reset All", "Replay",
// "Save Replay", in this order.
std::vector<RallyActionPtr> rallyActions();

// What the replay actions call: saving the last stage's replay and playing it
// back: the replay manager's operations (ReplayManager) unless others are put
// in place (tests); empty operations put the manager's back. An action
// without its operation reports failure.
struct ReplayOperations {
    std::function<bool()> save;
    std::function<bool()> play;
};
void useReplayOperations(ReplayOperations operations);
const ReplayOperations& replayOperations();

} // namespace zudo::rally
