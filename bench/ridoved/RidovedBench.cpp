// Generates a large installation (100 stages, 8 weather sections each, two
// lighting variants per track with 150 textures each; texture directories and
// files in other letter case on disk than the game data names them, names
// with either separator, some textures missing) and times:
//   - baseline: one stat() per texture file the check looks at, as on disk;
//   - cold: Ridoved without validation records (every texture checked);
//   - warm: Ridoved again, with the records the cold run wrote.
// Usage: bench_ridoved [directory]   (default: a fresh directory in /tmp)
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

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
const char* const weathers[] = {"crisp_clear", "hazy_partcloud", "lightrain_lightcloud", "heavyrain_heavycloud"};

void writeText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// The files of one track variant as on disk; every 37th texture of stage
// numbers divisible by 5 is missing from the wet surface.
std::vector<fs::path> textureFiles(const fs::path& root, int stage, const std::string& tint)
{
    std::vector<fs::path> files;
    const fs::path dir = root / "Maps" / ("Region" + std::to_string(stage % 7)) /
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

std::vector<fs::path> generate(const fs::path& root)
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
            writeText(root / "Maps" / region / (track + "_" + tint + ".ini"), ini + sections);
            for (const fs::path& file : textureFiles(root, stage, tint)) {
                writeText(file, "DDS ");
                files.push_back(file);
            }
        }
    }
    writeText(root / "Maps" / "Tracks.ini", tracks);
    writeText(root / "Maps" / "TrackSettings.ini", settings);
    return files;
}

double seconds(const std::chrono::steady_clock::duration& d) { return std::chrono::duration<double>(d).count(); }

// Processor time (user and system) of this process and of its finished children.
double processorSeconds()
{
    double total = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return total;
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
    const double processorStart = processorSeconds();
    work();
    return {seconds(std::chrono::steady_clock::now() - start), processorSeconds() - processorStart};
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

} // namespace

int main(int argc, char** argv)
{
    const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "zudo-bench-ridoved";
    fs::remove_all(root);
    std::vector<fs::path> files;
    const double generation = timed([&] { files = generate(root); }).wall;
    fs::copy_file(RIDOVED_PROGRAM, root / "Ridoved");
    std::printf("installation: %d stages, %zu texture files, generated in %.1f s (%s)\n", stages, files.size(),
                generation, root.c_str());

    constexpr int rounds = 3;
    std::vector<Timing> baseline;
    std::vector<Timing> cold;
    std::vector<Timing> warm;
    for (int round = 0; round < rounds; ++round) {
        baseline.push_back(timed([&] {
            int found = 0;
            struct stat status{};
            for (const fs::path& file : files) {
                found += ::stat(file.c_str(), &status) == 0 ? 1 : 0;
            }
            if (found != static_cast<int>(files.size())) {
                std::exit(1);
            }
        }));
        fs::remove(root / "Maps" / "TrackValidation.ini");
        cold.push_back(timed([&] { runRidoved(root); }));
        warm.push_back(timed([&] { runRidoved(root); }));
    }
    std::ifstream csv(root / "Ridoved.csv");
    const auto lines = std::count(std::istreambuf_iterator<char>(csv), std::istreambuf_iterator<char>(), '\n');
    std::printf("Ridoved.csv: %ld lines\n", static_cast<long>(lines));
    const Timing base = median(baseline);
    const Timing coldRun = median(cold);
    const Timing warmRun = median(warm);
    std::printf("medians of %d rounds        wall       processor\n", rounds);
    std::printf("baseline (stat of each file) %7.3f s  %7.3f s\n", base.wall, base.processor);
    std::printf("cold run (no records)        %7.3f s  %7.3f s   %.2f x / %.2f x baseline (target <= 2)\n",
                coldRun.wall, coldRun.processor, coldRun.wall / base.wall, coldRun.processor / base.processor);
    std::printf("warm run (records present)   %7.3f s  %7.3f s   (target < 0.100 s)\n", warmRun.wall,
                warmRun.processor);
    return 0;
}
