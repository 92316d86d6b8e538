// Prints what one frame of the plug-in's menu page costs in the host
// simulator and how many heap allocations a frame makes:
// - steady frames: the page is built, the plug-in only draws it again
//   (the goal: no allocation at all);
// - frames after a key: the page is built anew first.
// Times are of the whole simulated frame: the plug-in's DrawMenuPage, the
// recording of its calls and their trace lines (written to a stream that
// discards them).
//
//   build/bench/bench/frame/bench_frame [--plugin PATH] [--install DIR] [--frames N]
//
// Allocations are counted by this program's own allocator functions
// (AllocationCounter.cpp), which the plug-in's operator new reaches as well.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "FrameFigures.hpp"
#include "sim/driver/Simulation.hpp"
#include "sim/record/Trace.hpp"

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
    using namespace zudo::bench;
    DiscardingBuffer discard;
    std::ostream sink(&discard);
    zudo::sim::TraceWriter trace(sink);
    try {
        const std::uint64_t atStart = allocationCount();
        zudo::sim::Simulation simulation(options, trace);
        simulation.drawMenuFrame(); // builds the page
        simulation.drawMenuFrame();
        std::printf("plug-in %s: %zu calls in a frame of its page; %llu allocations to load it and "
                    "draw its first two frames\n",
                    options.pluginPath.c_str(), simulation.lastFrame().calls().size(),
                    static_cast<unsigned long long>(allocationCount() - atStart));
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
    } catch (const zudo::sim::SimulationError& error) {
        std::fprintf(stderr, "bench_frame: %s\n", error.what());
        return 1;
    }
    return 0;
}
