#include "plugin/Zuzuzevo.hpp"

#include <exception>
#include <new>
#include <utility>

#include "rally/WeatherDaemon.hpp"
#include "ui/Dialog.hpp"
#include "ui/GameHolder.hpp"
#include "ui/Screen.hpp"
#include "ui/StartDialog.hpp"
#include "util/Exception.hpp"
#include "util/Log.hpp"
#include "util/mem/HostAddress.hpp"

namespace zudo::plugin {

namespace {

constexpr std::size_t longestFaultText = 90;

std::unique_ptr<ui::Dialog> makeStartDialog() { return std::make_unique<ui::StartDialog>(); }

// A character of the keyboard as the log shows it: control characters (the
// game sends 0 with every arrow key) would break the line.
char printable(char key)
{
    const auto code = static_cast<unsigned char>(key);
    return code >= 32 && code != 127 ? key : ' ';
}

// Every call from the game begins here: the game's code ran since the
// plug-in last looked at its memory, so the memory regions known from before
// may have changed.
void enteredFromGame() { util::mem::forgetHostMemoryRegions(); }

} // namespace

template <class Operation>
bool Zuzuzevo::guarded(const char* operation, Operation&& call) noexcept
{
    try {
        call();
        return true;
    } catch (const Exception& failure) {
        reportFault(operation, failure.fullText());
    } catch (const std::exception& failure) {
        reportFault(operation, failure.what());
    } catch (...) {
        reportFault(operation, "unknown exception");
    }
    return false;
}

Zuzuzevo::Zuzuzevo(GameInterface* pGame, DialogFactory firstDialog)
    : firstDialog_(firstDialog ? std::move(firstDialog) : DialogFactory(&makeStartDialog)),
      game_(pGame)
{
    enteredFromGame();
    ui::GameHolder::instance().setGame(pGame);
    // Without the hook the game keeps its own surface types; the plug-in
    // itself works all the same.
    guarded("Zuzuzevo", [&] { surfaceHook_.install(); });
    util::Log log;
    if (log.isEnabled()) {
        log << "zudo::plugin::Zuzuzevo::Zuzuzevo() - this = " << util::Hex(this)
            << "  pGame = " << util::Hex(pGame) << util::endLog;
    }
}

Zuzuzevo::~Zuzuzevo()
{
    enteredFromGame();
    rally::WeatherDaemon::restoreHostWeather();
    current_ = nullptr;
    first_.reset();
    surfaceHook_.uninstall();
    if (ui::GameHolder::instance().game() == game_) {
        ui::GameHolder::instance().setGame(nullptr);
    }
}

void* Zuzuzevo::DeletingDestructor(unsigned int flags)
{
    this->~Zuzuzevo();
    if ((flags & 1u) != 0) {
        ::operator delete(this);
    }
    return this;
}

const char* Zuzuzevo::Name() { return name; }

void Zuzuzevo::DrawMenuPage()
{
    enteredFromGame();
    const ui::Screen::Frame frame;
    // A stage's weather table that the game was to pick from when it started
    // the stage is never left in place beyond the next front-end frame.
    rally::WeatherDaemon::restoreHostWeather();
    const bool drawn = guarded("DrawMenuPage", [&] {
        if (current_ == nullptr) {
            first_ = firstDialog_();
            current_ = first_.get();
        }
        if (current_ != nullptr) {
            current_ = current_->draw();
        }
    });
    if (!drawn) {
        showFaultPage();
    }
}

void Zuzuzevo::DrawResultPage()
{
    enteredFromGame();
    guarded("DrawResultPage", [&] {
        if (current_ != nullptr) {
            current_ = current_->drawResultPage();
        }
    });
}

void Zuzuzevo::HandleFrontEndEvents(char txtKeyboard, bool bUp, bool bDown, bool bLeft,
                                    bool bRight, bool bSelect)
{
    enteredFromGame();
    guarded("HandleFrontEndEvents", [&] {
        logCall(txtKeyboard, bUp, bDown, bLeft, bRight, bSelect);
        if (current_ != nullptr) {
            current_ = current_->HandleFrontEndEvents(txtKeyboard, bUp, bDown, bLeft, bRight,
                                                      bSelect);
        }
    });
}

void Zuzuzevo::TickMenuPage(float) {}

void Zuzuzevo::OnStageStarted(int mapIndex, const char* playerName, bool falseStart)
{
    enteredFromGame();
    rally::WeatherDaemon::restoreHostWeather();
    guarded("OnStageStarted", [&] {
        if (current_ != nullptr) {
            current_ = current_->stageStarted(mapIndex, playerName ? playerName : "", falseStart);
        }
    });
}

void Zuzuzevo::OnStageResults(float split1, float split2, float finish, const char* playerName)
{
    enteredFromGame();
    rally::WeatherDaemon::restoreHostWeather();
    guarded("OnStageResults", [&] {
        if (current_ != nullptr) {
            current_ =
                current_->handleResults(split1, split2, finish, playerName ? playerName : "");
        }
    });
}

void Zuzuzevo::OnCheckPoint(float time, int checkpoint, const char* playerName)
{
    enteredFromGame();
    guarded("OnCheckPoint", [&] {
        if (current_ != nullptr) {
            current_ = current_->checkPoint(time, checkpoint, playerName ? playerName : "");
        }
    });
}

void Zuzuzevo::logCall(char key, bool up, bool down, bool left, bool right, bool select) const
{
    util::Log log;
    if (log.isEnabled()) {
        log << "zudo::plugin::Zuzuzevo::HandleFrontEndEvents() - called with params: "
            << "  txtKeyboard: (char) " << printable(key) << "  (int) "
            << static_cast<int>(static_cast<unsigned char>(key)) << "  bUp: " << up
            << "  bDown: " << down << "  bLeft: " << left << "  bRight: " << right
            << "  bSelect: " << select << util::endLog;
    }
}

std::string Zuzuzevo::faultStatusText(const std::string& what)
{
    std::string text = what.empty() ? std::string("unknown failure") : what;
    if (text.size() > longestFaultText) {
        text.resize(longestFaultText);
        text += "...";
    }
    return "Error: " + text;
}

void Zuzuzevo::reportFault(const char* operation, const std::string& what) noexcept
{
    try {
        util::Log log;
        if (log.isEnabled()) {
            log << "zudo::plugin::Zuzuzevo::" << operation << "() - caught:  what = " << what
                << util::endLog;
        }
        ui::StatusLine::setText(faultStatusText(what));
        if (current_ != nullptr) {
            current_->setRebuild(true); // the next frame shows the status line
        }
    } catch (...) {
        // Nothing more can be done without risking the game.
    }
}

void Zuzuzevo::showFaultPage() noexcept
{
    try {
        // The dialog's page could not be built or drawn: show the status line
        // alone rather than failing again every frame. The dialog builds its
        // page again when a key changes it.
        if (current_ != nullptr) {
            current_->setRebuild(false);
        }
        ui::Page page;
        page.add(ui::makeStatusLineComponent());
        ui::Screen::instance().setPage(page);
        ui::Screen::instance().draw(ui::menuPageArea);
    } catch (...) {
    }
}

} // namespace zudo::plugin
