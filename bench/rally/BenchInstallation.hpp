#pragma once
// An installation with many rally files for the benchmarks: "Rally 0" ...,
// 10 stages each, each with its best-times file.

#include <filesystem>
#include <fstream>
#include <string>

namespace zudo::bench {

using namespace std::string_literals;

inline constexpr int stagesPerRally = 10;

// Stage k of every rally has the same display name, so each best-time query
// finds a candidate in every rally.
inline void writeRallyFiles(const std::filesystem::path& host, int rallies)
{
    const auto plugins = host / "Plugins" / "Zuzuzevo";
    std::filesystem::create_directories(plugins);
    for (int r = 0; r < rallies; ++r) {
        const std::string name = "Rally " + std::to_string(r);
        std::ofstream definition(plugins / (name + ".srp"), std::ios::binary);
        std::ofstream times(plugins / (name + ".tm2"), std::ios::binary);
        definition << "# bench rally\nweather good\ntyres gravel dry\nmechanics 4\nskill 3\n";
        for (int s = 0; s < stagesPerRally; ++s) {
            const int stage = 20 + (r + s) % 40;
            definition << "conditions " << (s % 3) << "\nsurface " << (s % 3) << "\nservice 30\n";
            definition << "stage " << stage << " Special Stage " << s << "\n";
            const int finish = 60000 + (r * 7919 + s * 104729) % 240000;
            times << "3 " << stage << " 0 " << finish / 3 << ' ' << finish / 2 << ' ' << finish
                  << " 0 3 133543050415000000 3 Car\0Default\0Special Stage "s << s << "\0Driver\0"s
                  << "0 0 0 " << (s % 3) << ' ' << (s % 3) << " 1 \n";
        }
    }
}

} // namespace zudo::bench
