#pragma once
// The plug-in object the game creates through ZUDO_CreatePlugin and calls
// from its own thread. It holds the current dialog and forwards every call
// to it; the dialog's answer is the dialog that is current afterwards.
//
// No exception and no fault of the plug-in reaches the game: every call the
// game makes is guarded. What it raised is logged and shown, shortly, in the
// status line; the dialog that was current stays current.

#include <functional>
#include <memory>
#include <string>

#include "tracks/SurfaceType.hpp"
#include "ui/HostInterfaces.hpp"

namespace zudo::ui {
class Dialog;
}

namespace zudo::plugin {

class Zuzuzevo final : public PluginInterface {
public:
    static constexpr const char* name = "Zuzuzevo";

    // Makes the first dialog; the start dialog unless a test brings its own.
    using DialogFactory = std::function<std::unique_ptr<ui::Dialog>()>;

    // Keeps pGame for every drawing path and lets Maps\Tracks.ini decide the
    // surface type of a map (the game's routine is patched).
    explicit Zuzuzevo(GameInterface* pGame, DialogFactory firstDialog = {});
    // Deletes the dialogs and takes the surface-type patch out again: the
    // game may unload the library after this.
    ~Zuzuzevo();
    Zuzuzevo(const Zuzuzevo&) = delete;
    Zuzuzevo& operator=(const Zuzuzevo&) = delete;

    void* ZUDO_THISCALL DeletingDestructor(unsigned int flags) override;
    const char* ZUDO_THISCALL Name() override;
    void ZUDO_THISCALL DrawMenuPage() override;
    void ZUDO_THISCALL DrawResultPage() override;
    void ZUDO_THISCALL HandleFrontEndEvents(char txtKeyboard, bool bUp, bool bDown, bool bLeft,
                                            bool bRight, bool bSelect) override;
    void ZUDO_THISCALL TickMenuPage(float timeDelta) override;
    void ZUDO_THISCALL OnStageStarted(int mapIndex, const char* playerName,
                                      bool falseStart) override;
    void ZUDO_THISCALL OnStageResults(float split1, float split2, float finish,
                                      const char* playerName) override;
    void ZUDO_THISCALL OnCheckPoint(float time, int checkpoint, const char* playerName) override;

    // The current dialog; null before the first menu frame.
    ui::Dialog* currentDialog() const { return current_; }
    bool surfaceTypesFromFile() const { return surfaceHook_.isInstalled(); }

    // The status line's text after a call failed: "Error: " and the start of
    // what was raised.
    static std::string faultStatusText(const std::string& what);

private:
    // Runs call; false when it raised anything (which is then reported).
    template <class Operation>
    bool guarded(const char* operation, Operation&& call) noexcept;
    void reportFault(const char* operation, const std::string& what) noexcept;
    void showFaultPage() noexcept;
    void logCall(char key, bool up, bool down, bool left, bool right, bool select) const;

    ui::Dialog* current_ = nullptr;
    std::unique_ptr<ui::Dialog> first_; // owns the chain of dialogs
    DialogFactory firstDialog_;
    GameInterface* game_;
    tracks::SurfaceTypeHook surfaceHook_;
};

} // namespace zudo::plugin
