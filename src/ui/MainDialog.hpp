#pragma once
// The list of hotlaps or of rallies. For now a page with its title and
// "Back" only: select (or 'b') returns to the start page.

#include "ui/Dialog.hpp"

namespace zudo::ui {

class MainDialog : public Dialog {
public:
    MainDialog(Dialog* parent, bool hotlaps);

    Dialog* HandleFrontEndEvents(char key, bool up, bool down, bool left, bool right,
                                 bool select) override;
    void createComponents(Page& page) override;

    bool showsHotlaps() const { return hotlaps_; }

private:
    bool hotlaps_;
};

} // namespace zudo::ui
