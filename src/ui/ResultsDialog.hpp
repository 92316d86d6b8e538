#pragma once
// The result of a finished stage, drawn over the game's own result page.

#include "rally/Stage.hpp"
#include "ui/Dialog.hpp"

namespace zudo::ui {

class ResultsDialog : public Dialog {
public:
    ResultsDialog(Dialog* parent, rally::StagePtr stage);
    ~ResultsDialog() override;
};

} // namespace zudo::ui
