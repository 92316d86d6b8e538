#include "rally/Rally.hpp"

#include <functional>

#include "rally/RallyList.hpp"
#include "rally/Times.hpp"
#include "tracks/StageCatalogue.hpp"

namespace zudo::rally {

Rally::Rally(std::string name, std::string configPath)
    : name_(std::move(name)), configPath_(std::move(configPath))
{
    if (!loadConfig(configPath_) || stages_.empty()) {
        name_ += " (invalid!)";
    }
}

Rally::Rally(std::int32_t stageNumber, int weatherMode, int tyres)
    : name_(tracks::StageCatalogue::instance().stageName(stageNumber)), isHotlap_(true)
{
    auto stage = std::make_shared<Stage>(this, stageNumber, weatherMode, tyres, std::string());
    stage->setService(ServiceInfo(4, 4, 40.0F, false));
    addStage(std::move(stage));
}

Rally::~Rally() = default;

StagePtr Rally::stage(std::size_t index) const
{
    return index < stages_.size() ? stages_[index] : nullptr;
}

std::optional<std::size_t> Rally::indexOf(const Stage& stage) const
{
    for (std::size_t index = 0; index < stages_.size(); ++index) {
        if (stages_[index].get() == &stage) {
            return index;
        }
    }
    return std::nullopt;
}

void Rally::addStage(StagePtr stage)
{
    if (stage) {
        stage->setRally(this);
        stages_.push_back(std::move(stage));
        ++stageGeneration_;
    }
}

void Rally::clearStages()
{
    stages_.clear();
    ++stageGeneration_;
}

std::vector<std::int32_t> Rally::stageNumbers() const
{
    std::vector<std::int32_t> numbers;
    for (const StagePtr& stage : stages_) {
        numbers.push_back(stage->stageNumber());
    }
    return numbers;
}

bool Rally::allDriven() const
{
    for (const StagePtr& stage : stages_) {
        if (!stage->driven()) {
            return false;
        }
    }
    return true;
}

bool Rally::noneDriven() const
{
    return drivenCount() == 0;
}

bool Rally::anyDnf() const
{
    for (const StagePtr& stage : stages_) {
        if (stage->isDnf()) {
            return true;
        }
    }
    return false;
}

std::size_t Rally::drivenCount() const
{
    std::size_t count = 0;
    for (const StagePtr& stage : stages_) {
        count += stage->driven() ? 1 : 0;
    }
    return count;
}

float Rally::totalTime() const
{
    float total = 0.0F;
    for (const StagePtr& stage : stages_) {
        if (!stage->isFinished()) {
            return 0.0F;
        }
        total += stage->totalTime();
    }
    return total;
}

float Rally::recordTotal() const
{
    float total = 0.0F;
    for (const StagePtr& stage : stages_) {
        const StageTimePtr record = stage->currentRecord();
        if (!record) {
            return 0.0F;
        }
        total += record->totalTime();
    }
    return total;
}

bool Rally::isNewRecord() const
{
    if (!allDriven()) {
        return false;
    }
    const float total = totalTime();
    const float record = recordTotal();
    return total != 0.0F && (record == 0.0F || total < record);
}

float Rally::sumOfTotals() const
{
    return sumOverStages([](Stage& stage) { return stage.totalTime(); });
}

float Rally::sumOfRecordTotals() const
{
    return sumOverStages([](Stage& stage) { return stage.recordTotal(); });
}

float Rally::sumOfRecordDifferences() const
{
    return sumOverStages([](Stage& stage) { return stage.recordDifference(); });
}

float Rally::sumOfHostResultTotals() const
{
    return sumOverStages([](Stage& stage) { return stage.hostResultTotal(); });
}

float Rally::sumOfHostResultDifferences() const
{
    return sumOverStages([](Stage& stage) { return stage.hostResultDifference(); });
}

float Rally::sumOverStages(const std::function<float(Stage&)>& value) const
{
    float sum = 0.0F;
    for (const StagePtr& stage : stages_) {
        sum += value(*stage);
    }
    return sum;
}

float Rally::sumOfBestTotals(bool anySurface, const RallyList& list) const
{
    return sumOverStages([&](Stage& stage) {
        const StageTimePtr best = bestAcrossRallies(stage, anySurface, list);
        return best ? best->totalTime() : 0.0F;
    });
}

float Rally::sumOfBestDifferences(bool anySurface, const RallyList& list) const
{
    return sumOverStages([&](Stage& stage) {
        if (!(stage.finishTime() > 0.0F)) {
            return 0.0F;
        }
        const StageTimePtr best = bestAcrossRallies(stage, anySurface, list);
        return best ? timeDifference(stage.totalTime(), best->totalTime()) : 0.0F;
    });
}

StageTimePtr Rally::bestAcrossRallies(Stage& stage, bool anySurface, const RallyList& list)
{
    const int surface = anySurface ? RecordKey::any : stage.surface();
    return list.bestTimeOnStage(stage.displayName(), surface);
}

RecordKey Rally::recordKey() const
{
    if (!isHotlap_ || stages_.empty()) {
        return RecordKey{};
    }
    const StagePtr& first = stages_.front();
    return RecordKey{first->surface(), first->tyres(), RecordKey::any, RecordKey::any};
}

} // namespace zudo::rally
