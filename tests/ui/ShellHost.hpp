#pragma once
// The game as the front-end tests see it: a recording game interface, the
// game's memory with the stage-start record, the language object and the code
// the plug-in patches, and an installation directory of the test's own.
//
// - Native build: the replacement host, which also measures texts (6 units a
//   character, 8 in font 1: the same widths as the estimate the Windows build
//   uses, so both builds fit texts alike).
// - Windows build: 20 MiB of this process's memory, executable, standing in
//   for the game's image: bindings resolve into it (ZudoExeModule::
//   assumeLoadedAt), and code written there really runs.

#include <cstdint>
#include <cstring>
#include <string>

#include "HostFixture.hpp"
#include "platform/Platform.hpp"
#include "plugin/GameHolder.hpp"
#include "support/RecordingGame.hpp"
#include "support/TempDir.hpp"
#include "ui/Screen.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"
#include "util/mem/ZudoExeModule.hpp"

namespace zudo::test {

class ShellHostTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        platform::setExecutablePath(install.str() + "\\Zoraravi_SSE.exe");
        plugin::GameHolder::instance().setGame(&game);
        ui::StatusLine::setText("");
        ui::Screen::instance().setPage(ui::Page());
#if ZUDO_HOST_IS_NATIVE
        image = platform::allocatePages(imageSize, platform::Protection::ExecuteReadWrite);
        ASSERT_NE(image, nullptr);
        const auto start = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(image));
        util::mem::ZudoExeModule::instance().assumeLoadedAt(
            util::mem::HostAddress(start - imageSkipped));
#else
        sim::SimulatedHost::instance().registerNamedRoutine(
            "textWidth", [this](std::uint32_t, std::span<const std::uint64_t> arguments) {
                const auto* text =
                    reinterpret_cast<const char*>(static_cast<std::uintptr_t>(arguments[0]));
                const float width = game.textWidth(text);
                ++textWidthCalls;
                std::uint32_t bits = 0;
                std::memcpy(&bits, &width, sizeof bits);
                return std::uint64_t{bits};
            });
#endif
    }

    void TearDown() override
    {
        ui::Screen::instance().setPage(ui::Page());
        plugin::GameHolder::instance().setGame(nullptr);
        platform::setExecutablePath("");
        HostTest::TearDown();
#if ZUDO_HOST_IS_NATIVE
        if (image != nullptr) {
            platform::freePages(image, imageSize);
        }
#endif
    }

    // The game as if it were not there at all: no executable, no host.
    void removeGame()
    {
        util::mem::ZudoExeModule::instance().assumeLoadedAt(util::mem::HostAddress());
#if !ZUDO_HOST_IS_NATIVE
        platform::registerReplacementHost(nullptr);
#endif
    }

    util::mem::StageStartRecordView stageStartRecord() const
    {
        return util::mem::StageStartRecordView(util::mem::bindings::stageStartRecord.address());
    }
    int recordValue(std::uint32_t offset) const { return stageStartRecord().get(offset); }
    void setRecordValue(std::uint32_t offset, int value) const
    {
        stageStartRecord().set(offset, value);
    }

    RecordingGame game;
    TempDir install;
    int textWidthCalls = 0; // native: calls of the game's text-width routine

private:
#if ZUDO_HOST_IS_NATIVE
    // From 0x490000 (below the lowest address the front end uses, 0x4968F0)
    // to past the stage-start record (0x16607F8 + 1704).
    static constexpr std::uint32_t imageSkipped = 0x90000;
    static constexpr std::size_t imageSize = 0x1400000;
    void* image = nullptr;
#endif
};

} // namespace zudo::test
