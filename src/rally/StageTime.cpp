#include "rally/StageTime.hpp"

#include "rally/Names.hpp"
#include "rally/NulEndedStrings.hpp"
#include "rally/Times.hpp"
#include "tracks/StageCatalogue.hpp"
#include "tracks/TextForms.hpp"
#include "util/StreamNumbers.hpp"

namespace zudo::rally {

namespace {

constexpr int weatherModeCount = 3;

int inRangeOrZero(int value, int count)
{
    return value >= 0 && value < count ? value : 0;
}

float fromMilliseconds(std::int32_t milliseconds)
{
    return static_cast<float>(milliseconds * 0.001);
}

int cycled(int value, int count, bool forward)
{
    return forward ? (value + 1) % count : (value + count - 1) % count;
}

} // namespace

std::int64_t dateToFileTime(const platform::CalendarTime& date)
{
    std::int64_t fileTime = 0;
    if (date == platform::CalendarTime() || !platform::calendarToFileTime(date, fileTime)) {
        return 0;
    }
    return fileTime;
}

platform::CalendarTime fileTimeToDate(std::int64_t fileTime)
{
    platform::CalendarTime date;
    if (fileTime == 0 || !platform::fileTimeToCalendar(fileTime, date)) {
        return platform::CalendarTime();
    }
    return date;
}

StageTime::StageTime() : StageTime(nullptr, defaultStageNumber, 0, 0, std::string()) {}

StageTime::StageTime(Rally* rally, std::int32_t stageNumber, int weatherMode, int tyres,
                     const std::string& displayName)
    : stageNumber_(stageNumber),
      weatherMode_(inRangeOrZero(weatherMode, weatherModeCount)),
      displayName_(displayName),
      rally_(rally)
{
    resetWithTyres(tyres);
}

StageTime::~StageTime() = default;

void StageTime::resetWithTyres(int tyres)
{
    splits_ = {};
    finishTime_ = 0.0F;
    setTyres(tyres);
    date_ = platform::CalendarTime();
    if (displayName_.empty()) {
        displayName_ = tracks::StageCatalogue::instance().stageName(stageNumber_);
    }
    condition_ = std::make_shared<tracks::TrackCondition>(stageNumber_);
    trackOverride_ = std::make_shared<tracks::TrackOverride>();
    trackOverride_->map = stageNumber_;
}

void StageTime::setStageNumber(std::int32_t number)
{
    stageNumber_ = number;
    if (condition_) {
        condition_->stage = number;
    }
    if (trackOverride_) {
        trackOverride_->map = number;
    }
}

void StageTime::setWeatherMode(int mode)
{
    weatherMode_ = inRangeOrZero(mode, weatherModeCount);
}

void StageTime::cycleWeatherMode(bool forward)
{
    const int previous = weatherMode_;
    weatherMode_ = cycled(inRangeOrZero(weatherMode_, weatherModeCount), weatherModeCount, forward);
    if (weatherMode_ == previous || !trackOverride_) {
        return;
    }
    const TrackConditionPtr chosen = conditionChoice().select(*trackOverride_, weatherMode_);
    // A track without known conditions keeps the configured one.
    if (chosen && chosen->valid) {
        condition_ = std::make_shared<tracks::TrackCondition>(*chosen);
    }
}

float StageTime::split(int index) const
{
    return index == 0 || index == 1 ? splits_[static_cast<std::size_t>(index)] : 0.0F;
}

void StageTime::setSplit(int index, float seconds)
{
    if (index == 0 || index == 1) {
        splits_[static_cast<std::size_t>(index)] = seconds;
    }
}

void StageTime::setTyres(int tyres)
{
    tyres_ = inRangeOrZero(tyres, tyreCount);
}

void StageTime::cycleTyres(bool forward)
{
    tyres_ = cycled(inRangeOrZero(tyres_, tyreCount), tyreCount, forward);
}

void StageTime::setCarSlot(int slot)
{
    if (slot >= 0 && slot <= 7) {
        carSlot_ = slot;
    }
}

void StageTime::detachSharedParts()
{
    if (condition_) {
        condition_ = std::make_shared<tracks::TrackCondition>(*condition_);
    }
    if (trackOverride_) {
        trackOverride_ = std::make_shared<tracks::TrackOverride>(*trackOverride_);
    }
}

TrackConditionPtr StageTime::resolvedCondition()
{
    if (!condition_ || !trackOverride_) {
        return condition_;
    }
    TrackConditionPtr chosen;
    if (condition_->conditions < 0) {
        chosen = conditionChoice().select(*trackOverride_, weatherMode_);
    } else if (!condition_->valid) {
        chosen = conditionChoice().closest(*trackOverride_, condition_);
    }
    // Only a valid condition replaces the stored one: the fallback for a track
    // without known conditions holds nothing but the stage, and copying it in
    // would erase the conditions a record was driven in.
    if (chosen && chosen->valid && chosen != condition_) {
        *condition_ = *chosen;
    }
    return condition_;
}

int StageTime::surface()
{
    const TrackConditionPtr resolved = resolvedCondition();
    return resolved ? resolved->surface : -1;
}

int StageTime::conditions()
{
    const TrackConditionPtr resolved = resolvedCondition();
    return resolved ? resolved->conditions : -1;
}

int StageTime::track()
{
    const TrackConditionPtr resolved = resolvedCondition();
    return resolved ? resolved->track : -1;
}

RecordKey StageTime::recordKey()
{
    const TrackConditionPtr resolved = resolvedCondition();
    if (!resolved) {
        return RecordKey{-1, tyres_, -1, -1};
    }
    return RecordKey{resolved->surface, tyres_, resolved->conditions, resolved->track};
}

float StageTime::addPenalty(float seconds)
{
    penalty_ += seconds;
    return penalty_;
}

void StageTime::write(std::ostream& out) const
{
    out << stageNumber_ << ' ' << weatherMode_ << ' ' << wholeMilliseconds(splits_[0]) << ' '
        << wholeMilliseconds(splits_[1]) << ' ' << wholeMilliseconds(finishTime_) << ' ';
    if (formatVersion_ >= 3) {
        out << wholeSeconds(penalty_) << ' ';
    }
    out << tyres_ << ' ' << dateToFileTime(date_) << ' ' << carSlot_ << ' ';
    writeNulEnded(out, carName_);
    writeNulEnded(out, setupName_);
    writeNulEnded(out, displayName_);
    writeNulEnded(out, driver_);
    if (formatVersion_ >= 2) {
        out << (condition_ ? *condition_ : tracks::TrackCondition(stageNumber_));
    }
}

void StageTime::read(std::istream& in)
{
    tracks::readThrowing(
        in, "operator>>(istream,StageTime)",
        [this](const std::string& error) {
            return "failed to de-serialize StageTime " + displayName_ + ": " + error;
        },
        [&] { readFields(in); });
}

void StageTime::readFields(std::istream& in)
{
    using util::readNumber;
    std::int32_t number = 0;
    readNumber(in, number);
    setStageNumber(number);
    readNumber(in, weatherMode_);
    for (float* time : {&splits_[0], &splits_[1], &finishTime_}) {
        std::int32_t milliseconds = 0;
        readNumber(in, milliseconds);
        *time = fromMilliseconds(milliseconds);
    }
    if (formatVersion_ > 2) {
        std::int32_t seconds = 0;
        readNumber(in, seconds);
        penalty_ = static_cast<float>(seconds);
    }
    readNumber(in, tyres_);
    std::int64_t fileTime = 0;
    readNumber(in, fileTime);
    date_ = fileTimeToDate(fileTime);
    readNumber(in, carSlot_);
    in.get(); // the blank after the car slot
    readNulEnded(in, carName_);
    readNulEnded(in, setupName_);
    readNulEnded(in, displayName_);
    readNulEnded(in, driver_);
    if (formatVersion_ > 1) {
        auto condition = std::make_shared<tracks::TrackCondition>(stageNumber_);
        in >> *condition;
        if (!in.fail()) {
            condition_ = std::move(condition);
        }
    }
}

} // namespace zudo::rally
