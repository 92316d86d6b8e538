#pragma once
// Service before a stage: the game's service park, a reset of the car
// damage and, for hotlaps, the settings' service allowance.
//
// Rows: "Service Park...", "Reset Car Damage", "Allowed Repair Time: ",
// "Mechanics: ", "Skill: ", "Back". In a rally up and down only move between
// the first and the last row (the allowance is the stage's); in a hotlap every
// row is reached and left/right change the allowance. Both actions return to
// the parent one frame after they were chosen; a service park the game cannot
// offer is refused with the reason in the status line.

#include <string>

#include "rally/Rally.hpp"
#include "ui/Dialog.hpp"

namespace zudo::ui {

class ServiceParkDialog : public Dialog {
public:
    enum Row { ServiceParkRow, ResetDamageRow, RepairTimeRow, MechanicsRow, SkillRow, BackRow };
    static constexpr int rowCount = 6;

    ServiceParkDialog(Dialog* parent, rally::RallyPtr rally);
    ~ServiceParkDialog() override;

    Dialog* draw() override;
    Dialog* HandleFrontEndEvents(char key, bool up, bool down, bool left, bool right,
                                 bool select) override;
    void createComponents(Page& page) override;

    int row() const { return row_; }

private:
    enum class Pending { None, ServicePark, DamageReset };

    bool isHotlap() const;
    void moveRow(bool up);
    Dialog* select();
    void stepAllowance(bool forward);

    rally::RallyPtr rally_;
    int row_ = ServiceParkRow;
    Pending pending_ = Pending::None;
    // A failure shown in the status line instead of the row's help, until
    // the next key.
    std::string failure_;
};

} // namespace zudo::ui
