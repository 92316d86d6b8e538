#pragma once
// Service before a stage: the game's service park, a reset of the car
// damage and, for hotlaps, the settings' service allowance.

#include "rally/Rally.hpp"
#include "ui/Dialog.hpp"

namespace zudo::ui {

class ServiceParkDialog : public Dialog {
public:
    ServiceParkDialog(Dialog* parent, rally::RallyPtr rally);
    ~ServiceParkDialog() override;
};

} // namespace zudo::ui
