#pragma once
// The host's own best results, read from its file "SavedGames/pfresult.rst":
// a 12-byte header, then records of 52 bytes (little-endian) until a record
// with stage number 0 or the end of the file. Every stage result is compared
// with these too.

#include <cstdint>
#include <istream>
#include <map>
#include <memory>
#include <string>

namespace zudo::rally {

class StageTime;

struct HostResult {
    static constexpr std::uint32_t headerSize = 12;
    static constexpr std::uint32_t recordSize = 52;
    static constexpr std::uint32_t driverSize = 20; // the last byte is always taken as NUL

    std::int32_t stage = 0;
    std::int32_t carSlot = 0;
    float split1 = 0.0F;
    float split2 = 0.0F;
    float finish = 0.0F;
    std::string driver;
};

class HostResults {
public:
    // The process's one map, empty until reload() is called.
    static HostResults& instance();

    // Reads the host's file below the host directory again. False when it
    // cannot be opened (the map is then empty).
    bool reload();
    // Replaces the map with the records of a stream positioned at the file's
    // start. A stream shorter than the header, or ending inside a record,
    // gives the whole records before that point. For a stage listed twice the
    // first record counts.
    void read(std::istream& in);
    void clear() { results_.clear(); }

    const HostResult* find(std::int32_t stage) const;
    std::size_t size() const { return results_.size(); }

    // The host's result for a stage as a time of its own (car slot kept only
    // when it is 0..7, car name from the car catalogue), or none.
    std::shared_ptr<StageTime> resultFor(std::int32_t stage) const;
    // The same without the car name, for comparing times: the name comes from
    // the settings file, a read that the standings would make for every row
    // of every rebuild.
    std::shared_ptr<StageTime> timesFor(std::int32_t stage) const;

    // Where the host keeps the file, below the host directory.
    static std::string filePath();

private:
    std::map<std::int32_t, HostResult> results_;
};

} // namespace zudo::rally
