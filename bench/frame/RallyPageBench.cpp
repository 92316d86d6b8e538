// Prints what one frame of the busiest pages costs with 1,000 rally files
// installed, and how many heap allocations a frame makes:
// - the rally page with 14 rows of standings; after a key ('n', the
//   standings move on by one) the page is built anew, with every reference
//   time looked up across all rallies (the goals: a steady frame without
//   allocation in at most 20 us, a rebuild in at most 1 ms);
// - the results page over the game's result page after a stage of that rally
//   (the splits and the finish against the rally's record, the best on the
//   same surface and on any surface across all rallies and the game's own
//   result, and the stage details); it reacts to no key, so its rebuild is
//   measured as its first frame after a result is: the page built anew;
// - the weather and track options of a hotlap stage whose track offers 30
//   valid combinations (a window of 25 rows and the record's details); after
//   a key (down: the next combination applied) the page is built anew.
// Steady frames: the page is built, the dialog only draws it again.
// The dialogs run in this process against the replacement host; their calls
// are recorded by the simulator's recorder as in zudo-sim (without trace
// lines).
//
//   build/bench/bench/frame/bench_rally_page [--rallies N] [--frames N]

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "BenchInstallation.hpp"
#include "FrameFigures.hpp"
#include "HostAccessCounter.hpp"
#include "platform/Platform.hpp"
#include "rally/ConditionChoice.hpp"
#include "rally/RallyList.hpp"
#include "sim/host/CarDamageFakes.hpp"
#include "sim/host/HostFakes.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "sim/record/GameRecorder.hpp"
#include "support/GameResultsFile.hpp"
#include "ui/GameHolder.hpp"
#include "ui/RallyDialog.hpp"
#include "ui/ResultsDialog.hpp"
#include "ui/WeatherOptionsDialog.hpp"

