#pragma once
// Every hotlap and rally the plug-in offers: the built-in hotlaps of the
// host's stock stages, then one rally or hotlap per definition file in
// "Plugins/Zuzuzevo", in the order the directory lists them. Built once; files
// added later are seen after the host is restarted.

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "rally/Rally.hpp"

namespace zudo::rally {

class RallyList {
public:
    using Rallies = std::deque<RallyPtr>;

    // The process's list, built on the first call.
    static RallyList& instance();

    // An empty list; build() fills it.
    RallyList() = default;
    virtual ~RallyList();
    RallyList(const RallyList&) = delete;
    RallyList& operator=(const RallyList&) = delete;

    // Built-in hotlaps, then the definition files; drops rallies without
    // stages and loads the records of the others.
    void build();
    void addBuiltInHotlaps();
    // The definition files "*.srp" of a directory below the host directory
    // ("Plugins/Zuzuzevo"); nothing when it does not exist.
    void addDefinitionFiles(const std::string& directory);
    void removeRalliesWithoutStages();
    void loadAllRecords();
    void add(RallyPtr rally);

    Rallies::const_iterator begin() const { return rallies_.begin(); }
    Rallies::const_iterator end() const { return rallies_.end(); }
    std::size_t size() const { return rallies_.size(); }
    const RallyPtr& at(std::size_t index) const { return rallies_.at(index); }

    // The best time on a stage across all rallies: of every stage whose
    // display name equals displayName (letter case ignored), its best record
    // on surface (-1: any surface); the smallest finish time above 0 wins, the
    // first of equal ones. Null when there is none.
    StageTimePtr bestTimeOnStage(const std::string& displayName, int surface) const;

private:
    // Where each display name (letter case folded) occurs: the rally and the
    // stage's position. Made on the first query and again after the rallies
    // or their stage objects changed.
    struct StagePlace {
        const Rally* rally;
        std::size_t index;
    };
    using NameIndex = std::unordered_map<std::string, std::vector<StagePlace>>;
    const NameIndex& nameIndex() const;
    StageTimePtr findBestTimeOnStage(const std::string& foldedName, int surface) const;
    std::uint64_t stagesGeneration() const;

    Rallies rallies_;
    // Best times found, by folded display name and surface; valid while no
    // stage object and no record has changed since.
    mutable std::unordered_map<std::string, StageTimePtr> bestTimes_;
    mutable std::uint64_t bestTimesStages_ = 0;
    mutable std::uint64_t bestTimesRecords_ = 0;
    mutable NameIndex nameIndex_;
    mutable std::uint64_t indexedGeneration_ = 0;
    mutable bool indexed_ = false;
};

} // namespace zudo::rally
