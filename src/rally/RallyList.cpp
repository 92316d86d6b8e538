#include "rally/RallyList.hpp"

#include <array>
#include <cstdio>

#include "config/SettingFiles.hpp"
#include "platform/Platform.hpp"
#include "util/LowerCase.hpp"

namespace zudo::rally {

namespace {

constexpr int gravelDry = 3;
constexpr int tarmacDry = 0;
constexpr int snow = 6;

// A row of built-in hotlaps: its stages exist on every installation unless a
// tint-set letter names the track file they need.
struct BuiltInRow {
    std::initializer_list<std::int32_t> stages;
    int tyres;
    const char* tintSet; // empty: always there
};

const std::array<BuiltInRow, 20>& builtInRows()
{
    static const std::array<BuiltInRow, 20> rows{{
        {{71, 72}, gravelDry, ""},
        {{90}, gravelDry, "M"},
        {{10, 11, 12, 13, 14, 15}, snow, ""},
        {{16, 17}, snow, "O"},
        {{20, 21, 22, 23, 24, 25}, gravelDry, ""},
        {{26, 27}, gravelDry, "O"},
        {{31, 32, 33, 34, 35, 36}, gravelDry, ""},
        {{30}, gravelDry, "M"},
        {{37}, gravelDry, "N"},
        {{41, 42, 43, 44, 45, 46}, tarmacDry, ""},
        {{47, 48}, tarmacDry, "O"},
        {{51, 52, 53, 54, 55, 56}, gravelDry, ""},
        {{50, 57}, gravelDry, "O"},
        {{61, 62, 63, 64, 65, 66}, gravelDry, ""},
        {{60, 67}, gravelDry, "O"},
        {{94}, tarmacDry, "O"},
        {{107}, gravelDry, "O"},
        {{81, 87, 83, 82, 80, 78, 77, 76, 84}, gravelDry, ""},
        {{85, 86, 73}, tarmacDry, ""},
        {{88, 89, 75, 74}, gravelDry, ""},
    }};
    return rows;
}

bool hostHasTrackFile(std::int32_t stage, const char* tintSet)
{
    std::array<char, 260> path{};
    std::snprintf(path.data(), path.size(), "Maps/track-%02d_%s.dls", static_cast<int>(stage), tintSet);
    return platform::accessFile(config::hostPath(path.data()), 0) == 0;
}

} // namespace

RallyList& RallyList::instance()
{
    // Kept until the process ends and never destroyed: the rallies' damage
    // records live in host memory, which may be gone when statics are torn
    // down.
    static RallyList* const list = [] {
        auto* built = new RallyList();
        built->build();
        return built;
    }();
    return *list;
}

RallyList::~RallyList() = default;

void RallyList::build()
{
    addBuiltInHotlaps();
    addDefinitionFiles(std::string(config::pluginDirectory));
    removeRalliesWithoutStages();
    loadAllRecords();
}

void RallyList::addBuiltInHotlaps()
{
    for (const BuiltInRow& row : builtInRows()) {
        for (const std::int32_t stage : row.stages) {
            if (row.tintSet[0] == '\0' || hostHasTrackFile(stage, row.tintSet)) {
                add(std::make_shared<Rally>(stage, 0, row.tyres));
            }
        }
    }
}

void RallyList::addDefinitionFiles(const std::string& directory)
{
    platform::DirectorySearch search;
    platform::FindData entry;
    if (!search.first(config::hostPath(directory + "/*.srp"), entry)) {
        return;
    }
    do {
        if (entry.directory) {
            continue;
        }
        const std::string::size_type dot = entry.name.rfind('.');
        const std::string name = dot == std::string::npos ? entry.name : entry.name.substr(0, dot);
        add(std::make_shared<Rally>(name, directory + "/" + entry.name));
    } while (search.next(entry));
    search.close();
}

void RallyList::removeRalliesWithoutStages()
{
    std::erase_if(rallies_, [](const RallyPtr& rally) { return rally->stageCount() == 0; });
    indexed_ = false;
}

void RallyList::loadAllRecords()
{
    for (const RallyPtr& rally : rallies_) {
        rally->loadRecords();
    }
}

void RallyList::add(RallyPtr rally)
{
    if (rally) {
        rallies_.push_back(std::move(rally));
        indexed_ = false;
    }
}

std::uint64_t RallyList::stagesGeneration() const
{
    std::uint64_t generation = rallies_.size();
    for (const RallyPtr& rally : rallies_) {
        generation += rally->stageGeneration();
    }
    return generation;
}

const RallyList::NameIndex& RallyList::nameIndex() const
{
    const std::uint64_t generation = stagesGeneration();
    if (indexed_ && generation == indexedGeneration_) {
        return nameIndex_;
    }
    nameIndex_.clear();
    for (const RallyPtr& rally : rallies_) {
        for (std::size_t index = 0; index < rally->stageCount(); ++index) {
            nameIndex_[util::lowerCase(rally->stage(index)->displayName(), std::locale::classic())].push_back({rally.get(), index});
        }
    }
    indexedGeneration_ = generation;
    indexed_ = true;
    return nameIndex_;
}

// The standings ask for the same stages again at every change of the page:
// with a thousand rallies one walk over the stages of a name is far dearer
// than keeping what it found until a stage or a record changes.
StageTimePtr RallyList::bestTimeOnStage(const std::string& displayName, int surface) const
{
    const std::uint64_t stages = stagesGeneration();
    const std::uint64_t records = Stage::recordsGeneration();
    if (stages != bestTimesStages_ || records != bestTimesRecords_ || !indexed_) {
        bestTimes_.clear();
        bestTimesStages_ = stages;
        bestTimesRecords_ = records;
    }
    std::string foldedName = util::lowerCase(displayName, std::locale::classic());
    std::string key = foldedName + '\n' + std::to_string(surface);
    const auto known = bestTimes_.find(key);
    if (known != bestTimes_.end()) {
        return known->second;
    }
    StageTimePtr best = findBestTimeOnStage(foldedName, surface);
    bestTimes_.emplace(std::move(key), best);
    return best;
}

StageTimePtr RallyList::findBestTimeOnStage(const std::string& foldedName, int surface) const
{
    const NameIndex& index = nameIndex();
    const auto places = index.find(foldedName);
    if (places == index.end()) {
        return nullptr;
    }
    const RecordKey query{surface, RecordKey::any, RecordKey::any, RecordKey::any};
    StageTimePtr best;
    for (const StagePlace& place : places->second) {
        const StageTimePtr candidate = place.rally->stages()[place.index]->bestRecord(query);
        if (candidate && candidate->finishTime() > 0.0F &&
            (!best || candidate->finishTime() < best->finishTime())) {
            best = candidate;
        }
    }
    return best;
}

} // namespace zudo::rally
