// Prints what one frame of the busiest page, the rally page with 14 rows of
// standings, costs with 1,000 rally files installed, and how many heap
// allocations a frame makes:
// - steady frames: the page is built, the dialog only draws it again (the
//   goal: no allocation at all, at most 20 us);
// - frames after a key ('n', the standings move on by one): the page is built
//   anew first, with every reference time looked up across all rallies (the
//   goal: at most 1 ms).
// The dialog runs in this process against the replacement host; its calls are
// recorded by the simulator's recorder as in zudo-sim (without trace lines).
//
//   build/bench/bench/frame/bench_rally_page [--rallies N] [--frames N]

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchInstallation.hpp"
#include "FrameFigures.hpp"
#include "HostAccessCounter.hpp"
#include "platform/Platform.hpp"
#include "ui/GameHolder.hpp"
#include "rally/RallyList.hpp"
#include "sim/host/CarDamageFakes.hpp"
#include "sim/host/HostFakes.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "sim/record/GameRecorder.hpp"
#include "ui/RallyDialog.hpp"

namespace {

constexpr int busyStages = 20;
constexpr int drivenStages = 8;
const char* const busyName = "Busy Rally";

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

zudo::rally::RallyPtr findRally(const std::string& name)
{
    for (const zudo::rally::RallyPtr& rally : zudo::rally::RallyList::instance()) {
        if (rally->name() == name) {
            return rally;
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zudo::bench;
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
    {
        zudo::ui::RallyDialog dialog(nullptr, busy);
        const auto frame = [&] {
            recorder.log().clear();
            dialog.draw();
        };
        frame(); // builds the page
        frame();
        std::printf("rally list of %zu entries (%d rally files) built in %.0f ms; the rally page of \"%s\" "
                    "(%zu stages, %d driven): %zu calls a frame\n",
                    entries, rallies, listMs, busyName, busy->stageCount(), drivenStages,
                    recorder.log().calls().size());
        const std::uint64_t steadyAccesses = hostAccesses.of(frame);
        print("steady frame", measure(frames, frame));

        const std::size_t rebuilds = std::max<std::size_t>(1, frames / 20);
        Figures afterKey;
        std::uint64_t rebuildAccesses = 0;
        for (std::size_t i = 0; i < rebuilds; ++i) {
            hostAccesses.reset();
            dialog.HandleFrontEndEvents('n', false, false, false, false, false);
            const Figures one = measure(1, frame);
            rebuildAccesses = std::max(rebuildAccesses, hostAccesses.accesses());
            afterKey.microseconds.push_back(one.microseconds[0]);
            afterKey.allocations.push_back(one.allocations[0]);
        }
        print("frame after a key (rebuild)", afterKey);
        std::printf("host memory reads and writes (each range-checked inside the game): %llu in a steady "
                    "frame, at most %llu in a key and the frame after it\n",
                    static_cast<unsigned long long>(steadyAccesses),
                    static_cast<unsigned long long>(rebuildAccesses));
    }
    zudo::ui::GameHolder::instance().setGame(nullptr);
    zudo::platform::setCurrentDirectory(std::filesystem::temp_directory_path().string());
    std::filesystem::remove_all(host);
    return 0;
}
