#pragma once
// A stage start against the replacement host: the host's objects at their
// fixed addresses (weather table, index lists, stage-start record, ...), the
// fakes of the game's routines recording into a RecordingGame, the rally
// fixture's installation and condition choice, and a fresh backup of the
// host's weather in the process's weather daemon.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "RallyFixture.hpp"
#include "rally/CarCatalogue.hpp"
#include "rally/StageStart.hpp"
#include "rally/WeatherDaemon.hpp"
#include "sim/host/HostFakes.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "sim/host/StageStartModel.hpp"
#include "support/RecordingGame.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"
#include "util/mem/replacement/ReplacementHost.hpp"

namespace zudo::test {

namespace bindings = util::mem::bindings;
using util::mem::HostAddress;

// The host's weather as the daemon backs it up: table and both lists with
// the indexes they point at.
struct HostWeather {
    std::vector<std::uint8_t> table;
    std::int32_t goodCount = 0;
    std::uint32_t goodPointer = 0;
    std::int32_t badCount = 0;
    std::uint32_t badPointer = 0;
    std::vector<std::uint16_t> goodIndexes;
    std::vector<std::uint16_t> badIndexes;

    bool operator==(const HostWeather&) const = default;
};

inline std::vector<std::uint16_t> indexesAt(std::uint32_t pointer, std::int32_t count)
{
    std::vector<std::uint16_t> indexes(static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        indexes[i] = HostAddress(pointer).read<std::uint16_t>(static_cast<std::uint32_t>(2 * i));
    }
    return indexes;
}

inline HostWeather hostWeather()
{
    using View = util::mem::WeatherControlView;
    HostWeather weather;
    weather.table.resize(rally::WeatherDaemon::tableSize);
    bindings::weatherTable.address().readBytes(0, weather.table.data(), rally::WeatherDaemon::tableSize);
    const HostAddress control = bindings::weatherControl.object();
    weather.goodCount = control.read<std::int32_t>(View::goodCountOffset);
    weather.goodPointer = control.read<std::uint32_t>(View::goodIndexesOffset);
    weather.badCount = control.read<std::int32_t>(View::badCountOffset);
    weather.badPointer = control.read<std::uint32_t>(View::badIndexesOffset);
    weather.goodIndexes = indexesAt(weather.goodPointer, weather.goodCount);
    weather.badIndexes = indexesAt(weather.badPointer, weather.badCount);
    return weather;
}

inline legacy::support::WeatherEntry hostEntry(std::uint32_t index)
{
    return bindings::weatherTable.address().read<legacy::support::WeatherEntry>(
        index * static_cast<std::uint32_t>(sizeof(legacy::support::WeatherEntry)));
}

inline const legacy::support::WeatherEntry& entryOf(const rally::TrackConditionPtr& condition)
{
    return *condition;
}

class StageStartTest : public RallyTest {
protected:
    void SetUp() override
    {
        RallyTest::SetUp();
        sim::SimulatedHost& simulated = sim::SimulatedHost::instance();
        simulated.reset();
        simulated.setExecutablePath(host.file("Zoraravi_SSE.exe"));
        simulated.registerAsHost();
        sim::registerHostFakes(simulated, game);
        sim::registerStageStartFakes(simulated, game);
        ASSERT_TRUE(rally::WeatherDaemon::instance().backupWeather());
        rally::CarCatalogue::instance().selectCar(0);
        for (int slot = 0; slot < rally::CarCatalogue::carCount; ++slot) {
            const rally::CarPtr car = rally::CarCatalogue::instance().car(slot);
            car->setSetupIndex(rally::Car::defaultSetup);
            car->copyCurrentSetup();
            car->buildSetupList();
        }
        game.clear();
    }

    void TearDown() override
    {
        rally::WeatherDaemon::instance().useDraw({});
        rally::WeatherDaemon::restoreHostWeather();
        util::mem::registerReplacementHost(nullptr);
        RallyTest::TearDown();
    }

    // A stage of a rally: stage number, weather mode, tyres, and a valid
    // condition with the given codes (tint set 1 unless given).
    rally::StagePtr stageWith(std::int32_t number, int mode, int tyres, const rally::TrackConditionPtr& wanted)
    {
        auto stage = std::make_shared<rally::Stage>(nullptr, number, mode, tyres, "Test Stage");
        *stage->condition() = *wanted;
        return stage;
    }

    util::mem::StageStartRecordView record() const
    {
        return util::mem::StageStartRecordView(bindings::stageStartRecord.address());
    }

    RecordingGame game;
};

} // namespace zudo::test
