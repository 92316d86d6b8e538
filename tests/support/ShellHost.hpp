#pragma once
// The game as the front-end tests see it: a recording game interface, the
// game's memory with the stage-start record, the language object and the code
// the plug-in patches (ExecutableImage), and an installation directory of the
// test's own. Where the host can supply the game's text-width routine (the
// replacement host), it measures as the recording game does: 6 units a
// character, 8 in font 1, the same widths as the plug-in's own estimate, so
// that both builds fit texts alike.

#include <bit>
#include <cstdint>
#include <string>

#include "support/HostTest.hpp"
#include "support/Installation.hpp"
#include "support/RecordingGame.hpp"
#include "ui/GameHolder.hpp"
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
        ASSERT_TRUE(image.ready());
        ui::GameHolder::instance().setGame(&game);
        ui::StatusLine::setText("");
        ui::Screen::instance().setPage(ui::Page());
        supplyNamedRoutine("textWidth", [this](std::uint32_t, std::span<const std::uint64_t> arguments) {
            ++textWidthCalls;
            return std::uint64_t{std::bit_cast<std::uint32_t>(game.textWidth(textArgument(arguments[0])))};
        });
    }

    void TearDown() override
    {
        ui::Screen::instance().setPage(ui::Page());
        ui::GameHolder::instance().setGame(nullptr);
        HostTest::TearDown();
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

    Installation install;
    ExecutableImage image;
    RecordingGame game;
    int textWidthCalls = 0; // calls of the game's text-width routine, where the host supplies it
};

} // namespace zudo::test
