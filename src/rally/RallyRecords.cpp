// The records store: best-times files, one line per record, and the host's
// own results.

#include <locale>
#include <sstream>

#include "io/FileStreams.hpp"
#include "rally/CarCatalogue.hpp"
#include "rally/HostResults.hpp"
#include "rally/Rally.hpp"
#include "rally/Names.hpp"
#include "rally/RallyFile.hpp"
#include "tracks/StageCatalogue.hpp"
#include "util/Log.hpp"
#include "util/StreamNumbers.hpp"

namespace zudo::rally {

namespace {

constexpr int hotlapSurfaces = 3;

// The record that keeps a stage's result: a snapshot that later changes to
// the stage cannot reach.
StageTimePtr recordOf(const Stage& stage)
{
    auto record = std::make_shared<StageTime>(static_cast<const StageTime&>(stage));
    record->detachSharedParts();
    return record;
}

} // namespace

bool Rally::readBestTimes(const RecordKey& key, const std::function<void(StageTimePtr)>& take)
{
    const std::string path = RecordFile(*this, key).fullPath();
    std::ifstream in = io::openInputStream(path, io::StreamMode::Binary);
    if (!in.is_open()) {
        return true;
    }
    util::Log log;
    if (log.isEnabled()) {
        log << "zudo::rally::Rally::readBestTimes() - reading best times file " << path << util::endLog;
    }
    // One line stream for the whole file: making and imbuing a stream per
    // line cost more than reading the line.
    std::istringstream line;
    line.imbue(std::locale::classic());
    std::string text;
    while (io::readTextLine(in, text)) {
        line.clear();
        line.str(text);
        int version = 0;
        if (!util::readNumber(line, version) || !StageTime::isKnownFormatVersion(version)) {
            return false;
        }
        auto time = std::make_shared<StageTime>();
        time->setRally(this);
        time->setFormatVersion(version);
        line >> *time;
        take(std::move(time));
    }
    return true;
}

bool Rally::readBestTimes(const RecordKey& key, std::vector<StageTimePtr>& times)
{
    return readBestTimes(key, [&times](StageTimePtr time) { times.push_back(std::move(time)); });
}

bool Rally::loadRecords()
{
    if (stages_.empty()) {
        return false;
    }
    if (isHotlap_) {
        bool allRead = true;
        for (int surface = 0; surface < hotlapSurfaces; ++surface) {
            for (int tyres = 0; tyres < tyreCount; ++tyres) {
                // Each record goes to the stage as it is read: a hotlap's
                // file may hold a great many lines, of which the stage keeps
                // the last of each key.
                const auto keep = [&](StageTimePtr time) {
                    time->setTyres(tyres);
                    stages_.front()->addRecord(time);
                };
                allRead = readBestTimes(RecordKey{surface, tyres, 0, 0}, keep) && allRead;
            }
        }
        recordsReadable_ = allRead;
        return allRead;
    }
    std::vector<StageTimePtr> times;
    const bool read = readBestTimes(RecordKey{RecordKey::any, RecordKey::any, 0, 0}, times);
    for (std::size_t index = 0; index < times.size() && index < stages_.size(); ++index) {
        if (times[index]->stageNumber() != stages_[index]->stageNumber()) {
            recordsReadable_ = false;
            return false;
        }
        stages_[index]->addRecord(times[index]);
    }
    recordsReadable_ = read;
    return read;
}

bool Rally::fileFailure(std::string text)
{
    lastFileFailure_ = std::move(text);
    util::Log log;
    if (log.isEnabled()) {
        log << "zudo::rally::Rally::fileFailure() - " << lastFileFailure_ << "  rally = " << name_
            << util::endLog;
    }
    return false;
}

bool Rally::saveRecords()
{
    lastFileFailure_.clear();
    if (!isNewRecord()) {
        return false;
    }
    const RecordKey key = recordKey();
    io::ReplacingFile file(RecordFile(*this, key).fullPath());
    std::ostream& out = file.stream();
    out.imbue(std::locale::classic());
    // The file is written from copies of the stages with their new records;
    // the stages themselves take the records only once the file is in place,
    // so that a failed write leaves the attempt a new record that can be
    // saved again.
    std::vector<StageTimePtr> newRecords;
    for (const StagePtr& stage : stages_) {
        Stage withNewRecord(*stage);
        newRecords.push_back(recordOf(*stage));
        withNewRecord.addRecord(newRecords.back());
        for (const StageTimePtr& record : withNewRecord.recordsMatching(key)) {
            out << record->formatVersion() << ' ' << *record << '\n';
        }
    }
    if (!file.commit()) {
        return fileFailure(file.failure());
    }
    for (std::size_t index = 0; index < stages_.size(); ++index) {
        stages_[index]->addRecord(newRecords[index]);
    }
    return true;
}

std::optional<platform::CalendarTime> Rally::recordDate() const
{
    if (isHotlap_) {
        return std::nullopt;
    }
    const RecordKey key{RecordKey::any, RecordKey::any, 0, 0};
    if (auto current = RecordFile(*this, key).lastWriteTime()) {
        return current;
    }
    return RecordFile(*this, key, 0).lastWriteTime();
}

StageTimePtr HostResults::timesFor(std::int32_t stage) const
{
    const HostResult* result = find(stage);
    if (result == nullptr) {
        return nullptr;
    }
    auto time = std::make_shared<StageTime>();
    time->setStageNumber(result->stage);
    time->setDisplayName(tracks::StageCatalogue::instance().stageName(result->stage));
    time->setCarSlot(result->carSlot);
    time->setSplit(0, result->split1);
    time->setSplit(1, result->split2);
    time->setFinishTime(result->finish);
    time->setDriver(result->driver);
    return time;
}

StageTimePtr HostResults::resultFor(std::int32_t stage) const
{
    StageTimePtr time = timesFor(stage);
    if (time) {
        time->setCarName(CarCatalogue::instance().displayName(time->carSlot()));
    }
    return time;
}

} // namespace zudo::rally
