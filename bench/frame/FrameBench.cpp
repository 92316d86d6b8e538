// Prints what one frame of each of the plug-in's menu pages costs in the
// host simulator and how many heap allocations a frame makes:
// - steady frames: the page is built, the plug-in only draws it again
//   (the goal: no allocation at all);
// - frames after a key: the page is built anew first;
// - a stage start of the rally engine (in this process, against the same
//   simulated game), with the game and with the weather daemon choosing the
//   weather, and the frames of a plug-in object after a start;
// - frames of the game's service screen while a repair runs: the service
//   manager's per-frame handler in the repair clock's table (linked into this
//   program, against the simulator's service park), with the host routines
//   it calls.
// Times are of the whole simulated frame: the plug-in's DrawMenuPage (or the
// service screen's frame), the recording of its calls and their trace lines
// (written to a stream that discards them).
//
// Pages: the start page; the hotlap list on a hotlap with 20 records (18
// rows shown, paged with 'n' as the key); the rally list of 1,000 rally files
// (moved with down). Without --install the benchmark makes that installation
// in a temporary directory and removes it afterwards.
//
//   build/bench/bench/frame/bench_frame [--plugin PATH] [--install DIR] [--frames N]
//
// Allocations are counted by this program's own allocator functions
// (AllocationCounter.cpp), which the plug-in's operator new reaches as well;
// in the sanitizer build through the sanitizer allocator's hook.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <stdexcept>
#include <streambuf>
#include <optional>
#include <string>
#include <vector>

#include "FrameFigures.hpp"
#include "HostAccessCounter.hpp"
#include "platform/Platform.hpp"
#include "plugin/Zuzuzevo.hpp"
#include "rally/CarCatalogue.hpp"
#include "rally/ConditionChoice.hpp"
#include "rally/Rally.hpp"
#include "rally/ServiceManager.hpp"
#include "rally/StageStart.hpp"
#include "rally/WeatherDaemon.hpp"
#include "sim/driver/Simulation.hpp"
#include "sim/host/CarDamageFakes.hpp"
#include "sim/host/HostFakes.hpp"
#include "sim/host/ServiceParkFakes.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "sim/record/Trace.hpp"
#include "util/mem/Bindings.hpp"

