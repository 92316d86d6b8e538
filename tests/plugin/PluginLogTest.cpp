// The plug-in's log lines, with logging switched on: what the game handed
// over, the keys it sent (also before there is a page to send them to), what
// a dialog raised, and a surface-type hook that had to stay off.

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugin/Zuzuzevo.hpp"
#include "support/LogCapture.hpp"
#include "support/ShellHost.hpp"
#include "ui/Dialog.hpp"

namespace {

using zudo::plugin::Zuzuzevo;

class PluginLog : public zudo::test::ShellHostTest {
protected:
    std::vector<std::string> messages() const { return capture.messages(); }

    static std::string pointerText(const void* pointer)
    {
        std::ostringstream text;
        text << "0x" << std::hex << std::setw(8) << std::setfill('0')
             << reinterpret_cast<std::uintptr_t>(pointer);
        return text.str();
    }

    zudo::test::LogCapture capture;
};

TEST_F(PluginLog, ConstructionAndKeysBeforeTheFirstFrame)
{
    Zuzuzevo plugin(&game);
    plugin.HandleFrontEndEvents('b', true, false, false, true, false);
    plugin.HandleFrontEndEvents('\0', false, true, false, false, true);
    EXPECT_EQ(plugin.currentDialog(), nullptr);
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "zudo::plugin::Zuzuzevo::Zuzuzevo() - this = " + pointerText(&plugin) +
                      "  pGame = " + pointerText(&game),
                  "zudo::plugin::Zuzuzevo::HandleFrontEndEvents() - called with params:   "
                  "txtKeyboard: (char) b  (int) 98  bUp: true  bDown: false  bLeft: false  "
                  "bRight: true  bSelect: false",
                  // The arrow keys come with character 0, which the line shows as a blank.
                  "zudo::plugin::Zuzuzevo::HandleFrontEndEvents() - called with params:   "
                  "txtKeyboard: (char)    (int) 0  bUp: false  bDown: true  bLeft: false  "
                  "bRight: false  bSelect: true",
              }));

    plugin.DrawMenuPage();
    plugin.DrawMenuPage();
    EXPECT_EQ(messages().back(), "zudo::ui::StartDialog::createComponents() - called...")
        << "the page is built once for both frames";
    EXPECT_EQ(messages().size(), 4u);
}

TEST_F(PluginLog, WhatADialogRaisesIsLogged)
{
    class Failing : public zudo::ui::Dialog {
        Dialog* checkPoint(float, int, const std::string&) override
        {
            throw std::runtime_error("split lost");
        }
    };
    Zuzuzevo plugin(&game, [] { return std::make_unique<Failing>(); });
    plugin.DrawMenuPage();
    plugin.OnCheckPoint(10, 1, "P");
    EXPECT_EQ(messages().back(),
              "zudo::plugin::Zuzuzevo::OnCheckPoint() - caught:  what = split lost");
}

TEST_F(PluginLog, AHookThatStaysOffSaysSoOnce)
{
    removeGame();
    Zuzuzevo plugin(&game);
    const std::vector<std::string> lines = messages();
    const std::string hook =
        "zudo::tracks::SurfaceTypeHook::install() - surface types from Maps\\Tracks.ini switched "
        "off:  reason = the game executable is not loaded";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), hook), 1);
}

} // namespace
