#pragma once
// The key under which a stage keeps a record: the surface, tyres, conditions
// and track wear the time was driven with. In a query -1 matches any value.

#include <compare>

namespace zudo::rally {

struct RecordKey {
    static constexpr int any = -1;

    int surface = any;
    int tyres = any;
    int conditions = any;
    int track = any;

    // Lexicographic in the order surface, tyres, conditions, track.
    auto operator<=>(const RecordKey&) const = default;

    // Every component of this query is -1 or equal to the key's.
    bool matches(const RecordKey& key) const;
    // No component is a wildcard: the query names exactly one record.
    bool isExact() const;
};

} // namespace zudo::rally