namespace {

using namespace zudo::bench;

zudo::rally::TrackConditionPtr benchCondition(int conditions, int tintSet)
{
    auto condition = std::make_shared<zudo::tracks::TrackCondition>(12);
    condition->conditions = conditions;
    condition->tintSet = tintSet;
    condition->sky = 1;
    condition->timeOfDay = 0;
    condition->surface = 0;
    condition->track = 1;
    condition->valid = true;
    return condition;
}

// The stage start of the rally engine, in this process against the same
// simulated game: the whole start sequence, with the game choosing the
// weather and with the daemon choosing it itself; then the frames of a plug-in
// object after a start, the first of which puts the game's table back.
void measureStageStart(zudo::sim::GameRecorder& game, std::size_t starts)
{
    using namespace zudo;
    const tracks::TrackConditionList five{benchCondition(0, 0), benchCondition(1, 1), benchCondition(4, 2),
                                          benchCondition(2, 0), benchCondition(8, 1)};
    rally::useConditionChoice(rally::ConditionChoice{
        [](const tracks::TrackOverride&, int) { return benchCondition(0, 0); },
        [](const tracks::TrackOverride&, const rally::TrackConditionPtr& wanted) { return wanted; },
        [&five](const tracks::TrackOverride&) { return five; },
    });
    rally::WeatherDaemon& daemon = rally::WeatherDaemon::instance();
    daemon.backupWeather();
    rally::Car& car = *rally::CarCatalogue::instance().selectedCar();
    auto stage = std::make_shared<rally::Stage>(nullptr, 12, 0, 3, "Bench Stage");
    const auto start = [&](int mode) {
        stage->setWeatherMode(mode);
        *stage->condition() = *benchCondition(4, 2);
        game.log().clear();
        if (!rally::startStage(car, stage)) {
            std::fprintf(stderr, "bench_frame: the stage did not start\n");
            std::exit(1);
        }
        rally::WeatherDaemon::restoreHostWeather();
    };
    start(0); // first use: the daemon, the catalogue, the recorder's logs grow
    std::optional<HostAccessCounter> hostAccesses(std::in_place, util::mem::replacementHost());
    std::printf("host memory reads and writes (each range-checked inside the game): %llu in a start (Good), "
                "%llu (Random)\n",
                static_cast<unsigned long long>(hostAccesses->of([&] { start(0); })),
                static_cast<unsigned long long>(hostAccesses->of([&] { start(1); })));
    hostAccesses.reset();
    print("stage start, Good, game chooses", measure(starts, [&] { start(0); }));
    print("stage start, Random, game chooses", measure(starts, [&] { start(1); }));
    sim::SimulatedHost::instance().removeNamedRoutine(util::mem::bindings::selectWeather.info.name);
    start(1);
    print("stage start, Good, daemon chooses", measure(starts, [&] { start(0); }));
    print("stage start, Random, daemon chooses", measure(starts, [&] { start(1); }));

    plugin::Zuzuzevo plugin(&game);
    plugin.DrawMenuPage();
    plugin.DrawMenuPage();
    Figures afterStart;
    for (std::size_t i = 0; i < starts; ++i) {
        stage->setWeatherMode(1);
        game.log().clear();
        rally::startStage(car, stage); // the table stays until the next frame
        const Figures first = measure(1, [&] { game.log().clear(); plugin.DrawMenuPage(); });
        afterStart.microseconds.push_back(first.microseconds[0]);
        afterStart.allocations.push_back(first.allocations[0]);
        if (daemon.stageTableInPlace()) {
            std::fprintf(stderr, "bench_frame: the frame after a start left the stage's table in place\n");
            std::exit(1);
        }
    }
    print("first frame after a start", afterStart);
    {
        HostAccessCounter counter(util::mem::replacementHost());
        rally::startStage(car, stage);
        const std::uint64_t first = counter.of([&] { plugin.DrawMenuPage(); });
        const std::uint64_t steady = counter.of([&] { plugin.DrawMenuPage(); });
        std::printf("host memory reads and writes: %llu in the first frame after a start, %llu in a steady frame\n",
                    static_cast<unsigned long long>(first), static_cast<unsigned long long>(steady));
    }
    print("steady frame after a start", measure(starts * 10, [&] { game.log().clear(); plugin.DrawMenuPage(); }));
    rally::useConditionChoice({});
}

// Frames of the service screen with a repair under way (its work outlasts
// the frames), as the game draws them: the clock's slot 8, which is the
// service manager's handler, each frame's calls recorded and traced.
void measureServiceFrames(std::size_t frames, zudo::sim::TraceWriter& trace)
{
    using namespace zudo::sim;
    SimulatedHost& host = SimulatedHost::instance();
    host.reset();
    host.registerAsHost();
    GameRecorder recorder;
    registerHostFakes(host, recorder);
    registerCarDamageFakes(host, &recorder);
    ServicePark& park = registerServiceParkFakes(host, recorder);
    zudo::rally::ServiceManager& manager = zudo::rally::ServiceManager::instance();
    manager.restart();
    const auto hotlap = std::make_shared<zudo::rally::Rally>(20, 0, 0);
    manager.setCurrentStage(hotlap->stage(0));
    host.objects().game.write<std::int32_t>(ServicePark::repairWorkOffset, 1000000);
    if (!manager.openServicePark() || park.selectMenuItem() != 0) {
        throw std::runtime_error("the service park did not open: " + manager.failureText());
    }
    const auto frame = [&] {
        recorder.log().clear();
        park.frame(1.0F / 60.0F);
        trace.calls(recorder.log());
    };
    frame();
    frame();
    {
        HostAccessCounter counter(host.interface());
        std::printf("service screen: %zu host calls and %llu host memory reads and writes in a frame\n",
                    recorder.log().calls().size(), static_cast<unsigned long long>(counter.of(frame)));
    }
    print("service screen frame", measure(frames, frame));
    manager.restart();
    host.reset();
}

} // namespace

