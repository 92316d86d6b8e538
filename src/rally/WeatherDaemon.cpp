#include "rally/WeatherDaemon.hpp"

#include <algorithm>
#include <random>

#include "platform/Platform.hpp"
#include "rally/ConditionChoice.hpp"
#include "util/Log.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"

namespace zudo::rally {

namespace {

namespace bindings = util::mem::bindings;
using util::mem::HostAddress;
using util::mem::WeatherControlView;
using legacy::support::WeatherEntry;

constexpr int randomWeather = 1;
constexpr const char* backupLocation = "zudo::rally::WeatherDaemon::backupWeather()";

// The process's daemon once it is built; restoreHostWeather must not build it.
WeatherDaemon* builtDaemon = nullptr;

WeatherDaemon::IndexList readList(HostAddress control, std::uint32_t pointerOffset,
                                  std::uint32_t countOffset)
{
    return {control.read<std::int32_t>(countOffset), control.read<std::uint32_t>(pointerOffset)};
}

void writeList(HostAddress control, std::uint32_t pointerOffset, std::uint32_t countOffset,
               const WeatherDaemon::IndexList& list)
{
    control.write<std::uint32_t>(pointerOffset, list.pointer);
    control.write<std::int32_t>(countOffset, list.count);
}

WeatherDaemon::Draw uniformDraw()
{
    auto engine = std::make_shared<std::minstd_rand>(platform::tickCount() | 1u);
    return [engine](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(*engine);
    };
}

// The stage's new condition: the chosen weather on the chosen wear. The
// weather is one of the valid candidates when the game kept to the table; the
// wear is the game's to choose.
TrackConditionPtr conditionFor(const Stage& stage, const WeatherEntry& entry, std::int32_t wear,
                               WeatherDaemon::Candidates candidates)
{
    auto chosen = std::make_shared<tracks::TrackCondition>(entry, wear);
    chosen->stage = stage.stageNumber();
    chosen->valid = std::any_of(candidates.begin(), candidates.end(),
                                [&entry](const TrackConditionPtr& candidate) {
                                    return static_cast<const WeatherEntry&>(*candidate) == entry;
                                });
    return chosen;
}

} // namespace

WeatherDaemon& WeatherDaemon::instance()
{
    static WeatherDaemon daemon;
    return daemon;
}

void WeatherDaemon::restoreHostWeather() noexcept
{
    if (builtDaemon != nullptr) {
        builtDaemon->restore();
    }
}

WeatherDaemon::WeatherDaemon() : draw_(uniformDraw())
{
    builtDaemon = this;
    backupWeather();
}

WeatherDaemon::~WeatherDaemon()
{
    restore();
    builtDaemon = nullptr;
}

bool WeatherDaemon::backupWeather()
{
    restore();
    const HostAddress table = bindings::weatherTable.address();
    const HostAddress control = bindings::weatherControl.object();
    if (table.isNull() || control.isNull()) {
        util::Log log;
        if (log.isEnabled()) {
            log << backupLocation << " - the game's weather table cannot be reached: no backup"
                << util::endLog;
        }
        return false;
    }
    Table copy;
    table.readBytes(0, copy.data(), tableSize);
    const IndexList good = readList(control, WeatherControlView::goodIndexesOffset,
                                    WeatherControlView::goodCountOffset);
    const IndexList bad = readList(control, WeatherControlView::badIndexesOffset,
                                   WeatherControlView::badCountOffset);
    backup_ = copy;
    goodBackup_ = good;
    badBackup_ = bad;
    backedUp_ = true;
    logBackup();
    return true;
}

void WeatherDaemon::logBackup() const
{
    util::Log log;
    if (!log.isEnabled()) {
        return;
    }
    const auto record = [&log]() -> util::Log& {
        log << backupLocation << " - ";
        return log;
    };
    record() << "daemonAddress = " << util::Hex(bindings::weatherControl.object().value(), 8)
             << util::endLog;
    record() << "WeatherEntries: ";
    for (std::uint32_t i = 0; i < entryCount; ++i) {
        log << '\n' << i << ": " << backup_[i].describe();
    }
    log << util::endLog;
    const auto logList = [&](const char* title, const IndexList& list) {
        record() << title;
        const std::int32_t count = std::clamp<std::int32_t>(list.count, 0, entryCount);
        for (std::int32_t position = 0; position < count; ++position) {
            std::uint16_t index = 0;
            if (!HostAddress(list.pointer).tryReadBytes(2 * static_cast<std::uint32_t>(position), &index, 2)) {
                break;
            }
            log << '\n' << position << ": " << index << " --> ";
            if (index < entryCount) {
                log << backup_[index].describe();
            }
        }
        log << util::endLog;
    };
    logList("good weather indexes: ", goodBackup_);
    logList("bad weather indexes: ", badBackup_);
}

bool WeatherDaemon::choosesItself() const
{
    return !bindings::selectWeather.available();
}

void WeatherDaemon::useDraw(Draw draw)
{
    draw_ = draw ? std::move(draw) : uniformDraw();
}

bool WeatherDaemon::applyWeather(const StagePtr& stage)
{
    restore(); // a table left by a start the game never reported back
    chosenTintSet_.reset();
    if (!stage || bindings::weatherTable.address().isNull() || bindings::weatherControl.object().isNull() ||
        (!backedUp_ && !backupWeather())) {
        return false;
    }
    const TrackConditionPtr resolved = stage->resolvedCondition();
    if (!resolved) {
        return false;
    }
    // Every mode but Random has the one candidate, which needs no list.
    Candidates candidates(&resolved, 1);
    tracks::TrackConditionList valid;
    if (stage->weatherMode() == randomWeather) {
        const tracks::TrackOverride spec =
            stage->trackOverride() ? *stage->trackOverride() : tracks::TrackOverride{stage->stageNumber(), {}, {}};
        valid = conditionChoice().all(spec);
        std::erase(valid, nullptr);
        if (valid.empty()) {
            return false;
        }
        candidates = valid;
    }
    if (choosesItself()) {
        chooseForTheGame(stage, candidates);
        return true;
    }
    return letTheGameChoose(stage, candidates, resolved);
}

void WeatherDaemon::writeStageTable(Candidates candidates, std::size_t first,
                                    std::size_t count)
{
    const HostAddress table = bindings::weatherTable.address();
    const HostAddress control = bindings::weatherControl.object();
    if (table.isNull() || control.isNull()) {
        throw util::mem::HostAccessError("the game's weather table cannot be reached");
    }
    util::mem::HostBlock indexes(2 * sizeof(std::uint16_t));
    if (indexes.address().isNull()) {
        throw util::mem::HostAccessError("no memory for the weather index lists");
    }
    stageTable_.fill(WeatherEntry{0, 0, 0, 0, 0, 0});
    goodIndex_ = 0;
    badIndex_ = 0;
    count = std::min<std::size_t>(count, entryCount);
    for (std::size_t i = 0; i < count; ++i) {
        const tracks::TrackCondition& candidate = *candidates[first + i];
        stageTable_[i] = candidate;
        if (!candidate.isGoodWeather() && badIndex_ == 0) {
            badIndex_ = static_cast<std::uint16_t>(i);
        }
    }
    indexes.address().write<std::uint16_t>(0, goodIndex_);
    indexes.address().write<std::uint16_t>(2, badIndex_);
    // From the first write on, the game's table is the stage's: restore()
    // must put the backup back whatever happens next.
    stageTableInPlace_ = true;
    indexes_ = std::move(indexes);
    table.writeBytes(0, stageTable_.data(), tableSize);
    writeList(control, WeatherControlView::goodIndexesOffset, WeatherControlView::goodCountOffset,
              {1, indexes_.address().value()});
    writeList(control, WeatherControlView::badIndexesOffset, WeatherControlView::badCountOffset,
              {1, indexes_.address().value() + 2});
}

// Without the game's selection routine the game cannot be asked, nor told
// the track wear: the single entry in its table is the only weather it can
// pick, and the wear stays the game's.
void WeatherDaemon::chooseForTheGame(const StagePtr& stage,
                                     Candidates candidates)
{
    const bool random = stage->weatherMode() == randomWeather;
    const std::size_t chosen = random ? std::min(draw_(candidates.size()), candidates.size() - 1) : 0;
    writeStageTable(candidates, chosen, 1);
    const tracks::TrackCondition& condition = *candidates[chosen];
    chosenTintSet_ = condition.tintSet;
    if (random) {
        stage->setCondition(conditionFor(*stage, condition, condition.track, candidates));
    }
}

bool WeatherDaemon::letTheGameChoose(const StagePtr& stage,
                                     Candidates candidates,
                                     const TrackConditionPtr& resolved)
{
    const std::size_t written = std::min<std::size_t>(candidates.size(), entryCount);
    writeStageTable(candidates, 0, written);
    const HostAddress control = bindings::weatherControl.object();
    const std::optional<std::int32_t> chosen = bindings::selectWeather(control);
    if (!chosen || *chosen < 0 || static_cast<std::size_t>(*chosen) >= written) {
        restore();
        util::Log log;
        if (log.isEnabled()) {
            log << "zudo::rally::WeatherDaemon::applyWeather() - the game chose no weather of the stage's "
                << written << " entries" << util::endLog;
        }
        return false;
    }
    if (stage->weatherMode() == randomWeather) {
        const auto entry = bindings::weatherTable.address().read<WeatherEntry>(
            static_cast<std::uint32_t>(*chosen) * static_cast<std::uint32_t>(sizeof(WeatherEntry)));
        const std::int32_t wear = bindings::weatherTrackWear(control).value_or(-1);
        stage->setCondition(conditionFor(*stage, entry, wear, candidates));
    } else {
        bindings::setWeatherTrackWear(control, resolved->track);
    }
    restore();
    return true;
}

void WeatherDaemon::restore() noexcept
{
    if (!stageTableInPlace_) {
        return;
    }
    try {
        const HostAddress table = bindings::weatherTable.address();
        const HostAddress control = bindings::weatherControl.object();
        if (!table.isNull() && !control.isNull()) {
            table.writeBytes(0, backup_.data(), tableSize);
            writeList(control, WeatherControlView::goodIndexesOffset,
                      WeatherControlView::goodCountOffset, goodBackup_);
            writeList(control, WeatherControlView::badIndexesOffset,
                      WeatherControlView::badCountOffset, badBackup_);
        }
    } catch (...) {
        // The game is gone (only the replacement host can vanish): nothing to restore.
    }
    stageTableInPlace_ = false;
    indexes_ = util::mem::HostBlock();
}

} // namespace zudo::rally
