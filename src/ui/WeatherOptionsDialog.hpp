#pragma once
// Every valid weather and track combination of a hotlap stage's track; the
// one under the cursor is applied to the stage at once.

#include "rally/Stage.hpp"
#include "ui/Dialog.hpp"

namespace zudo::ui {

class WeatherOptionsDialog : public Dialog {
public:
    WeatherOptionsDialog(Dialog* parent, rally::StagePtr stage);
    ~WeatherOptionsDialog() override;
};

} // namespace zudo::ui
