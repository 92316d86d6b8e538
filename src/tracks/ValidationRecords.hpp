#pragma once
// The texture check's results kept between runs in TrackValidation.ini:
// section Map05, Map10, ...; key tint letter/surface/wear (M/dry/new); value
// 2 not checked yet (also when missing), 1 all textures present, 0 some
// missing.
//
// A stage's section is read in one go when first needed and kept; changes are
// kept with it and written by flush(), all changed sections in one write, so
// a run that records thousands of results rewrites the file a few times
// instead of once per result. flushIfDue() writes at most twice a second:
// a crash loses at most the last half second of checks (they are made again
// by the next run), never what was written before.

#include <chrono>
#include <cstdint>
#include <optional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zudo::tracks {

class ValidationRecords {
public:
    static constexpr int notChecked = 2;
    static constexpr int complete = 1;
    static constexpr int missing = 0;

    explicit ValidationRecords(std::string iniPath);
    // Writes what is still pending.
    virtual ~ValidationRecords();
    ValidationRecords(const ValidationRecords&) = delete;
    ValidationRecords& operator=(const ValidationRecords&) = delete;

    // The recorded value (the leading integer of the text), or notChecked.
    int value(std::int32_t stage, const std::string& key);
    void set(std::int32_t stage, const std::string& key, int value);
    // Writes every changed section; false when the write failed (the changes
    // stay pending).
    bool flush();
    // flush() when nothing was written yet or the last write is half a second old.
    bool flushIfDue();

    const std::string& path() const { return path_; }

private:
    struct Entry {
        std::string line; // as read or written: "key=value", or a line without "="
        std::string key;  // trimmed; empty for a line without "="
        std::string value;
    };
    struct Section {
        std::vector<Entry> entries;
        bool changed = false;
    };

    Section& section(std::int32_t stage);
    static Entry* find(Section& section, const std::string& key);

    std::string path_;
    std::map<std::int32_t, Section> sections_;
    // The platform copies a section into it; made once, as it is large.
    std::vector<char> sectionBuffer_;
    std::optional<std::chrono::steady_clock::time_point> lastFlush_;
};

} // namespace zudo::tracks
