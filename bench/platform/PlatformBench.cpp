// Prints how long the platform layer takes for what the system does
// thousands of times per run: reading one setting from an ini file of about
// 150 KB, and finding files whose names are written in another letter case.
//
//   build/bench/bench/platform/bench_platform [reads]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Platform.hpp"

namespace {

namespace fs = std::filesystem;
namespace zp = zudo::platform;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void writeFile(const fs::path& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out << content;
    // An installation's files are old: move the time out of the window in
    // which a rewrite could go unnoticed (see the POSIX profile cache).
    out.close();
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::minutes(10));
}

std::string settingsFile()
{
    std::string content;
    char line[96];
    for (int section = 0; content.size() < 150 * 1024; ++section) {
        std::snprintf(line, sizeof line, "[Car%03d]\r\n", section);
        content += line;
        for (int key = 0; key < 10; ++key) {
            std::snprintf(line, sizeof line, "setting%d = value %d of car %03d\r\n", key, key, section);
            content += line;
        }
    }
    return content;
}

void benchProfileReads(const fs::path& directory, int reads)
{
    const fs::path file = directory / "Settings.ini";
    const std::string content = settingsFile();
    writeFile(file, content);
    char value[4096];

    Clock::time_point start = Clock::now();
    zp::profileString("Car250", "setting5", "", value, sizeof value, file.string());
    const double firstRead = millisecondsSince(start);

    start = Clock::now();
    for (int i = 0; i < reads; ++i) {
        zp::profileString("Car250", "setting5", "", value, sizeof value, file.string());
    }
    const double sameKey = millisecondsSince(start);

    start = Clock::now();
    char section[16];
    for (int i = 0; i < reads; ++i) {
        std::snprintf(section, sizeof section, "car%03d", i % 400);
        zp::profileString(section, "SETTING7", "", value, sizeof value, file.string());
    }
    const double variedKeys = millisecondsSince(start);

    std::printf("ini file of %zu bytes\n", content.size());
    std::printf("  first read (parse):            %8.3f ms\n", firstRead);
    std::printf("  %d reads of one key:       %8.3f ms  (%.2f us per read)\n", reads, sameKey,
                1000.0 * sameKey / reads);
    std::printf("  %d reads, 400 sections:    %8.3f ms  (%.2f us per read)\n", reads, variedKeys,
                1000.0 * variedKeys / reads);
}

void benchPathLookups(const fs::path& directory, int lookups)
{
    const fs::path textures = directory / "Textures";
    fs::create_directory(textures);
    for (int i = 0; i < 2000; ++i) {
        std::ofstream(textures / ("Texture" + std::to_string(i) + ".DDS")).put('x');
    }
    std::error_code ignored; // Windows sets no time on a directory opened this way
    fs::last_write_time(textures, fs::last_write_time(textures) - std::chrono::minutes(10), ignored);
    const std::string base = directory.string();

    Clock::time_point start = Clock::now();
    int found = 0;
    for (int i = 0; i < lookups; ++i) {
        found += zp::fileExists(base + "\\textures\\texture" + std::to_string(i % 2000) + ".dds") ? 1 : 0;
    }
    const double otherCase = millisecondsSince(start);

    start = Clock::now();
    for (int i = 0; i < lookups; ++i) {
        found += zp::fileExists(base + "/Textures/Texture" + std::to_string(i % 2000) + ".DDS") ? 1 : 0;
    }
    const double sameCase = millisecondsSince(start);

    std::printf("directory of 2000 files, %d of %d lookups found\n", found, 2 * lookups);
    std::printf("  %d lookups in other letter case: %8.3f ms  (%.2f us each)\n", lookups, otherCase,
                1000.0 * otherCase / lookups);
    std::printf("  %d lookups as on disk:           %8.3f ms  (%.2f us each)\n", lookups, sameCase,
                1000.0 * sameCase / lookups);
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10'000;
    const fs::path directory = fs::temp_directory_path() / ("zudo-bench-" + std::to_string(zp::processId()));
    fs::create_directories(directory);
    benchProfileReads(directory, count);
    benchPathLookups(directory, count);
    fs::remove_all(directory);
    return 0;
}
