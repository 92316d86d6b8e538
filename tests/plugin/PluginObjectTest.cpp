// The plug-in object as the game drives it: the first menu frame creates the
// start page, calls before it are dropped, every call is forwarded to the
// current dialog, and nothing a dialog raises reaches the game.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugin/Zuzuzevo.hpp"
#include "support/ShellHost.hpp"
#include "support/StartPageFrame.hpp"
#include "ui/Dialog.hpp"
#include "ui/GameHolder.hpp"
#include "ui/StartDialog.hpp"
#include "util/Exception.hpp"

namespace {

using namespace zudo::ui;
using zudo::plugin::Zuzuzevo;
using Calls = std::vector<std::string>;

// Records what reaches it; throws what it is told to.
class ProbeDialog : public Dialog {
public:
    explicit ProbeDialog(int* destroyed = nullptr) : destroyed_(destroyed) {}
    ~ProbeDialog() override
    {
        if (destroyed_ != nullptr) {
            ++*destroyed_;
        }
    }

    Dialog* draw() override
    {
        seen.push_back("draw");
        return Dialog::draw();
    }
    Dialog* drawResultPage() override
    {
        seen.push_back("result page");
        if (throwing) {
            throw std::runtime_error("result page failed");
        }
        return this;
    }
    Dialog* HandleFrontEndEvents(char key, bool up, bool down, bool left, bool right,
                                 bool select) override
    {
        seen.push_back(std::string("keys ") + key + " " + std::to_string(up) + std::to_string(down) +
                       std::to_string(left) + std::to_string(right) + std::to_string(select));
        if (throwing) {
            throw zudo::Exception("key failed", "zudo::ui::ProbeDialog::HandleFrontEndEvents()");
        }
        if (key == 'r') {
            setRebuild(true);
        }
        if (key == 'h') {
            // A field of the game's object behind a pointer held in host memory.
            gameObject = hostPointerHolder.readAddress(0).read<std::int32_t>(0x728);
        }
        return this;
    }
    Dialog* stageStarted(int map, const std::string& player, bool falseStart) override
    {
        seen.push_back("started " + std::to_string(map) + " '" + player + "' " +
                       std::to_string(falseStart));
        if (throwing) {
            throw 42;
        }
        return this;
    }
    Dialog* handleResults(float split1, float split2, float finish,
                          const std::string& player) override
    {
        seen.push_back("results " + std::to_string(split1) + " " + std::to_string(split2) + " " +
                       std::to_string(finish) + " '" + player + "'");
        if (throwing) {
            throw std::bad_alloc();
        }
        return this;
    }
    Dialog* checkPoint(float time, int checkpoint, const std::string& player) override
    {
        seen.push_back("checkpoint " + std::to_string(time) + " " + std::to_string(checkpoint) +
                       " '" + player + "'");
        if (throwing) {
            throw zudo::Exception("checkpoint failed");
        }
        return this;
    }
    void createComponents(Page& page) override
    {
        ++builds;
        if (failingBuild) {
            throw std::runtime_error("no page");
        }
        Dialog::createComponents(page);
        page.add(makeText(Point{10, 20}, "probe"));
        if (failingDraw) {
            page.add(std::make_shared<FailingComponent>());
        }
    }

    // A component that fails while the frame is being drawn.
    class FailingComponent : public Component {
    public:
        FailingComponent() : Component(Point{0, 0}) {}
        void draw(const DrawContext&) const override { throw std::runtime_error("draw failed"); }
    };

    std::vector<std::string> seen;
    zudo::util::mem::HostAddress hostPointerHolder;
    std::int32_t gameObject = 0;
    bool throwing = false;
    bool failingBuild = false;
    bool failingDraw = false;
    int builds = 0;

private:
    int* destroyed_;
};

class PluginObject : public zudo::test::ShellHostTest {
protected:
    // A plug-in whose first dialog is a probe.
    std::unique_ptr<Zuzuzevo, void (*)(Zuzuzevo*)> withProbe()
    {
        auto plugin = makePlugin(&game, [this] {
            auto dialog = std::make_unique<ProbeDialog>(&probesDestroyed);
            probe = dialog.get();
            return dialog;
        });
        return plugin;
    }
    static std::unique_ptr<Zuzuzevo, void (*)(Zuzuzevo*)> makePlugin(GameInterface* gameInterface,
                                                                     Zuzuzevo::DialogFactory factory)
    {
        return {new Zuzuzevo(gameInterface, std::move(factory)),
                [](Zuzuzevo* p) { p->DeletingDestructor(1); }};
    }
    void SetUp() override
    {
        ShellHostTest::SetUp();
        zudo::ui::GameHolder::instance().setGame(nullptr); // the plug-in sets it
    }

