#pragma once
// The plug-in's first page: "Hotlaps" and "Rallies" lead on; the two rows
// below set the game's car damage level and the player's transmission,
// which live in the game's stage-start record.

#include "ui/Dialog.hpp"

namespace zudo::ui {

class StartDialog : public Dialog {
public:
    enum Row { HotlapsRow = 0, RalliesRow = 1, DamageRow = 2, TransmissionRow = 3 };
    static constexpr int rowCount = 4;

    // Sets the player's transmission from the game's stored gearbox
    // preference: automatic (1) when the preference is 0, else manual (0).
    StartDialog();

    Dialog* HandleFrontEndEvents(char key, bool up, bool down, bool left, bool right,
                                 bool select) override;
    void createComponents(Page& page) override;

    int selection() const { return selection_; }

private:
    void stepOption(int step);

    int selection_ = HotlapsRow;
};

// The names the start page shows for the game's values; "Unknown" for any
// other value (and while the game's record cannot be reached).
const char* damageLevelName(int level);
const char* transmissionName(int transmission);

} // namespace zudo::ui
