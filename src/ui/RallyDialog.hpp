#pragma once
// Drives one rally or hotlap: the seven-row menu of its current stage, the
// details panel, the standings, stage starts, splits and results.

#include "rally/Rally.hpp"
#include "ui/Dialog.hpp"

namespace zudo::ui {

class RallyDialog : public Dialog {
public:
    RallyDialog(Dialog* parent, rally::RallyPtr rally);
    ~RallyDialog() override;
};

} // namespace zudo::ui