    ProbeDialog* probe = nullptr;
    int probesDestroyed = 0;
};

TEST_F(PluginObject, CallsBeforeTheFirstMenuFrameAreDropped)
{
    Zuzuzevo plugin(&game);
    plugin.HandleFrontEndEvents('x', true, false, false, false, true);
    plugin.DrawResultPage();
    plugin.OnStageStarted(5, "Player", false);
    plugin.OnCheckPoint(12.5f, 1, "Player");
    plugin.OnStageResults(1, 2, 3, "Player");
    plugin.TickMenuPage(0.02f);
    EXPECT_EQ(plugin.currentDialog(), nullptr);
    EXPECT_TRUE(game.calls().empty());

    plugin.DrawMenuPage();
    ASSERT_NE(dynamic_cast<StartDialog*>(plugin.currentDialog()), nullptr);
    EXPECT_EQ(game.calls(), zudo::test::startPageFrame(0, "Off", "Automatic"))
        << "the key pressed before was not kept either";
}

TEST_F(PluginObject, TheStartPageGoesToTheListsAndBack)
{
    Zuzuzevo plugin(&game);
    plugin.DrawMenuPage();
    Dialog* start = plugin.currentDialog();
    plugin.HandleFrontEndEvents('\0', false, true, false, false, false);
    plugin.HandleFrontEndEvents('\0', false, false, false, false, true); // "Rallies"
    ASSERT_NE(plugin.currentDialog(), start);
    plugin.DrawMenuPage();
    EXPECT_EQ(game.lastFrameTexts(), (Calls{"Rallies", "No rally config files found", "Back"}));
    plugin.HandleFrontEndEvents('\0', false, false, false, false, true); // "Back"
    EXPECT_EQ(plugin.currentDialog(), start);
    plugin.DrawMenuPage();
    EXPECT_EQ(start->child(), nullptr);
    EXPECT_EQ(game.lastFrame()[8], "DrawHighlight 0 115 200 15") << "still on \"Rallies\"";
}

TEST_F(PluginObject, EveryCallReachesTheCurrentDialogUnchanged)
{
    auto plugin = withProbe();
    plugin->DrawMenuPage();
    ASSERT_NE(probe, nullptr);
    plugin->HandleFrontEndEvents('q', false, true, false, true, false);
    plugin->DrawResultPage();
    plugin->OnStageStarted(17, "Driver", true);
    plugin->OnCheckPoint(61.25f, 2, "Driver");
    plugin->OnStageResults(30.5f, 61.25f, 95.75f, nullptr);
    plugin->OnStageStarted(3, nullptr, false);
    plugin->TickMenuPage(0.5f);
    EXPECT_EQ(probe->seen, (Calls{
                               "draw",
                               "keys q 01010",
                               "result page",
                               "started 17 'Driver' 1",
                               "checkpoint 61.250000 2 'Driver'",
                               "results 30.500000 61.250000 95.750000 ''", // a null name is empty
                               "started 3 '' 0",
                           }));
}

TEST_F(PluginObject, NothingADialogRaisesReachesTheGame)
{
    auto plugin = withProbe();
    plugin->DrawMenuPage();
    probe->throwing = true;

    struct Case {
        const char* call;
        std::function<void()> make;
        std::string status;
    };
    const std::vector<Case> cases{
        {"HandleFrontEndEvents", [&] { plugin->HandleFrontEndEvents('a', 0, 0, 0, 0, 0); },
         "Error: zudo::ui::ProbeDialog::HandleFrontEndEvents(): key failed"},
        {"DrawResultPage", [&] { plugin->DrawResultPage(); }, "Error: result page failed"},
        {"OnStageStarted", [&] { plugin->OnStageStarted(1, "P", false); },
         "Error: unknown exception"},
        {"OnStageResults", [&] { plugin->OnStageResults(1, 2, 3, "P"); },
         "Error: " + std::string(std::bad_alloc().what())},
        {"OnCheckPoint", [&] { plugin->OnCheckPoint(1, 1, "P"); },
         "Error: <unspecified>: checkpoint failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_NO_THROW(c.make());
        EXPECT_EQ(plugin->currentDialog(), probe) << "the dialog stays current";
        EXPECT_EQ(StatusLine::text(), c.status);
        plugin->DrawMenuPage();
        EXPECT_EQ(game.lastFrameTexts(), (Calls{c.status, "probe"})) << "shown at the next frame";
    }
}

TEST_F(PluginObject, AHostPointerToMemoryThatCannotBeReadShowsInTheStatusLine)
{
    const zudo::test::ProtectedHostPages pages;
    ASSERT_TRUE(pages.ready());
    auto plugin = withProbe();
    plugin->DrawMenuPage();
    probe->hostPointerHolder = hostMemory(4);
    probe->hostPointerHolder.writeAddress(0, pages.noAccess());

    EXPECT_NO_THROW(plugin->HandleFrontEndEvents('h', false, false, false, false, false));
    const std::string expected =
        "Error: host memory at " + pages.noAccess().text() + " + 1832 (4 bytes) is not readable";
    EXPECT_EQ(StatusLine::text().substr(0, expected.size()), expected);
    plugin->DrawMenuPage();
    EXPECT_EQ(game.lastFrameTexts(), (Calls{StatusLine::text(), "probe"}));

    probe->hostPointerHolder.writeAddress(0, hostMemory(0x800));
    plugin->HandleFrontEndEvents('h', false, false, false, false, false);
    EXPECT_EQ(probe->gameObject, 0) << "a good pointer is followed";
}

TEST_F(PluginObject, APageThatCannotBeBuiltShowsTheStatusLineOnly)
{
    auto plugin = withProbe();
    plugin->DrawMenuPage();
    probe->failingBuild = true;
    plugin->HandleFrontEndEvents('r', false, false, false, false, false); // asks for a new page

    EXPECT_NO_THROW(plugin->DrawMenuPage());
    const Calls faultPage{"BeginPage 0 0 0 0", "SelectMenuColor 3", "DrawPanel 0 465 640 15",
                          "SelectMenuColor 0", "SelectFont 0", "DrawText 2 465 \"Error: no page\""};
    EXPECT_EQ(game.lastFrame(), faultPage);
    EXPECT_EQ(probe->builds, 2);

    game.clear();
    plugin->DrawMenuPage();
    EXPECT_EQ(game.calls(), faultPage) << "not tried again every frame";
    EXPECT_EQ(probe->builds, 2);

    probe->failingBuild = false;
    plugin->HandleFrontEndEvents('r', false, false, false, false, false);
    plugin->DrawMenuPage();
    EXPECT_EQ(probe->builds, 3);
    EXPECT_EQ(game.lastFrameTexts(), (Calls{"Error: no page", "probe"}));
}

TEST_F(PluginObject, AFaultInTheMiddleOfAFrameBeginsNoSecondPage)
{
    auto plugin = withProbe();
    plugin->DrawMenuPage();
    probe->failingDraw = true;
    plugin->HandleFrontEndEvents('r', false, false, false, false, false);
    game.clear();

    EXPECT_NO_THROW(plugin->DrawMenuPage());
    const Calls calls = game.calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "BeginPage 0 0 0 0"), 1) << "one page a frame";
    EXPECT_EQ(calls.front(), "BeginPage 0 0 0 0");
    EXPECT_EQ(calls.back(), "DrawText 2 465 \"Error: draw failed\"") << "the status line ends the frame";

