#pragma once
// Makes the game drive a stage in the weather the player chose. The game
// picks a stage's weather from its weather table (319 entries) through two
// short lists of indexes into it, one for good and one for bad weather. For
// the moment of that choice the daemon puts a table made for the stage in
// place (the stage's condition, or for Random every valid condition of the
// track) with both lists pointing into it, and then puts the game's own table
// and lists back, byte for byte as it found them when it was first used.
//
// Two ways, by what the game offers:
// - the game's weather-selection routine is reachable (the replacement host):
//   the daemon lets the game choose at once, reads the choice back and
//   restores the game's table before returning;
// - it is not (its address is unknown, so always in the game itself): the
//   daemon makes the choice (Random: one valid condition drawn uniformly),
//   writes that single entry with both lists pointing at it, so the game can
//   only pick it when it starts the stage, and leaves it in place until the
//   first of: the game reports the stage started, a result, the next front-end
//   frame, a failed start, the plug-in being unloaded (restoreHostWeather).
//   The game's track wear cannot be set this way: it stays the game's choice.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "rally/Stage.hpp"
#include "tracks/WeatherEntry.hpp"
#include "util/mem/HostAddress.hpp"

namespace zudo::rally {

class WeatherDaemon {
public:
    static constexpr std::uint32_t entryCount = 319;
    using Table = std::array<legacy::support::WeatherEntry, entryCount>;
    static constexpr std::uint32_t tableSize = sizeof(Table);
    static_assert(tableSize == 7656, "the game's weather table is 319 entries of 24 bytes");

    // An index list of the weather control object: count and pointer to
    // 16-bit indexes.
    struct IndexList {
        std::int32_t count = 0;
        std::uint32_t pointer = 0;
        bool operator==(const IndexList&) const = default;
    };

    // The conditions a stage's table is made of.
    using Candidates = std::span<const TrackConditionPtr>;
    // Draws a position below count (count is at least 1).
    using Draw = std::function<std::size_t(std::size_t count)>;

    // The daemon of the process, built on first use; building it takes the
    // backup.
    static WeatherDaemon& instance();
    // Puts the game's table back when a stage's table is still in place.
    // Never builds the daemon; safe to call from any call the game makes.
    static void restoreHostWeather() noexcept;

    // Copies the game's table and index lists into the backup (and logs them).
    // A stage's table still in place is restored first. False when the game's
    // table or weather control object cannot be reached.
    bool backupWeather();
    bool hasBackup() const { return backedUp_; }

    // Puts the weather of the stage into effect for its start. For Random the
    // stage gets the condition that was chosen. False when the stage has no
    // usable condition, Random finds no valid condition, the backup is missing
    // or the game's choice cannot be read; the game's table is then as before.
    bool applyWeather(const StagePtr& stage);

    // Whether the daemon makes the choice itself (the game's selection routine
    // is out of reach), leaving the stage's table in place for the start.
    bool choosesItself() const;
    // The tint set of the weather the daemon chose itself, for the game's
    // stage-start routine; nothing when the game chose (ask the game).
    std::optional<std::int32_t> chosenTintSet() const { return chosenTintSet_; }
    // A stage's table is in the game now.
    bool stageTableInPlace() const { return stageTableInPlace_; }
    // Puts the backup into the game's table and lists (when a stage's table is
    // in place).
    void restore() noexcept;

    const Table& backupTable() const { return backup_; }
    const IndexList& goodListBackup() const { return goodBackup_; }
    const IndexList& badListBackup() const { return badBackup_; }

    // Replaces the uniform draw the daemon's own choice uses (tests); an empty
    // one returns to the default.
    void useDraw(Draw draw);

private:
    WeatherDaemon();
    ~WeatherDaemon();

    void writeStageTable(Candidates candidates, std::size_t first,
                         std::size_t count);
    bool letTheGameChoose(const StagePtr& stage, Candidates candidates,
                          const TrackConditionPtr& resolved);
    void chooseForTheGame(const StagePtr& stage, Candidates candidates);
    void logBackup() const;

    Table backup_{};
    Table stageTable_{}; // the table made for a stage, kept here to spare the stack
    IndexList goodBackup_;
    IndexList badBackup_;
    std::uint16_t goodIndex_ = 0;
    std::uint16_t badIndex_ = 0;
    bool backedUp_ = false;
    bool stageTableInPlace_ = false;
    std::optional<std::int32_t> chosenTintSet_;
    // The two 16-bit indexes the game's lists point at while a stage's table
    // is in place: memory the game can read.
    util::mem::HostBlock indexes_;
    Draw draw_;
};

} // namespace zudo::rally
