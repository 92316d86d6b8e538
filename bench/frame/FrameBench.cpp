// Prints what one frame of the plug-in's menu page costs in the host
// simulator and how many heap allocations a frame makes:
// - steady frames: the page is built, the plug-in only draws it again
//   (the goal: no allocation at all);
// - frames after a key: the page is built anew first;
// - a stage start of the rally engine (in this process, against the same
//   simulated game), with the game and with the weather daemon choosing the
//   weather, and the frames of a plug-in object after a start.
// Times are of the whole simulated frame: the plug-in's DrawMenuPage, the
// recording of its calls and their trace lines (written to a stream that
// discards them).
//
//   build/bench/bench/frame/bench_frame [--plugin PATH] [--install DIR] [--frames N]
//
// Allocations are counted by this program's own malloc, calloc, realloc and
// aligned allocations (glibc's allocator underneath), which the plug-in's
// operator new reaches as well.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "plugin/Zuzuzevo.hpp"
#include "rally/CarCatalogue.hpp"
#include "rally/ConditionChoice.hpp"
#include "rally/StageStart.hpp"
#include "rally/WeatherDaemon.hpp"
#include "sim/driver/Simulation.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "sim/record/Trace.hpp"
#include "util/mem/Bindings.hpp"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
void* memalign(std::size_t alignment, std::size_t size);
}

namespace {

std::atomic<std::uint64_t> allocations{0};

} // namespace

extern "C" {

void* malloc(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(pointer, size);
}

void* memalign(std::size_t alignment, std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) { return memalign(alignment, size); }

int posix_memalign(void** result, std::size_t alignment, std::size_t size)
{
    void* pointer = memalign(alignment, size);
    if (pointer == nullptr) {
        return 12; // ENOMEM
    }
    *result = pointer;
    return 0;
}

void free(void* pointer) { __libc_free(pointer); }

} // extern "C"

namespace {

using Clock = std::chrono::steady_clock;

class DiscardingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

struct Figures {
    std::vector<double> microseconds;
    std::vector<std::uint64_t> allocations;
};

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

template <class Step>
Figures measure(std::size_t frames, Step&& step)
{
    Figures figures;
    figures.microseconds.reserve(frames);
    figures.allocations.reserve(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const std::uint64_t before = allocations.load();
        const Clock::time_point start = Clock::now();
        step();
        const Clock::time_point end = Clock::now();
        figures.allocations.push_back(allocations.load() - before);
        figures.microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    return figures;
}

void print(const char* what, const Figures& figures)
{
    std::uint64_t total = 0;
    std::uint64_t most = 0;
    for (const std::uint64_t count : figures.allocations) {
        total += count;
        most = std::max(most, count);
    }
    std::printf("%-30s %6zu frames  median %8.2f us  p90 %8.2f us  min %8.2f us  "
                "allocations per frame %.2f (most %llu)\n",
                what, figures.microseconds.size(), percentile(figures.microseconds, 0.5),
                percentile(figures.microseconds, 0.9),
                *std::min_element(figures.microseconds.begin(), figures.microseconds.end()),
                static_cast<double>(total) / static_cast<double>(figures.allocations.size()),
                static_cast<unsigned long long>(most));
}

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
    print("steady frame after a start", measure(starts * 10, [&] { game.log().clear(); plugin.DrawMenuPage(); }));
    rally::useConditionChoice({});
}

} // namespace

int main(int argc, char** argv)
{
    zudo::sim::SimulationOptions options;
    options.pluginPath = ZUDO_SIM_DEFAULT_PLUGIN;
    options.installDirectory = ".";
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
    DiscardingBuffer discard;
    std::ostream sink(&discard);
    zudo::sim::TraceWriter trace(sink);
    try {
        const std::uint64_t atStart = allocations.load();
        zudo::sim::Simulation simulation(options, trace);
        simulation.drawMenuFrame(); // builds the page
        simulation.drawMenuFrame();
        std::printf("plug-in %s: %zu calls in a frame of its page; %llu allocations to load it and "
                    "draw its first two frames\n",
                    options.pluginPath.c_str(), simulation.lastFrame().calls().size(),
                    static_cast<unsigned long long>(allocations.load() - atStart));
        print("steady frame", measure(frames, [&] { simulation.drawMenuFrame(); }));

        const zudo::sim::ScriptLine down{0, "key down", zudo::sim::event::Key{zudo::sim::event::Direction::Down}};
        const std::size_t rebuilds = std::max<std::size_t>(1, frames / 10);
        Figures afterKey;
        for (std::size_t i = 0; i < rebuilds; ++i) {
            simulation.runLine(down);
            const Figures one = measure(1, [&] { simulation.drawMenuFrame(); });
            afterKey.microseconds.push_back(one.microseconds[0]);
            afterKey.allocations.push_back(one.allocations[0]);
        }
        print("frame after a key (rebuild)", afterKey);
        simulation.shutDown();
        measureStageStart(simulation.recorder(), std::max<std::size_t>(1, frames / 10));
    } catch (const zudo::sim::SimulationError& error) {
        std::fprintf(stderr, "bench_frame: %s\n", error.what());
        return 1;
    }
    return 0;
}
