// A large installation of the plug-in: 10,000 rally definition files of 10
// stages, each with its best-times file, and one hotlap whose best-times file
// has 1,000,000 lines. Prints the time to build the rally list (which reads
// every definition and best-times file), of a best-time query across all
// rallies, of loading and of saving the hotlap's records, and the peak memory
// of the process.
//
//     build/bench/bench/rally/bench_large_installation [rallies] [hotlap-lines]
//
// Targets: the rally list under 1 s, a query under 1 ms, memory under 200 MB.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchInstallation.hpp"
#include "platform/Platform.hpp"
#include "rally/RallyFile.hpp"
#include "rally/RallyList.hpp"
#include "rally/Stage.hpp"

namespace {

using Clock = std::chrono::steady_clock;

// Wall and processor milliseconds of one piece of work: on the shared
// machine processor time is the steadier figure.
struct Timing {
    double wall = 0;
    double processor = 0;
};

template <class Work>
Timing timed(Work&& work)
{
    const auto start = Clock::now();
    const double processorStart = zudo::platform::processorSeconds();
    work();
    return {std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
            (zudo::platform::processorSeconds() - processorStart) * 1000.0};
}

double megabytes(std::uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

zudo::rally::RallyPtr findRally(const zudo::rally::RallyList& list, const std::string& name)
{
    for (const zudo::rally::RallyPtr& rally : list) {
        if (rally->name() == name) {
            return rally;
        }
    }
    std::fprintf(stderr, "no rally named %s\n", name.c_str());
    std::exit(1);
}

// Queries on stage names that every rally has (stage s is on surface s % 3),
// each answered anew: a record changed since the last one, as after a stage
// is driven. The best of the rounds, and how many found a time.
Timing bestQuery(const zudo::rally::RallyList& list, zudo::rally::Stage& changed, int& found)
{
    Timing best{1e300, 1e300};
    found = 0;
    for (int round = 0; round < 20; ++round) {
        changed.addRecord(changed.records().begin()->second); // a change of the records: no answer kept
        const int s = round % zudo::bench::stagesPerRally;
        zudo::rally::StageTimePtr time;
        const Timing query = timed([&] {
            time = list.bestTimeOnStage("special stage " + std::to_string(s), round % 2 == 0 ? s % 3 : -1);
        });
        best.wall = std::min(best.wall, query.wall);
        best.processor = std::min(best.processor, query.processor);
        found += time ? 1 : 0;
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    const int rallies = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const int hotlapLines = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000000;
    const auto host = fs::temp_directory_path() / ("zudo-large-bench-" + std::to_string(zudo::platform::processId()));
    fs::remove_all(host);
    const Timing writing = timed([&] {
        zudo::bench::writeRallyFiles(host, rallies);
        zudo::bench::writeHotlap(host, hotlapLines);
    });
    std::printf("installation: %d rally files of %d stages with best times, a hotlap with %d best-time lines "
                "(written in %.1f s)\n",
                rallies, zudo::bench::stagesPerRally, hotlapLines, writing.wall / 1000.0);
    fs::current_path(host);
    zudo::platform::setExecutablePath((host / "Zoraravi_SSE.exe").string());
    const double memoryBefore = megabytes(zudo::platform::peakMemoryBytes());

    zudo::rally::RallyList list;
    const Timing build = timed([&] { list.build(); });
    const double memoryAfterList = megabytes(zudo::platform::peakMemoryBytes());

    const zudo::rally::RallyPtr hotlap = findRally(list, "Hotlap");
    zudo::rally::Stage& stage = *hotlap->stage(0);
    int found = 0;
    const Timing query = bestQuery(list, *findRally(list, "Rally 0")->stage(0), found);
    const Timing answered = timed([&] { list.bestTimeOnStage("Special Stage 3", -1); });

    const Timing load = timed([&] { hotlap->loadRecords(); });
    stage.setFinishTime(1.0F); // beats every record: saving writes the file
    stage.setDriven(true);
    bool saved = false;
    const Timing save = timed([&] { saved = hotlap->saveRecords(); });
    const std::string savedFile = zudo::rally::RecordFile(*hotlap, hotlap->recordKey()).path();
    zudo::platform::FileStatus savedStatus;
    const bool sized = zudo::platform::statFile(savedFile, savedStatus) == 0;

    std::printf("rally list: %zu entries built in %.1f ms (processor %.1f ms; target under 1000 ms)\n", list.size(),
                build.wall, build.processor);
    std::printf("best time on a stage across all rallies: %.3f ms (processor %.3f ms; best of 20 answered anew, "
                "%d found a time; target under 1 ms); answered again unchanged: %.4f ms\n",
                query.wall, query.processor, found, answered.wall);
    std::printf("hotlap records: %d lines loaded in %.1f ms (processor %.1f ms); saved (%s: %s, %ju bytes) in "
                "%.2f ms (processor %.2f ms)\n",
                hotlapLines, load.wall, load.processor, saved ? "written" : "NOT written", savedFile.c_str(),
                static_cast<std::uintmax_t>(sized ? savedStatus.size : 0), save.wall, save.processor);
    std::printf("peak memory: %.1f MB (%.1f MB before the list, %.1f MB after it; target under 200 MB)\n",
                megabytes(zudo::platform::peakMemoryBytes()), memoryBefore, memoryAfterList);
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(host);
    return 0;
}
