#include "rally/Stage.hpp"

#include "rally/CarCatalogue.hpp"
#include "rally/HostResults.hpp"
#include "rally/Rally.hpp"
#include "rally/Times.hpp"
#include "tracks/TextForms.hpp"

namespace zudo::rally {

Stage::Stage(Rally* rally, std::int32_t stageNumber, int weatherMode, int tyres,
             const std::string& displayName)
    : StageTime(rally, stageNumber, weatherMode, tyres, displayName)
{
}

Stage::~Stage() = default;

bool Stage::isDnf() const
{
    return driven_ && finishTime() == 0.0F;
}

bool Stage::isFinished() const
{
    return driven_ && finishTime() > 0.0F;
}

void Stage::reset()
{
    driven_ = false;
    setPenalty(0.0F);
    setSplit(0, 0.0F);
    setSplit(1, 0.0F);
    setFinishTime(0.0F);
    service_.setUsed(false);
}

void Stage::takeResult(float split1, float split2, float finish, const std::string& driver)
{
    driven_ = true;
    setFormatVersion(currentFormatVersion);
    setSplit(0, split1);
    setSplit(1, split2);
    setFinishTime(finish);
    setDate(platform::localTime());
    const CarCatalogue& cars = CarCatalogue::instance();
    if (const CarPtr car = cars.selectedCar()) {
        setCarSlot(car->slot());
        setCarName(car->model());
        setSetupName(car->setupName());
    }
    setDriver(driver);
}

void Stage::addRecord(const StageTimePtr& time)
{
    if (!time) {
        return;
    }
    if (rally() == nullptr || !rally()->isHotlap()) {
        records_.clear();
    }
    records_[time->recordKey()] = time;
    ++recordsGeneration_;
}

std::vector<StageTimePtr> Stage::recordsMatching(const RecordKey& query) const
{
    std::vector<StageTimePtr> matching;
    for (const auto& [key, time] : records_) {
        if (query.matches(key)) {
            matching.push_back(time);
        }
    }
    return matching;
}

StageTimePtr Stage::bestRecord(const RecordKey& query) const
{
    if (query.isExact()) {
        const auto found = records_.find(query);
        return found == records_.end() ? nullptr : found->second;
    }
    StageTimePtr best;
    for (const auto& [key, time] : records_) {
        if (!query.matches(key) || !(time->finishTime() > 0.0F)) {
            continue;
        }
        if (!best || time->finishTime() < best->finishTime()) {
            best = time;
        }
    }
    return best;
}

StageTimePtr Stage::currentRecord()
{
    if (rally() != nullptr && rally()->isHotlap()) {
        return bestRecord(recordKey());
    }
    return records_.empty() ? nullptr : records_.begin()->second;
}

float Stage::differenceTo(const StageTimePtr& other) const
{
    if (!(finishTime() > 0.0F) || !other) {
        return 0.0F;
    }
    return timeDifference(totalTime(), other->totalTime());
}

float Stage::recordTotal()
{
    const StageTimePtr record = currentRecord();
    return record ? record->totalTime() : 0.0F;
}

float Stage::recordDifference()
{
    return differenceTo(currentRecord());
}

float Stage::hostResultTotal() const
{
    const StageTimePtr result = HostResults::instance().timesFor(stageNumber());
    return result ? result->totalTime() : 0.0F;
}

float Stage::hostResultDifference() const
{
    const StageTimePtr result = HostResults::instance().timesFor(stageNumber());
    if (!result || !(result->totalTime() > 0.0F)) {
        return 0.0F;
    }
    return differenceTo(result);
}

float Stage::bestRecordDifference(const RecordKey& query) const
{
    return differenceTo(bestRecord(query));
}

void Stage::writeProgress(std::ostream& out) const
{
    write(out);
    out << ' ' << (driven_ ? 1 : 0) << ' ' << setupSlot_ << ' ';
    if (formatVersion() >= 3) {
        out << service_;
    }
}

void Stage::readProgress(std::istream& in)
{
    read(in);
    if (in.fail()) {
        return;
    }
    tracks::readThrowing(
        in, "operator>>(istream,Stage)",
        [](const std::string& error) { return "failed to de-serialize Stage: " + error; },
        [&] {
            int driven = 0;
            in >> driven;
            driven_ = driven == 1;
            in >> setupSlot_;
            if (formatVersion() > 2) {
                in >> service_;
            }
        });
}

} // namespace zudo::rally
