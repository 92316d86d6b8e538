#include "rally/ReplayManager.hpp"

#include <cstdint>

#include "io/File.hpp"
#include "util/Log.hpp"
#include "util/TimeText.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostCall.hpp"
#include "util/mem/HostViews.hpp"

namespace zudo::rally {

namespace {

namespace bindings = util::mem::bindings;
using util::mem::HostAddress;
using util::mem::StageStartRecordView;
using util::mem::WeatherControlView;

// The front end gives a menu page through its virtual operation 9; an entry
// of a page is switched through the entry's virtual operation 4.
constexpr std::uint32_t menuPageSlotOffset = 9 * 4;
constexpr std::uint32_t entrySwitchSlotOffset = 4 * 4;
// A menu page: a pointer to its array of entry pointers, and the entry count.
constexpr std::uint32_t pageEntriesOffset = 12;
constexpr std::uint32_t pageCountOffset = 20;

struct MenuEntry {
    std::int32_t page;
    std::int32_t entry;
};
// The entries of the game's own menus that would leave the game's replay
// state while the plug-in plays a replay.
constexpr MenuEntry replayMenuEntries[] = {{17, 9}, {25, 10}};

void log(const char* location, const std::string& text)
{
    util::Log log;
    if (log.isEnabled()) {
        log << location << " - " << text << util::endLog;
    }
}

void switchMenuEntry(HostAddress frontEnd, MenuEntry which, int value)
{
    const auto page =
        util::mem::callVirtual<HostAddress>(frontEnd, menuPageSlotOffset, which.page);
    if (!page || page->isNull()) {
        return;
    }
    const auto count = page->read<std::int32_t>(pageCountOffset);
    if (which.entry >= count) {
        return; // the game's page has fewer entries than this one
    }
    const HostAddress entries = page->readAddress(pageEntriesOffset);
    if (entries.isNull()) {
        return;
    }
    const HostAddress entry = entries.readAddress(static_cast<std::uint32_t>(which.entry) * 4);
    util::mem::callVirtual<void>(entry, entrySwitchSlotOffset, static_cast<std::int32_t>(value));
}

// The game's stage-start record and weather control name the stage of the
// replay and the car it was driven with.
void prepareHost(const StageTime& result)
{
    const HostAddress record = bindings::stageStartRecord.address();
    if (!record.isNull()) {
        StageStartRecordView view(record);
        view.set(StageStartRecordView::carSlotOffset, result.carSlot());
        view.set(StageStartRecordView::stageOffset, result.stageNumber());
    }
    const HostAddress weather = bindings::weatherControl.object();
    if (!weather.isNull()) {
        weather.write<std::int32_t>(WeatherControlView::stageOffset, result.stageNumber());
    }
}

} // namespace

ReplayManager& ReplayManager::instance()
{
    static ReplayManager manager;
    return manager;
}

ReplayManager::ReplayManager() = default;

void ReplayManager::setLastResult(std::unique_ptr<StageTime> result)
{
    last_ = std::move(result);
}

std::string ReplayManager::replayName(const StageTime& result)
{
    const std::string time =
        result.finishTime() == 0.0F ? std::string("DNF") : util::formatTime(result.finishTime(), false);
    const std::string name = result.displayName() + "_" + result.carName() + "_slot" +
                             std::to_string(result.carSlot()) + "_" + result.driver() + "_" + time +
                             "_" + util::formatDateTime(result.date());
    return io::sanitizeFileName(name, '_');
}

bool ReplayManager::saveReplay()
{
    static constexpr const char* location = "zudo::rally::ReplayManager::saveReplay()";
    log(location, "called...");
    if (!last_) {
        return false;
    }
    prepareHost(*last_);
    const std::string name = replayName(*last_);
    log(location, "fixed replay name is " + name);
    const auto saved = bindings::saveReplay(bindings::replayObject.object(), name.c_str(),
                                            last_->stageNumber(), last_->carSlot(), 1);
    const std::int32_t result = saved.value_or(0);
    log(location, "saving of replay " + name + " returned " + std::to_string(result));
    return result != 0;
}

int ReplayManager::playReplay()
{
    if (!last_) {
        return 0;
    }
    prepareHost(*last_);
    switchReplayMenuEntries(0);
    const HostAddress gameState = bindings::gameState.object();
    bindings::gameStateSwitchB(gameState, 1);
    bindings::gameStateSwitchA(gameState, 1);
    const HostAddress weather = bindings::weatherControl.object();
    if (!weather.isNull()) {
        weather.write<std::int32_t>(WeatherControlView::clearedForReplayOffset, 0);
    }
    return bindings::playReplay(bindings::replayObject.object()).value_or(0);
}

void switchReplayMenuEntries(int value)
{
    const HostAddress frontEnd = bindings::frontEnd.object();
    if (frontEnd.isNull()) {
        return;
    }
    for (const MenuEntry& entry : replayMenuEntries) {
        switchMenuEntry(frontEnd, entry, value);
    }
}

} // namespace zudo::rally
