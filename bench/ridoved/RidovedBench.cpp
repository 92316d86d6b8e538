// Generates two large installations (100 stages, 8 weather sections each,
// two lighting variants per track with 150 textures each; texture directories
// and files in other letter case on disk than the game data names them, names
// with either separator, some textures missing). In the second one the track
// folders and track ini files are also named in other letter case than
// Maps/Tracks.ini writes them. On each, side by side, it times:
//   - baseline: one status query (stat) per texture file the check looks at,
//     as the file is named on disk;
//   - cold: Ridoved without validation records (every texture checked), each
//     run a fresh process (the system's file caches stay warm: the run is
//     cold for Ridoved's own records and caches, not for the disk);
//   - warm: Ridoved again, with the records the cold run wrote.
// Targets: cold at most 1.0 x the baseline, warm at most 0.5 x.
// Usage: bench_ridoved [--keep] [directory]   (default: fresh directories in
// /tmp; with --keep, installations a previous run completed there are used
// again)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.hpp"

namespace fs = std::filesystem;

namespace {

constexpr int stages = 100;
constexpr int firstStage = 10;
constexpr int groundTextures = 50;
constexpr int otherTextures = 100;
const char* const tints[] = {"M", "E"};
const char* const surfaces[] = {"Dry", "Damp", "Wet"};
const char* const wears[] = {"New", "Normal", "Worn"};
// Weather sections per stage: four per lighting variant.
// Written last: the installation in its directory is complete.
const char* const completeMark = "bench-installation-complete";
const char* const weathers[] = {"crisp_clear", "hazy_partcloud", "lightrain_lightcloud", "heavyrain_heavycloud"};

void writeText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// How the track folders and track ini files are named on disk.
enum class TrackNames {
    AsWritten, // as Maps/Tracks.ini writes them
    OtherCase, // in other letter case
};

std::string regionFolder(int stage, TrackNames names)
{
    return (names == TrackNames::AsWritten ? "Region" : "REGION") + std::to_string(stage % 7);
}

// The files of one track variant as on disk; every 37th texture of stage
// numbers divisible by 5 is missing from the wet surface.
std::vector<fs::path> textureFiles(const fs::path& root, int stage, const std::string& tint, TrackNames names)
{
    std::vector<fs::path> files;
    const fs::path dir = root / "Maps" / regionFolder(stage, names) /
                         ("TRACK" + std::to_string(stage) + "_" + tint + "_Textures");
    for (const char* surface : surfaces) {
        const bool thin = stage % 5 == 0 && std::string(surface) == "Wet";
        for (const char* wear : wears) {
            for (int i = 0; i < groundTextures; ++i) {
                if (!(thin && i % 37 == 0)) {
                    files.push_back(dir / surface / wear / ("Ground" + std::to_string(i) + ".DDS"));
                }
            }
        }
        for (int i = 0; i < otherTextures; ++i) {
            if (!(thin && i % 37 == 1)) {
                files.push_back(dir / surface / ("other" + std::to_string(i) + ".dds"));
            }
        }
    }
    return files;
}

// Writes the installation (unless write is false: it is there already from an
// earlier run) and returns its texture files.
std::vector<fs::path> generate(const fs::path& root, TrackNames names, bool write)
{
    std::string tracks;
    std::string settings;
    std::vector<fs::path> files;
    for (int stage = firstStage; stage < firstStage + stages; ++stage) {
        const std::string region = "Region" + std::to_string(stage % 7);
        const std::string track = "track" + std::to_string(stage);
        tracks += "[Map" + std::to_string(stage) + "]\r\nTrackName=Maps\\" + region + "\\" + track +
                  "\r\nParticles=gravel\r\n";
        for (const std::string tint : tints) {
            for (const char* weather : weathers) {
                settings += "[" + std::to_string(stage) + tint + "_" + (tint == "M" ? "morning" : "evening") + "_" +
                            weather + "]\r\n";
            }
            std::string ini = "[TextureInfo]\r\nNumTextures=" + std::to_string(groundTextures + otherTextures) + "\r\n";
            std::string sections;
            for (int i = 0; i < groundTextures + otherTextures; ++i) {
                const bool ground = i < groundTextures;
                const std::string name = ground ? "Textures\\ground" + std::to_string(i)
                                                : "Textures/Other" + std::to_string(i - groundTextures) + ".tga";
                ini += "Texture" + std::to_string(i) + "=" + name + "\r\n";
                sections += "[" + name + "]\r\nIsGroundTexture=" + (ground ? "1" : "0") + "\r\n";
            }
            const std::string iniName = names == TrackNames::AsWritten
                                            ? track + "_" + tint + ".ini"
                                            : "TRACK" + std::to_string(stage) + "_" + tint + ".INI";
            if (write) {
                writeText(root / "Maps" / regionFolder(stage, names) / iniName, ini + sections);
            }
            for (const fs::path& file : textureFiles(root, stage, tint, names)) {
                if (write) {
                    writeText(file, "DDS ");
                }
                files.push_back(file);
            }
        }
    }
    if (write) {
        writeText(root / "Maps" / "Tracks.ini", tracks);
        writeText(root / "Maps" / "TrackSettings.ini", settings);
        writeText(root / completeMark, "");
    }
    return files;
}

double seconds(const std::chrono::steady_clock::duration& d) { return std::chrono::duration<double>(d).count(); }

// Processor time (user and system) of this process and of its ended
// children; nothing where the system keeps no total of the children.
std::optional<double> processorSeconds()
{
    const std::optional<double> children = zudo::platform::endedChildrenProcessorSeconds();
    if (!children) {
        return std::nullopt;
    }
    return zudo::platform::processorSeconds() + *children;
}

// Wall and processor seconds of one piece of work. The machine is shared, so
// processor time is the steadier figure.
struct Timing {
    double wall = 0;
    double processor = 0;
};

template <class F>
Timing timed(F&& work)
{
    const auto start = std::chrono::steady_clock::now();
    const std::optional<double> processorStart = processorSeconds();
    work();
    const double wall = seconds(std::chrono::steady_clock::now() - start);
    const std::optional<double> processorEnd = processorSeconds();
    return {wall, processorStart && processorEnd ? *processorEnd - *processorStart : -1.0};
}

Timing median(std::vector<Timing> values)
{
    auto middle = [&](auto member) {
        std::vector<double> numbers;
        for (const Timing& t : values) {
            numbers.push_back(t.*member);
        }
        std::sort(numbers.begin(), numbers.end());
        return numbers[numbers.size() / 2];
    };
    return {middle(&Timing::wall), middle(&Timing::processor)};
}

void runRidoved(const fs::path& root)
{
    const std::string command = "cd '" + root.string() + "' && ./Ridoved > stdout.txt 2> stderr.txt";
    if (std::system(command.c_str()) != 0) {
        std::cerr << "Ridoved failed" << std::endl;
        std::exit(1);
    }
}

struct Installation {
    std::string label;
    fs::path root;
    std::vector<std::string> files;
    std::vector<Timing> baseline;
    std::vector<Timing> cold;
    std::vector<Timing> warm;
};

// An installation written completely by an earlier run (with "--keep") is
// used again: writing 150,000 files takes minutes on a busy machine.
Installation prepare(const std::string& label, const fs::path& root, TrackNames names, bool keep)
{
    Installation installation{label, root, {}, {}, {}, {}};
    const bool reuse = keep && fs::exists(root / completeMark);
    if (!reuse) {
        fs::remove_all(root);
    }
    const double generation = timed([&] {
        for (const fs::path& file : generate(root, names, !reuse)) {
            installation.files.push_back(file.string());
        }
    }).wall;
    fs::copy_file(RIDOVED_PROGRAM, root / "Ridoved", fs::copy_options::overwrite_existing);
    std::printf("%s: %d stages, %zu texture files, %s in %.1f s (%s)\n", label.c_str(), stages,
                installation.files.size(), reuse ? "kept from an earlier run" : "generated", generation,
                root.c_str());
    return installation;
}

// The bare pass: every file named as on disk, so that each costs one status
// query of the system.
void statEveryFile(const std::vector<std::string>& files)
{
    std::size_t found = 0;
    zudo::platform::FileStatus status;
    for (const std::string& file : files) {
        found += zudo::platform::statFile(file, status) == 0 ? 1 : 0;
    }
    if (found != files.size()) {
        std::cerr << "texture files missing from the installation" << std::endl;
        std::exit(1);
    }
}

void runRound(Installation& installation)
{
    installation.baseline.push_back(timed([&] { statEveryFile(installation.files); }));
    fs::remove(installation.root / "Maps" / "TrackValidation.ini");
    installation.cold.push_back(timed([&] { runRidoved(installation.root); }));
    installation.warm.push_back(timed([&] { runRidoved(installation.root); }));
}

// value over base, or a dash where a processor time is not known (-1).
std::string ratio(double value, double base)
{
    if (value < 0 || base <= 0) {
        return "    -  ";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%5.2f x", value / base);
    return text;
}

void report(const Installation& installation, int rounds)
{
    std::ifstream csv(installation.root / "Ridoved.csv");
    const auto lines = std::count(std::istreambuf_iterator<char>(csv), std::istreambuf_iterator<char>(), '\n');
    const Timing base = median(installation.baseline);
    const Timing coldRun = median(installation.cold);
    const Timing warmRun = median(installation.warm);
    std::printf("\n%s (Ridoved.csv: %ld lines), medians of %d rounds\n", installation.label.c_str(),
                static_cast<long>(lines), rounds);
    std::printf("                               wall   processor   wall/base  processor/base  target\n");
    std::printf("baseline (stat of each file) %6.3f s  %6.3f s\n", base.wall, base.processor);
    std::printf("cold run (no records)        %6.3f s  %6.3f s   %s     %s       <= 1.0 x\n", coldRun.wall,
                coldRun.processor, ratio(coldRun.wall, base.wall).c_str(),
                ratio(coldRun.processor, base.processor).c_str());
    std::printf("warm run (records present)   %6.3f s  %6.3f s   %s     %s       <= 0.5 x\n", warmRun.wall,
                warmRun.processor, ratio(warmRun.wall, base.wall).c_str(),
                ratio(warmRun.processor, base.processor).c_str());
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto keepFlag = std::find(arguments.begin(), arguments.end(), "--keep");
    const bool keep = keepFlag != arguments.end();
    if (keep) {
        arguments.erase(keepFlag);
    }
    const fs::path base = !arguments.empty() ? fs::path(arguments[0]) : fs::temp_directory_path() / "zudo-bench-ridoved";
    std::vector<Installation> installations;
    installations.push_back(
        prepare("track folders as Tracks.ini writes them", base / "as-written", TrackNames::AsWritten, keep));
    installations.push_back(prepare("track folders and track ini files in other letter case", base / "other-case",
                                    TrackNames::OtherCase, keep));
    // The rounds alternate between the installations, so that a busy moment
    // of the shared machine weighs on both alike.
    constexpr int rounds = 5;
    for (int round = 0; round < rounds; ++round) {
        for (Installation& installation : installations) {
            runRound(installation);
        }
    }
    for (const Installation& installation : installations) {
        report(installation, rounds);
    }
    return 0;
}