namespace {

constexpr int rallyFiles = 1000;
constexpr int hotlapRecords = 20;

void writeFile(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// 1,000 rally files of three stages each, and 20 records of the first
// built-in hotlap (Rally School, stage 71, gravel dry tyres), each on a
// combination of its own (conditions 0..9, track wear 0..1).
void makeInstallation(const std::filesystem::path& directory)
{
    const std::filesystem::path plugin = directory / "Plugins" / "Zuzuzevo";
    for (int i = 0; i < rallyFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Rally %04d.srp", i);
        writeFile(plugin / name, "weather good\nstage 20\nstage 21 Falstone Long\nstage 22\n");
    }
    std::string records;
    for (int i = 0; i < hotlapRecords; ++i) {
        const int finish = 60000 + 250 * i;
        records += "3 71 0 20000 40000 " + std::to_string(finish) + " 0 3 133000000000000000 1 Car" +
                   std::string(1, '\0') + "Default" + std::string(1, '\0') + "Rally School" +
                   std::string(1, '\0') + "Driver " + std::to_string(i) + std::string(1, '\0') +
                   "0 0 1 " + std::to_string(i % 10) + " 0 " + std::to_string(i / 10) + " \n";
    }
    writeFile(plugin / "Rally School (dry, Gravel Dry).tm2", records);
}

struct Page {
    const char* name;
    std::vector<const char*> way;  // script lines from the start, before the first frame of the page
    const char* rebuildKey;        // a key that makes the page build anew
};

zudo::sim::ScriptLine scriptLine(const char* text)
{
    std::optional<zudo::sim::ScriptLine> line = zudo::sim::parseScriptLine(text, 0);
    if (!line) {
        throw std::runtime_error(std::string("not a script line: ") + text);
    }
    return *line;
}

void measurePage(const zudo::sim::SimulationOptions& options, const Page& page, std::size_t frames)
{
    DiscardingBuffer discard;
    std::ostream sink(&discard);
    zudo::sim::TraceWriter trace(sink);
    zudo::sim::Simulation simulation(options, trace);
    for (const char* line : page.way) {
        simulation.runLine(scriptLine(line));
    }
    simulation.drawMenuFrame(); // builds the page
    simulation.drawMenuFrame();
    std::printf("%s: %zu calls in a frame\n", page.name, simulation.lastFrame().calls().size());
    print("  steady frame", measure(frames, [&] { simulation.drawMenuFrame(); }));

    const zudo::sim::ScriptLine key = scriptLine(page.rebuildKey);
    const std::size_t rebuilds = std::max<std::size_t>(1, frames / 10);
    Figures afterKey;
    for (std::size_t i = 0; i < rebuilds; ++i) {
        simulation.runLine(key);
        const Figures one = measure(1, [&] { simulation.drawMenuFrame(); });
        afterKey.microseconds.push_back(one.microseconds[0]);
        afterKey.allocations.push_back(one.allocations[0]);
    }
    print((std::string("  frame after ") + page.rebuildKey).c_str(), afterKey);
    simulation.shutDown();
}

} // namespace

int main(int argc, char** argv)
{
    zudo::sim::SimulationOptions options;
    options.pluginPath = ZUDO_SIM_DEFAULT_PLUGIN;
    options.screenshotDirectory = ".";
    options.scriptSource = "benchmark";
    std::size_t frames = 20000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--plugin") {
            options.pluginPath = argv[i + 1];
        } else if (option == "--install") {
            options.installDirectory = argv[i + 1];
        } else if (option == "--frames") {
            frames = static_cast<std::size_t>(std::max(1L, std::strtol(argv[i + 1], nullptr, 10)));
        } else {
            std::fprintf(stderr, "usage: bench_frame [--plugin PATH] [--install DIR] [--frames N]\n");
            return 1;
        }
    }
    std::filesystem::path made;
    try {
        if (options.installDirectory.empty()) {
            made = std::filesystem::temp_directory_path() /
                   ("zudo-bench-frame-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
            makeInstallation(made);
            options.installDirectory = made.string();
        }
        const std::vector<Page> pages{
            {"start page", {}, "key down"},
            {"hotlap list, 20 records of the first hotlap", {"draw", "key select"}, "char n"},
            {"rally list, 1,000 rally files", {"draw", "key down", "key select"}, "key down"},
        };
        const std::uint64_t atStart = allocationCount();
        for (const Page& page : pages) {
            measurePage(options, page, frames);
        }
        DiscardingBuffer discard;
        std::ostream sink(&discard);
        zudo::sim::TraceWriter trace(sink);
        zudo::sim::Simulation simulation(options, trace);
        simulation.shutDown();
        measureStageStart(simulation.recorder(), std::max<std::size_t>(1, frames / 10));
        measureServiceFrames(frames, trace);
        std::printf("%llu allocations in all\n", static_cast<unsigned long long>(allocationCount() - atStart));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_frame: %s\n", error.what());
        if (!made.empty()) {
            std::filesystem::remove_all(made);
        }
        return 1;
    }
    if (!made.empty()) {
        std::filesystem::remove_all(made);
    }
    return 0;
}