    game.clear();
    plugin->DrawMenuPage();
    EXPECT_EQ(game.calls(), (Calls{"BeginPage 0 0 0 0", "SelectMenuColor 3", "DrawPanel 0 465 640 15",
                                   "SelectMenuColor 0", "SelectFont 0", "DrawText 2 465 \"Error: draw failed\""}))
        << "the next frame shows the status line alone";
}

TEST_F(PluginObject, LongFailuresAreShortenedForTheStatusLine)
{
    EXPECT_EQ(Zuzuzevo::faultStatusText(std::string(200, 'x')),
              "Error: " + std::string(90, 'x') + "...");
    EXPECT_EQ(Zuzuzevo::faultStatusText(std::string(90, 'x')), "Error: " + std::string(90, 'x'));
    EXPECT_EQ(Zuzuzevo::faultStatusText(""), "Error: unknown failure");
}

TEST_F(PluginObject, DestructionDeletesTheDialogsAndLetsGoOfTheGame)
{
    {
        auto plugin = withProbe();
        plugin->DrawMenuPage();
        plugin->HandleFrontEndEvents('x', false, false, false, false, false);
        EXPECT_EQ(probesDestroyed, 0);
    }
    EXPECT_EQ(probesDestroyed, 1);
    EXPECT_EQ(zudo::ui::GameHolder::instance().game(), nullptr);

    // Flag 0 destroys without freeing the memory: the game owns it then.
    alignas(Zuzuzevo) unsigned char storage[sizeof(Zuzuzevo)];
    auto* plugin = new (storage) Zuzuzevo(&game);
    plugin->DrawMenuPage();
    EXPECT_EQ(plugin->DeletingDestructor(0), static_cast<void*>(storage));
    EXPECT_EQ(zudo::ui::GameHolder::instance().game(), nullptr);
}

TEST_F(PluginObject, TheExportMakesAWorkingPlugin)
{
    PluginInterface* plugin = ZUDO_CreatePlugin(&game);
    ASSERT_NE(plugin, nullptr);
    EXPECT_STREQ(plugin->Name(), "Zuzuzevo");
    EXPECT_EQ(zudo::ui::GameHolder::instance().game(), &game);
    plugin->DrawMenuPage();
    EXPECT_EQ(game.lastFrameTexts().front(), "Zuzuzevo");
    EXPECT_EQ(plugin->DeletingDestructor(1), static_cast<void*>(plugin));
}

} // namespace