namespace {

using namespace zudo::bench;

constexpr int busyStages = 20;
constexpr int drivenStages = 8;
const char* const busyName = "Busy Rally";
constexpr int hotlapStage = 20;
constexpr int weatherCombinations = 30;

// A rally longer than the standings' window whose stages share their names
// with the stages of every other rally, and its best times.
void writeBusyRally(const std::filesystem::path& host)
{
    using namespace std::string_literals;
    const auto plugins = host / "Plugins" / "Zuzuzevo";
    std::ofstream definition(plugins / (std::string(busyName) + ".srp"), std::ios::binary);
    std::ofstream times(plugins / (std::string(busyName) + ".tm2"), std::ios::binary);
    definition << "weather good\ntyres gravel dry\nmechanics 4\nskill 3\n";
    for (int s = 0; s < busyStages; ++s) {
        const int stage = 20 + s;
        definition << "conditions " << (s % 3) << "\nsurface " << (s % 3) << "\nservice 30\n"
                   << "stage " << stage << " Special Stage " << s % zudo::bench::stagesPerRally << "\n";
        const int finish = 90000 + s * 1000;
        times << "3 " << stage << " 0 " << finish / 3 << ' ' << finish / 2 << ' ' << finish
              << " 0 3 133543050415000000 3 Car\0Default\0Special Stage "s << s % zudo::bench::stagesPerRally
              << "\0Driver\0"s << "0 0 0 " << (s % 3) << ' ' << (s % 3) << " 1 \n";
    }
}

// The game's own best result of every stage the busy rally drives.
void writeHostResults(const std::filesystem::path& host)
{
    std::string bytes = zudo::test::gameResultsHeader();
    for (int s = 0; s < busyStages; ++s) {
        const float offset = static_cast<float>(s);
        bytes += zudo::test::gameResultRecord(20 + s, s % 8, 29.0F + offset, 58.0F + offset, 88.0F + offset,
                                              "Game Driver " + std::to_string(s));
    }
    std::filesystem::create_directories(host / "SavedGames");
    std::ofstream(host / "SavedGames" / "pfresult.rst", std::ios::binary) << bytes;
}

zudo::rally::RallyPtr findRally(const std::string& name)
{
    for (const zudo::rally::RallyPtr& rally : zudo::rally::RallyList::instance()) {
        if (rally->name() == name) {
            return rally;
        }
    }
    return nullptr;
}

// Combination i of the hotlap's track: conditions i % 10, sky i / 10 % 4,
// time of day i % 3, surface i / 10 % 3, track wear i % 3.
zudo::tracks::TrackConditionList weatherCombinationsOfTheTrack()
{
    zudo::tracks::TrackConditionList list;
    for (int i = 0; i < weatherCombinations; ++i) {
        auto condition = std::make_shared<zudo::tracks::TrackCondition>(hotlapStage);
        condition->tintSet = 0;
        condition->conditions = i % 10;
        condition->sky = i / 10 % 4;
        condition->timeOfDay = i % 3;
        condition->surface = i / 10 % 3;
        condition->track = i % 3;
        condition->valid = true;
        list.push_back(condition);
    }
    return list;
}

// A hotlap with a record (splits included) on every combination of its track.
zudo::rally::RallyPtr hotlapWithRecords(const zudo::tracks::TrackConditionList& combinations)
{
    auto hotlap = std::make_shared<zudo::rally::Rally>(hotlapStage, 0, 3);
    const zudo::rally::StagePtr stage = hotlap->stage(0);
    float finish = 70.0F;
    for (const zudo::rally::TrackConditionPtr& combination : combinations) {
        auto record = std::make_shared<zudo::rally::StageTime>(static_cast<const zudo::rally::StageTime&>(*stage));
        record->detachSharedParts();
        record->setCondition(std::make_shared<zudo::tracks::TrackCondition>(*combination));
        record->setSplit(0, finish / 3);
        record->setSplit(1, finish / 2);
        record->setFinishTime(finish);
        record->setDriver("Bench Driver");
        stage->addRecord(record);
        finish += 0.25F;
    }
    stage->setCondition(std::make_shared<zudo::tracks::TrackCondition>(*combinations.front()));
    return hotlap;
}

// Steady frames, then the frames right after rebuilds: each time prepare()
// (a key, or the page asked for anew), then one frame measured. Also the
// reads and writes of host memory, each range-checked inside the game.
void measurePage(const char* name, std::size_t frames, zudo::sim::GameRecorder& recorder,
                 HostAccessCounter& hostAccesses, const std::function<void()>& drawFrame,
                 const char* rebuildName, const std::function<void()>& prepare)
{
    const auto frame = [&] {
        recorder.log().clear();
        drawFrame();
    };
    frame(); // builds the page
    frame();
    std::printf("%s: %zu calls a frame\n", name, recorder.log().calls().size());
    const std::uint64_t steadyAccesses = hostAccesses.of(frame);
    print("  steady frame", measure(frames, frame));

    const std::size_t rebuilds = std::max<std::size_t>(1, frames / 20);
    Figures afterKey;
    std::uint64_t rebuildAccesses = 0;
    for (std::size_t i = 0; i < rebuilds; ++i) {
        hostAccesses.reset();
        prepare();
        const Figures one = measure(1, frame);
        rebuildAccesses = std::max(rebuildAccesses, hostAccesses.accesses());
        afterKey.microseconds.push_back(one.microseconds[0]);
        afterKey.allocations.push_back(one.allocations[0]);
    }
    print((std::string("  ") + rebuildName).c_str(), afterKey);
    std::printf("  host memory reads and writes (each range-checked inside the game): %llu in a steady frame, "
                "at most %llu in a key and the frame after it\n",
                static_cast<unsigned long long>(steadyAccesses), static_cast<unsigned long long>(rebuildAccesses));
}

} // namespace

