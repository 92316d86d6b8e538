// Prints the time to build the rally list from 1,000 rally definition files
// of 10 stages each, each with its best-times file, and the time of one
// standings computation (every stage's record, the best time on the same
// surface and on any surface across all rallies) for one 10-stage rally.
//
//     build/bench/bench/rally/bench_rally [rallies]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchInstallation.hpp"
#include "platform/Platform.hpp"
#include "rally/RallyList.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <class Work>
double bestOf(int rounds, Work work)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        const auto start = Clock::now();
        work();
        best = std::min(best, millisecondsSince(start));
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    const int rallies = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const auto host = std::filesystem::temp_directory_path() / ("zudo-rally-bench-" + std::to_string(zudo::platform::processId()));
    std::filesystem::remove_all(host);
    zudo::bench::writeRallyFiles(host, rallies);
    std::filesystem::current_path(host);
    zudo::platform::setExecutablePath((host / "Zoraravi_SSE.exe").string());

    zudo::rally::RallyList list;
    const auto start = Clock::now();
    list.build();
    const double buildMs = millisecondsSince(start);

    const zudo::rally::RallyPtr rally = list.at(list.size() / 2);
    float checksum = 0.0F;
    const double standingsMs = bestOf(20, [&] {
        for (const auto& stage : rally->stages()) {
            checksum += stage->recordTotal();
        }
        checksum += rally->sumOfBestTotals(false, list);
        checksum += rally->sumOfBestTotals(true, list);
    });

    std::printf("rally list: %zu entries (%d rally files of %d stages with best times) built in %.1f ms\n",
                list.size(), rallies, zudo::bench::stagesPerRally, buildMs);
    std::printf("standings of one %zu-stage rally across all rallies: %.3f ms (best of 20; checksum %.3f)\n",
                rally->stageCount(), standingsMs, static_cast<double>(checksum));
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(host);
    return 0;
}
