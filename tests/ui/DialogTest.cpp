// The dialog base: a page is built once per change and drawn every frame;
// a parent deletes the child it opened at its first draw after the child
// returned control, exactly once.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/ShellHost.hpp"
#include "ui/Dialog.hpp"
#include "ui/Screen.hpp"

namespace {

using namespace zudo::ui;
using Calls = std::vector<std::string>;

// Counts its builds and its destruction; 'o' opens a child, 'b' goes back.
class ProbeDialog : public Dialog {
public:
    ProbeDialog(Dialog* parent, std::string label, int* destroyed)
        : Dialog(parent), label_(std::move(label)), destroyed_(destroyed)
    {
    }
    ~ProbeDialog() override { ++*destroyed_; }

    Dialog* HandleFrontEndEvents(char key, bool, bool, bool, bool, bool) override
    {
        if (key == 'o') {
            return openChild(std::make_unique<ProbeDialog>(this, label_ + "/child", childDestroyed));
        }
        if (key == 'b') {
            return parent();
        }
        if (key == 'r') {
            setRebuild(true);
        }
        return this;
    }
    void createComponents(Page& page) override
    {
        Dialog::createComponents(page);
        ++builds;
        page.add(makeText(Point{10, 20}, label_ + " " + std::to_string(builds)));
    }

    int builds = 0;
    int* childDestroyed = nullptr;

private:
    std::string label_;
    int* destroyed_;
};

class Dialogs : public zudo::test::ShellHostTest {};

TEST_F(Dialogs, PageIsBuiltOnceAndDrawnEveryFrame)
{
    int destroyed = 0;
    ProbeDialog dialog(nullptr, "probe", &destroyed);
    EXPECT_TRUE(dialog.needsRebuild()) << "a new dialog has no page yet";

    const Calls frame{
        "BeginPage 0 0 0 0",
        "SelectMenuColor 3", "DrawPanel 0 465 640 15", // the status line, empty
        "SelectMenuColor 3", "SelectFont 0", "DrawText 10 20 \"probe 1\"",
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        game.clear();
        EXPECT_EQ(dialog.draw(), &dialog);
        EXPECT_EQ(game.calls(), frame);
    }
    EXPECT_EQ(dialog.builds, 1);
    EXPECT_FALSE(dialog.needsRebuild());

    EXPECT_EQ(dialog.HandleFrontEndEvents('r', false, false, false, false, false), &dialog);
    dialog.draw();
    dialog.draw();
    EXPECT_EQ(dialog.builds, 2);
    EXPECT_EQ(game.lastFrameTexts(), Calls{"probe 2"});
}

TEST_F(Dialogs, StatusLineShowsTheTextOfTheMomentThePageIsBuilt)
{
    int destroyed = 0;
    ProbeDialog dialog(nullptr, "probe", &destroyed);
    StatusLine::setText("Saved.");
    dialog.draw();
    StatusLine::setText("Something else");
    dialog.draw();
    EXPECT_EQ(game.lastFrameTexts(), (Calls{"Saved.", "probe 1"}));

    dialog.setRebuild(true);
    dialog.draw();
    EXPECT_EQ(game.lastFrameTexts(), (Calls{"Something else", "probe 2"}));
}

TEST_F(Dialogs, ChildIsDeletedOnceAtTheParentsNextDraw)
{
    int parentDestroyed = 0;
    int childrenDestroyed = 0;
    {
        ProbeDialog parent(nullptr, "parent", &parentDestroyed);
        parent.childDestroyed = &childrenDestroyed;
        parent.draw();

        Dialog* child = parent.HandleFrontEndEvents('o', false, false, false, false, false);
        ASSERT_NE(child, &parent);
        EXPECT_EQ(child->parent(), &parent);
        EXPECT_EQ(parent.child(), child);
        EXPECT_TRUE(parent.needsRebuild()) << "the parent rebuilds when it is current again";
        child->draw();
        EXPECT_EQ(game.lastFrameTexts(), Calls{"parent/child 1"});

        EXPECT_EQ(child->HandleFrontEndEvents('b', false, false, false, false, false), &parent);
        EXPECT_EQ(childrenDestroyed, 0) << "not while its own call runs";
        EXPECT_EQ(parent.child(), child);

        parent.draw();
        EXPECT_EQ(childrenDestroyed, 1);
        EXPECT_EQ(parent.child(), nullptr);
        EXPECT_EQ(parent.builds, 2);
        parent.draw();
        EXPECT_EQ(childrenDestroyed, 1) << "deleted exactly once";

        // A new child replaces the member; one still held when the next is
        // opened (no frame between) is deleted then.
        Dialog* second = parent.HandleFrontEndEvents('o', false, false, false, false, false);
        EXPECT_EQ(second->HandleFrontEndEvents('b', false, false, false, false, false), &parent);
        Dialog* third = parent.HandleFrontEndEvents('o', false, false, false, false, false);
        EXPECT_EQ(childrenDestroyed, 2);
        EXPECT_EQ(parent.child(), third);
    }
    EXPECT_EQ(parentDestroyed, 1);
    EXPECT_EQ(childrenDestroyed, 3) << "the parent deletes the child it still holds";
}

} // namespace
