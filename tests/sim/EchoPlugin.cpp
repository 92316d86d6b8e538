// A tiny plug-in for the simulator's tests. Every host call is answered by
// drawing calls that are easy to predict from the rules below, so that tests
// can work out the expected trace of a script by hand:
//
//   Name                  "Echo"
//   DrawMenuPage          BeginPage 0 0 0 0; SelectMenuColor 3;
//                         DrawPanel 0 465 640 15; SelectMenuColor 4;
//                         SelectFont 1; DrawText 50 70 "menu N" (N counts
//                         menu frames from 1); DrawHighlight 0 100 200 15;
//                         SetColor 1 0 0 1; DrawMark 300 200 7
//   DrawResultPage        BeginPage 0 0 640 240; DrawText 10 20 "result N"
//   HandleFrontEndEvents  ShowMessage "key C U D L R S" 1 0 0 (C the
//                         character's code, the flags 0 or 1), then per
//                         character:
//                         'w'  SelectFont 1, 0 and 7, each followed by
//                              DrawPanel 0 0 W 15 with W the host's width of "abcd"
//                         'h'  ShowMessage of the executable path, the current
//                              directory, "tick T", "damage D" (int at
//                              0x16607F8+88) and "mode M" (the game mode)
//                         's'  the host's startStage with 12 2 3 -1, then
//                              ShowMessage "started R" with its result
//                         'u'  the game interface's unused slot 3
//                         'x'  throws std::runtime_error("asked to throw")
//                         'y'  throws an int
//                         'z'  raises SIGSEGV
//                         'n'  writes through a null pointer
//   OnStageStarted        ShowMessage PLAYER MAP F 0 (F the false start, 0 or 1)
//   OnCheckPoint          ShowMessage PLAYER TIME N 0
//   OnStageResults        ShowMessage PLAYER FINISH SPLIT1 SPLIT2
//   destructor            nothing drawn
//
// Built in variants: ECHO_NO_EXPORT leaves out the factory's export,
// ECHO_NULL_FACTORY makes it return null.

#include <csignal>
#include <stdexcept>
#include <string>

#include "platform/Platform.hpp"
#include "ui/HostInterfaces.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/GameMode.hpp"
#include "util/mem/ZudoExeModule.hpp"

namespace {

namespace bindings = zudo::util::mem::bindings;

float hostWidth(const char* text) { return bindings::textWidth(text).value_or(-1.0F); }

class EchoPlugin final : public PluginInterface {
public:
    explicit EchoPlugin(GameInterface* game) : game_(game) {}

    void* DeletingDestructor(unsigned int flags) override
    {
        this->~EchoPlugin();
        if ((flags & 1) != 0) {
            ::operator delete(this);
        }
        return this;
    }

    const char* Name() override { return "Echo"; }

    void DrawMenuPage() override
    {
        ++menuFrames_;
        game_->BeginPage(0, 0, 0, 0);
        game_->SelectMenuColor(3);
        game_->DrawPanel(0, 465, 640, 15);
        game_->SelectMenuColor(4);
        game_->SelectFont(1);
        const std::string text = "menu " + std::to_string(menuFrames_);
        game_->DrawText(50, 70, text.c_str());
        game_->DrawHighlight(0, 100, 200, 15);
        game_->SetColor(1, 0, 0, 1);
        game_->DrawMark(300, 200, 7);
    }

    void DrawResultPage() override
    {
        ++resultFrames_;
        game_->BeginPage(0, 0, 640, 240);
        const std::string text = "result " + std::to_string(resultFrames_);
        game_->DrawText(10, 20, text.c_str());
    }

    void HandleFrontEndEvents(char key, bool up, bool down, bool left, bool right, bool select) override
    {
        const std::string echo = "key " + std::to_string(static_cast<unsigned char>(key)) + " " + flag(up) +
                                 " " + flag(down) + " " + flag(left) + " " + flag(right) + " " + flag(select);
        game_->ShowMessage(echo.c_str(), 1, 0, 0);
        switch (key) {
        case 'w': measure(); break;
        case 'h': reportHost(); break;
        case 's': startStage(); break;
        case 'u': game_->UnusedSlot3(); break;
        case 'x': throw std::runtime_error("asked to throw");
        case 'y': throw 42;
        case 'z': std::raise(SIGSEGV); break;
        case 'n': *nowhere_ = 1; break;
        default: break;
        }
    }

    void TickMenuPage(float) override {}

    void OnStageStarted(int map, const char* player, bool falseStart) override
    {
        game_->ShowMessage(player, static_cast<float>(map), falseStart ? 1.0F : 0.0F, 0);
    }

    void OnStageResults(float split1, float split2, float finish, const char* player) override
    {
        game_->ShowMessage(player, finish, split1, split2);
    }

    void OnCheckPoint(float time, int checkpoint, const char* player) override
    {
        game_->ShowMessage(player, time, static_cast<float>(checkpoint), 0);
    }

private:
    static const char* flag(bool value) { return value ? "1" : "0"; }

    void measure()
    {
        for (const int font : {1, 0, 7}) {
            game_->SelectFont(font);
            game_->DrawPanel(0, 0, hostWidth("abcd"), 15);
        }
    }

    void reportHost()
    {
        const auto show = [this](const std::string& text) { game_->ShowMessage(text.c_str(), 1, 0, 0); };
        show(zudo::platform::executablePath());
        show(zudo::platform::currentDirectory());
        show("tick " + std::to_string(zudo::platform::tickCount()));
        show("damage " + std::to_string(bindings::stageStartRecord.address().read<std::int32_t>(88)));
        show("mode " + std::to_string(static_cast<int>(zudo::gameMode())));
    }

    void startStage()
    {
        const auto result = bindings::startStage(bindings::gameObject.object(), 12, 2, 3, -1);
        const std::string text = "started " + (result ? std::to_string(*result) : std::string("refused"));
        game_->ShowMessage(text.c_str(), 1, 0, 0);
    }

    GameInterface* game_;
    int* volatile nowhere_ = nullptr;
    int menuFrames_ = 0;
    int resultFrames_ = 0;
};

} // namespace

#ifndef ECHO_NO_EXPORT
extern "C" ZUDO_EXPORT PluginInterface* ZUDO_CDECL ZUDO_CreatePlugin(GameInterface* game)
{
#ifdef ECHO_NULL_FACTORY
    (void)game;
    return nullptr;
#else
    zudo::util::mem::ZudoExeModule::attachToHost();
    return new EchoPlugin(game);
#endif
}
#endif
