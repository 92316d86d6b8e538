#pragma once
// The game's own results file, SavedGames/pfresult.rst, as the game writes
// it: a 12-byte header, then one 52-byte record a stage (little-endian): stage
// number, car slot, split 1, split 2 and finish time as floats, the driver's
// name in 20 bytes (cut, or filled up with NULs), 12 bytes the reader passes
// over.

#include <cstdint>
#include <cstring>
#include <string>

namespace zudo::test {

inline void appendGameResultWord(std::string& bytes, std::uint32_t word)
{
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<char>((word >> shift) & 0xFFU));
    }
}

inline std::string gameResultsHeader(char fill = '\0') { return std::string(12, fill); }

// One record; fill is the value of its last 12 bytes.
inline std::string gameResultRecord(std::int32_t stage, std::int32_t car, float split1, float split2,
                                    float finish, const std::string& driver, char fill = '\0')
{
    std::string bytes;
    appendGameResultWord(bytes, static_cast<std::uint32_t>(stage));
    appendGameResultWord(bytes, static_cast<std::uint32_t>(car));
    for (const float value : {split1, split2, finish}) {
        std::uint32_t word = 0;
        std::memcpy(&word, &value, sizeof word);
        appendGameResultWord(bytes, word);
    }
    std::string name = driver.substr(0, 20);
    name.resize(20, '\0');
    return bytes + name + std::string(12, fill);
}

} // namespace zudo::test
