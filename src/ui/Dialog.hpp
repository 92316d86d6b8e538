#pragma once
// The states of the plug-in's front end. The plug-in object forwards every
// call of the game to its current dialog; each call returns the dialog that is
// current afterwards: the same one, a child it opened, or its parent when it
// is left.
//
// Ownership: a dialog owns the child it opened. The parent is not drawn while
// the child is current; when control comes back, the parent deletes the child
// at its next draw, so a child is never deleted while one of its own
// operations runs.
//
// Drawing: a dialog builds its page once (createComponents) whenever the
// rebuild flag is set, and the screen draws that page every frame.

#include <memory>
#include <string>

#include "ui/Components.hpp"
#include "ui/Screen.hpp"

namespace zudo::ui {

class Dialog {
public:
    explicit Dialog(Dialog* parent = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // A menu frame: deletes a child that returned control, builds the page if
    // needed, draws it. Returns this.
    virtual Dialog* draw();
    // A frame of the game's result page, drawn over it.
    virtual Dialog* drawResultPage();
    virtual Dialog* HandleFrontEndEvents(char key, bool up, bool down, bool left, bool right,
                                         bool select);
    virtual Dialog* stageStarted(int map, const std::string& player, bool falseStart);
    virtual Dialog* handleResults(float split1, float split2, float finish,
                                  const std::string& player);
    virtual Dialog* checkPoint(float time, int checkpoint, const std::string& player);
    // Fills page with what the dialog shows; the base adds the status line.
    virtual void createComponents(Page& page);

    Dialog* parent() const { return parent_; }
    bool needsRebuild() const { return rebuild_; }
    void setRebuild(bool rebuild) { rebuild_ = rebuild; }
    // The child this dialog opened and still holds; null when there is none.
    Dialog* child() const { return child_.get(); }

protected:
    // Sets rebuild, keeps child (deleting one still held) and returns it: the
    // new current dialog.
    Dialog* openChild(std::unique_ptr<Dialog> child);
    // Deletes the child held, if any.
    void deleteChild();
    // Builds the page when rebuild is set, then draws it over area.
    void drawPage(const Area& area);

private:
    Dialog* parent_;
    bool rebuild_ = true;
    std::unique_ptr<Dialog> child_;
};

// The trace line every builder of components writes on entry:
// location, " - ", "called...".
void logBuilderCall(const char* location);

} // namespace zudo::ui
