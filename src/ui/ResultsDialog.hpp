#pragma once
// The result of a finished stage, drawn over the game's own result page.

#include "rally/Stage.hpp"
#include "ui/Dialog.hpp"
#include "ui/Screen.hpp"

namespace zudo::rally {
class RallyList;
}

namespace zudo::ui {

class ResultsDialog : public Dialog {
public:
    // The part of the game's result page the results are drawn over.
    static constexpr Area resultPageArea{0, 0, 640, 240};

    ResultsDialog(Dialog* parent, rally::StagePtr stage);
    // The best times across rallies come from list instead of the process's
    // list.
    ResultsDialog(Dialog* parent, rally::StagePtr stage, const rally::RallyList& list);
    ~ResultsDialog() override;

    // The game is back in its menu: control returns to the parent at once,
    // without drawing.
    Dialog* draw() override;
    // A frame of the game's result page (drawResultsUI).
    Dialog* drawResultPage() override;
    void createComponents(Page& page) override;

    const rally::StagePtr& stage() const { return stage_; }

private:
    const rally::RallyList& rallies() const;

    rally::StagePtr stage_;
    const rally::RallyList* list_ = nullptr; // null: the process's list
};

} // namespace zudo::ui
