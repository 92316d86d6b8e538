#pragma once
// A stage of a rally or hotlap: its configuration and latest result (the
// StageTime part), whether it has been driven in the current attempt, the
// setup chosen for it, its service allowance and the best results kept for it.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "rally/RecordKey.hpp"
#include "rally/ServiceInfo.hpp"
#include "rally/StageTime.hpp"

namespace zudo::rally {

class Stage : public StageTime {
public:
    static constexpr int noSetupChosen = -3;

    using Records = std::map<RecordKey, StageTimePtr>;

    Stage(Rally* rally, std::int32_t stageNumber, int weatherMode, int tyres,
          const std::string& displayName);
    Stage(const Stage&) = default;
    Stage& operator=(const Stage&) = default;
    ~Stage() override;

    bool driven() const { return driven_; }
    void setDriven(bool driven) { driven_ = driven; }
    // Driven and retired (no finish time).
    bool isDnf() const;
    // Driven with a finish time.
    bool isFinished() const;

    // -3 none chosen, -2 Default, -1 Current, 0 and above a saved setup.
    int setupSlot() const { return setupSlot_; }
    void setSetupSlot(int slot) { setupSlot_ = slot; }

    ServiceInfo& service() { return service_; }
    const ServiceInfo& service() const { return service_; }
    void setService(const ServiceInfo& service) { service_ = service; }

    // Not driven; penalty, splits and finish time 0; the service can be used
    // again. Car, setup, driver, date, names and records stay.
    void reset();
    // Stores the result the host reported, with the selected car and its
    // setup, the local time and format version 3; names and penalty stay.
    void takeResult(float split1, float split2, float finish, const std::string& driver);

    // Keeps time as a record under the key of its resolved condition,
    // replacing a record with the same key. A rally stage keeps one record.
    void addRecord(const StageTimePtr& time);
    const Records& records() const { return records_; }
    // Counts every change of the records of any stage, so that lookups over
    // records know when to look again.
    static std::uint64_t recordsGeneration() { return recordsGeneration_; }
    // The records whose key the query matches, in key order.
    std::vector<StageTimePtr> recordsMatching(const RecordKey& query) const;
    // An exact query: the record with that key. Otherwise the matching record
    // with the smallest finish time above 0 (the first of equal ones).
    StageTimePtr bestRecord(const RecordKey& query) const;
    // Hotlap: the best record for this stage's surface, tyres, conditions and
    // track. Rally: its one record.
    StageTimePtr currentRecord();

    // The current record's total, 0 without one; the difference to it when
    // this stage has a finish time, otherwise 0.
    float recordTotal();
    float recordDifference();
    // The same against the host's own best result for this stage.
    float hostResultTotal() const;
    float hostResultDifference() const;
    // The difference to the best record for a key (0 without a finish time or
    // such a record).
    float bestRecordDifference(const RecordKey& query) const;

    // Saved text form of a progress line (after its version number): the
    // StageTime form, driven, setup slot and, from version 3, the service.
    void writeProgress(std::ostream& out) const;
    // A failure is logged and leaves the stream failed.
    void readProgress(std::istream& in);

private:
    float differenceTo(const StageTimePtr& other) const;

    inline static std::uint64_t recordsGeneration_ = 0;

    bool driven_ = false;
    Records records_;
    int setupSlot_ = noSetupChosen;
    ServiceInfo service_;
};

using StagePtr = std::shared_ptr<Stage>;

} // namespace zudo::rally
