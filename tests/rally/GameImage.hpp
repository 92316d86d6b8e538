#pragma once
// A game executable of zero-filled host memory, loaded (as far as the
// bindings know) at its own address, with a weather control object, both
// weather index lists and a weather table of recognisable entries; none of
// the game's routines exist. In the Windows build a call into it would run
// zero bytes and crash the test. Needs a replacement host natively
// (support/HostTest.hpp).

#include <cstdint>
#include <vector>

#include "rally/WeatherDaemon.hpp"
#include "tracks/WeatherEntry.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"
#include "util/mem/ZudoExeModule.hpp"

namespace zudo::test {

class GameImage {
public:
    static constexpr std::uint32_t preferredBase = 0x00400000;
    // From the preferred base to the end of the stage-start record's last field.
    static constexpr std::uint32_t size = 0x16607F8 - preferredBase + 2048;
    // The good list holds 7 and 8, the bad list 9; entry i of the table is
    // (i, i + 1, 2, 1, i % 10, 1).
    static constexpr std::uint16_t goodIndexes[] = {7, 8};
    static constexpr std::uint16_t badIndexes[] = {9};

    GameImage()
    {
        using Control = util::mem::WeatherControlView;
        const util::mem::HostAddress image = block(size);
        util::mem::ZudoExeModule::instance().assumeLoadedAt(image);
        control_ = block(0x100);
        util::mem::resolve(util::mem::bindings::weatherControl.info).writeAddress(0, control_);
        const util::mem::HostAddress good = block(sizeof goodIndexes);
        good.writeBytes(0, goodIndexes, sizeof goodIndexes);
        const util::mem::HostAddress bad = block(sizeof badIndexes);
        bad.writeBytes(0, badIndexes, sizeof badIndexes);
        control_.writeAddress(Control::goodIndexesOffset, good);
        control_.write<std::int32_t>(Control::goodCountOffset, 2);
        control_.writeAddress(Control::badIndexesOffset, bad);
        control_.write<std::int32_t>(Control::badCountOffset, 1);
        for (std::uint32_t i = 0; i < rally::WeatherDaemon::entryCount; ++i) {
            util::mem::bindings::weatherTable.address().write(i * 24, entry(i));
        }
    }
    ~GameImage() { util::mem::ZudoExeModule::instance().assumeLoadedAt(util::mem::HostAddress()); }
    GameImage(const GameImage&) = delete;
    GameImage& operator=(const GameImage&) = delete;

    static legacy::support::WeatherEntry entry(std::uint32_t index)
    {
        const auto code = static_cast<std::int32_t>(index);
        return legacy::support::WeatherEntry{code, code + 1, 2, 1, code % 10, 1};
    }

    util::mem::HostAddress control() const { return control_; }

private:
    util::mem::HostAddress block(std::uint32_t bytes)
    {
        blocks_.emplace_back(bytes);
        return blocks_.back().address();
    }

    std::vector<util::mem::HostBlock> blocks_;
    util::mem::HostAddress control_;
};

} // namespace zudo::test
