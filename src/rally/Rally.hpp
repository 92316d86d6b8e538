#pragma once
// A rally (stages driven one after the other for an overall time) or a hotlap
// (one stage driven again and again for records): its stages in order, the
// sums the standings are made of, its records, progress and car damage files.
// The rally owns its stages; each stage refers back to it.

#include <cstdint>
#include <deque>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.hpp"
#include "rally/RecordKey.hpp"
#include "rally/Stage.hpp"
#include "util/mem/HostAddress.hpp"

namespace zudo::rally {

class RallyList;

class Rally {
public:
    // The host's car damage record, stored and copied whole.
    static constexpr std::uint32_t damageRecordSize = 16048;

    // A rally from a definition file (configPath below the host directory,
    // e.g. "Plugins/Zuzuzevo/Forest.srp"). One that yields no stage gets
    // " (invalid!)" after its name.
    Rally(std::string name, std::string configPath);
    // A built-in hotlap of one stage, named after it, with the default
    // service allowance (4 mechanics, skill 4, 40 minutes).
    Rally(std::int32_t stageNumber, int weatherMode, int tyres);
    virtual ~Rally();
    Rally(const Rally&) = delete;
    Rally& operator=(const Rally&) = delete;

    // Reads a definition file below the host directory; false only when it
    // cannot be opened.
    bool loadConfig(const std::string& configPath);
    // Reads a definition from a stream (see the README, "Rally files").
    void loadConfig(std::istream& in);

    const std::string& name() const { return name_; }
    const std::string& configPath() const { return configPath_; }
    bool isHotlap() const { return isHotlap_; }

    const std::deque<StagePtr>& stages() const { return stages_; }
    std::size_t stageCount() const { return stages_.size(); }
    // Null beyond the last stage.
    StagePtr stage(std::size_t index) const;
    // The position of a stage of this rally, or nothing.
    std::optional<std::size_t> indexOf(const Stage& stage) const;
    // Only while the definition is read.
    void addStage(StagePtr stage);
    void clearStages();
    // Counts every change of the stage objects (added, cleared, replaced by
    // loading progress), so that lookups over stages know when to look again.
    std::uint64_t stageGeneration() const { return stageGeneration_; }
    std::vector<std::int32_t> stageNumbers() const;

    bool allDriven() const;
    bool noneDriven() const;
    bool anyDnf() const;
    std::size_t drivenCount() const;

    // The sum of the stage totals; 0 while a stage is not finished.
    float totalTime() const;
    // The sum of the stages' record totals; 0 while a stage has no record.
    float recordTotal() const;
    // All stages driven and the total beats the record total (or there is none).
    bool isNewRecord() const;

    // Plain sums over the stages.
    float sumOfTotals() const;
    float sumOfRecordTotals() const;
    float sumOfRecordDifferences() const;
    float sumOfHostResultTotals() const;
    float sumOfHostResultDifferences() const;
    // The best times across all rallies of the list for each stage's display
    // name, on the stage's surface or on any; and the differences to them of
    // the stages with a finish time.
    float sumOfBestTotals(bool anySurface, const RallyList& list) const;
    float sumOfBestDifferences(bool anySurface, const RallyList& list) const;

    // Hotlap: (surface and tyres of its stage, any, any); rally: all any.
    RecordKey recordKey() const;

    // --- Records (RallyRecords.cpp) ---
    // The times of one best-times file (appended to times). False on a line
    // whose version is missing or not 1..3; a missing file reads as empty.
    bool readBestTimes(const RecordKey& key, std::vector<StageTimePtr>& times);
    // Loads the records of every best-times file of the rally into its stages.
    bool loadRecords();
    // False when the last loadRecords met a damaged best-times file (a line
    // it could not read, or lines of other stages): some records are missing.
    bool recordsReadable() const { return recordsReadable_; }
    // When the attempt is a new record: keeps each stage's time as its record
    // and rewrites the rally's best-times file. False when not a new record
    // (lastFileFailure() then empty) or the file could not be written (the
    // records stay in memory; lastFileFailure() says why).
    bool saveRecords();
    // A rally's record file's last write time, local (the old format's when
    // the current one is missing); nothing for a hotlap or without a file.
    std::optional<platform::CalendarTime> recordDate() const;

    // --- Progress (RallyProgress.cpp) ---
    bool hasProgress() const;
    std::optional<platform::CalendarTime> progressDate() const;
    // Writes the progress file, and the damage file when the rally has damage.
    // True when the progress was written, also when the damage file could not
    // be (lastFileFailure() then says so).
    bool saveProgress();
    // All or nothing: a file that does not fit the stages, or any line that
    // cannot be read, changes no stage (lastFileFailure() says why).
    bool loadProgress();
    void resetStage(Stage& stage);
    // Every stage reset and the rally's car damage repaired.
    void resetAll();

    // --- Car damage (RallyDamage.cpp) ---
    // A car damage record made by the host's constructor; null when the host
    // cannot make one.
    static std::unique_ptr<util::mem::HostBlock> makeDamageRecord();
    // Repairs a damage record through its own reset operation; false when the
    // call could not be made.
    static bool repairDamageRecord(util::mem::HostAddress record);
    // The rally's damage record in host memory, made on first use; null for a
    // hotlap or when the host cannot make one.
    util::mem::HostAddress rallyDamage();
    bool hasRallyDamage() const { return damage_ != nullptr; }
    // Repairs the rally's damage record through its own reset; false without
    // one.
    bool resetDamage();
    bool saveDamage();
    bool loadDamage();

    // What went wrong with the rally's files in the last save or load of
    // records, progress or damage, in words for the player's status line
    // ("Could not write Forest.prs: the disk is full"); empty when it worked.
    // Every failure is logged too.
    const std::string& lastFileFailure() const { return lastFileFailure_; }

private:
    float sumOverStages(const std::function<float(Stage&)>& value) const;
    static StageTimePtr bestAcrossRallies(Stage& stage, bool anySurface, const RallyList& list);
    bool readProgressLines(std::istream& in, std::vector<StagePtr>& scratch) const;
    // Records a failure for lastFileFailure() and the log; returns false.
    bool fileFailure(std::string text);

    std::string name_;
    std::string configPath_;
    bool isHotlap_ = false;
    std::deque<StagePtr> stages_;
    std::uint64_t stageGeneration_ = 0;
    bool recordsReadable_ = true;
    std::unique_ptr<util::mem::HostBlock> damage_;
    std::string lastFileFailure_;
};

using RallyPtr = std::shared_ptr<Rally>;

} // namespace zudo::rally
