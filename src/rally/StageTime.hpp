#pragma once
// One configured stage and its latest result: stage number, weather mode,
// tyres, the splits and finish time with the date, car, setup and driver they
// were driven with, and the track condition and track the stage is driven on.
// Copies share the condition and the track override.

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "platform/Platform.hpp"
#include "rally/ConditionChoice.hpp"
#include "rally/RecordKey.hpp"

namespace zudo::rally {

class Rally;

class StageTime {
public:
    static constexpr int currentFormatVersion = 3;
    static constexpr int defaultStageNumber = 71;

    // Stage 71, weather mode 0, tyres 0: filled from a file afterwards.
    StageTime();
    // Weather mode and tyres outside their ranges become 0; an empty display
    // name becomes the stage's catalogue name.
    StageTime(Rally* rally, std::int32_t stageNumber, int weatherMode, int tyres,
              const std::string& displayName);
    StageTime(const StageTime&) = default;
    StageTime& operator=(const StageTime&) = default;
    virtual ~StageTime();

    // No result any more: splits, finish time and date cleared, tyres set; a
    // new condition and a new track override for the stage.
    void resetWithTyres(int tyres);

    std::int32_t stageNumber() const { return stageNumber_; }
    // Also the stage of the condition and of the track override.
    void setStageNumber(std::int32_t number);

    // 0 Good, 1 Random, 2 Bad.
    int weatherMode() const { return weatherMode_; }
    void setWeatherMode(int mode);
    // Forward 0, 1, 2, 0; backward 0, 2, 1, 0. A change puts the track's
    // condition for the new mode in place.
    void cycleWeatherMode(bool forward);

    // Splits 0 and 1; other indexes read 0 and are not set.
    float split(int index) const;
    void setSplit(int index, float seconds);
    float finishTime() const { return finishTime_; }
    void setFinishTime(float seconds) { finishTime_ = seconds; }

    // 0..6; other values become 0.
    int tyres() const { return tyres_; }
    void setTyres(int tyres);
    void cycleTyres(bool forward);

    const platform::CalendarTime& date() const { return date_; }
    void setDate(const platform::CalendarTime& date) { date_ = date; }

    // 0..7, or -1 for none; other values are ignored.
    int carSlot() const { return carSlot_; }
    void setCarSlot(int slot);

    const std::string& carName() const { return carName_; }
    void setCarName(const std::string& name) { carName_ = name; }
    const std::string& setupName() const { return setupName_; }
    void setSetupName(const std::string& name) { setupName_ = name; }
    const std::string& displayName() const { return displayName_; }
    void setDisplayName(const std::string& name) { displayName_ = name; }
    const std::string& driver() const { return driver_; }
    void setDriver(const std::string& driver) { driver_ = driver; }

    Rally* rally() const { return rally_; }
    void setRally(Rally* rally) { rally_ = rally; }

    // Versions 1 to currentFormatVersion: those a line of a file may name.
    static bool isKnownFormatVersion(int version) { return version >= 1 && version <= currentFormatVersion; }
    int formatVersion() const { return formatVersion_; }
    void setFormatVersion(int version) { formatVersion_ = version; }

    const TrackConditionPtr& condition() const { return condition_; }
    void setCondition(TrackConditionPtr condition) { condition_ = std::move(condition); }
    const TrackOverridePtr& trackOverride() const { return trackOverride_; }
    void setTrackOverride(TrackOverridePtr trackOverride) { trackOverride_ = std::move(trackOverride); }
    // Gives this time condition and track override objects of its own (copies
    // of the shared ones), so that changing them leaves other copies alone.
    void detachSharedParts();

    // The condition made usable, in the shared object: a condition without
    // conditions value becomes the track's condition for the weather mode; a
    // condition that is not valid becomes the closest valid one. A track
    // without known conditions leaves the condition as it is. Null when the
    // time has no condition.
    TrackConditionPtr resolvedCondition();
    // From the resolved condition; -1 without one.
    int surface();
    int conditions();
    int track();
    // Surface, tyres, conditions and track.
    RecordKey recordKey();

    float penalty() const { return penalty_; }
    void setPenalty(float seconds) { penalty_ = seconds; }
    // Returns the new penalty.
    float addPenalty(float seconds);
    // Finish time plus penalty.
    float totalTime() const { return finishTime_ + penalty_; }

    // Saved text form (see the README, "Records"): written for formatVersion.
    void write(std::ostream& out) const;
    // Reads the form written for formatVersion (set it first). A failure is
    // logged and leaves the stream failed; the fields read before it stay.
    void read(std::istream& in);

private:
    void readFields(std::istream& in);

    std::int32_t stageNumber_ = defaultStageNumber;
    int weatherMode_ = 0;
    std::array<float, 2> splits_{};
    float finishTime_ = 0.0F;
    int tyres_ = 0;
    platform::CalendarTime date_;
    int carSlot_ = -1;
    std::string carName_;
    std::string setupName_;
    std::string displayName_;
    std::string driver_;
    Rally* rally_ = nullptr;
    TrackConditionPtr condition_;
    int formatVersion_ = currentFormatVersion;
    TrackOverridePtr trackOverride_;
    float penalty_ = 0.0F;
};

using StageTimePtr = std::shared_ptr<StageTime>;

inline std::ostream& operator<<(std::ostream& out, const StageTime& time)
{
    time.write(out);
    return out;
}
inline std::istream& operator>>(std::istream& in, StageTime& time)
{
    time.read(in);
    return in;
}

// The date as the platform's 64-bit file time; 0 for a date that has none
// (all zero, or not a calendar date).
std::int64_t dateToFileTime(const platform::CalendarTime& date);
// 0 (and anything the platform cannot convert) gives the all-zero date.
platform::CalendarTime fileTimeToDate(std::int64_t fileTime);

} // namespace zudo::rally