int main(int argc, char** argv)
{
    int rallies = 1000;
    std::size_t frames = 20000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--rallies") {
            rallies = std::max(0, std::atoi(argv[i + 1]));
        } else if (option == "--frames") {
            frames = static_cast<std::size_t>(std::max(1L, std::strtol(argv[i + 1], nullptr, 10)));
        } else {
            std::fprintf(stderr, "usage: bench_rally_page [--rallies N] [--frames N]\n");
            return 1;
        }
    }
    const auto host = std::filesystem::temp_directory_path() /
                      ("zudo-rally-page-bench-" + std::to_string(zudo::platform::processId()));
    std::filesystem::remove_all(host);
    writeRallyFiles(host, rallies);
    writeBusyRally(host);
    writeHostResults(host);

    zudo::sim::GameRecorder recorder;
    zudo::sim::SimulatedHost& simulated = zudo::sim::SimulatedHost::instance();
    simulated.reset();
    simulated.setExecutablePath((host / "Zoraravi_SSE.exe").string());
    HostAccessCounter hostAccesses(simulated.interface());
    zudo::sim::registerHostFakes(simulated, recorder);
    zudo::sim::registerCarDamageFakes(simulated);
    zudo::platform::setCurrentDirectory(host.string());
    zudo::ui::GameHolder::instance().setGame(&recorder);

    const Clock::time_point listStart = Clock::now();
    const std::size_t entries = zudo::rally::RallyList::instance().size();
    const double listMs = std::chrono::duration<double, std::milli>(Clock::now() - listStart).count();
    const zudo::rally::RallyPtr busy = findRally(busyName);
    if (!busy) {
        std::fprintf(stderr, "bench_rally_page: the rally \"%s\" was not read\n", busyName);
        return 1;
    }
    for (int s = 0; s < drivenStages; ++s) {
        busy->stage(static_cast<std::size_t>(s))->takeResult(30.0F, 60.0F, 89.5F + static_cast<float>(s), "Bench");
    }
    std::printf("rally list of %zu entries (%d rally files) built in %.0f ms; the busy rally \"%s\": %zu stages, "
                "%d driven\n",
                entries, rallies, listMs, busyName, busy->stageCount(), drivenStages);
    {
        zudo::ui::RallyDialog dialog(nullptr, busy);
        measurePage("rally page, 14 standings rows", frames, recorder, hostAccesses, [&] { dialog.draw(); },
                    "frame after a key (n)",
                    [&] { dialog.HandleFrontEndEvents('n', false, false, false, false, false); });

        // The stage after the driven ones, just finished.
        const zudo::rally::StagePtr stage = busy->stage(drivenStages);
        stage->takeResult(30.5F, 61.0F, 91.25F, "Bench");
        zudo::ui::ResultsDialog results(&dialog, stage);
        measurePage("results page over the game's, with the stage details", frames, recorder, hostAccesses,
                    [&] { results.drawResultPage(); }, "first frame after a result (page built)",
                    [&] { results.setRebuild(true); });
    }
    {
        const zudo::tracks::TrackConditionList combinations = weatherCombinationsOfTheTrack();
        zudo::rally::useConditionChoice(zudo::rally::ConditionChoice{
            {}, {}, [&combinations](const zudo::tracks::TrackOverride&) { return combinations; }});
        const zudo::rally::RallyPtr hotlap = hotlapWithRecords(combinations);
        zudo::ui::WeatherOptionsDialog options(nullptr, hotlap->stage(0));
        if (options.entries().size() != combinations.size()) {
            std::fprintf(stderr, "bench_rally_page: the options offer %zu combinations, not %zu\n",
                         options.entries().size(), combinations.size());
            return 1;
        }
        const std::string name = "weather and track options, " + std::to_string(combinations.size()) +
                                 " combinations";
        measurePage(name.c_str(), frames, recorder, hostAccesses, [&] { options.draw(); }, "frame after a key (down)",
                    [&] { options.HandleFrontEndEvents('\0', false, true, false, false, false); });
        zudo::rally::useConditionChoice({});
    }
    zudo::ui::GameHolder::instance().setGame(nullptr);
    zudo::platform::setCurrentDirectory(std::filesystem::temp_directory_path().string());
    std::filesystem::remove_all(host);
    return 0;
}
