#pragma once
// Ridoved, the listing tool: run in the game's installation directory, it
// works out the valid track conditions of every stage (or of the stages named
// on its command line) and writes them to Ridoved.csv, one line per
// condition. Its console shows the progress and every problem found in the
// track data.

#include <cstdint>
#include <iosfwd>
#include <set>
#include <string>
#include <vector>

#include "tracks/TrackCondition.hpp"

namespace zudo::legacy::support {
class TrackWeatherParser;
}

namespace zudo::tools::ridoved {

inline constexpr const char* csvFileName = "Ridoved.csv";

// The stages named by the arguments: every non-zero leading integer.
std::set<std::int32_t> stageSelection(const std::vector<std::string>& arguments);

void writeUsage(std::ostream& out);

// The listing's options, from Viduzuz.ini [Ridoved].
struct ListingOptions {
    bool emitNumbers = false;
    bool omitInvalid = false;
    bool omitName = false;
};

// The lines of Ridoved.csv: fields separated by ";", never quoted.
class ListingWriter {
public:
    explicit ListingWriter(std::ostream& csv) : csv_(csv) {}

    void writeHeader(bool omitName);
    void writeCondition(const tracks::TrackCondition& condition, const ListingOptions& options);
    void writeInvalidStage(std::int32_t stage, const ListingOptions& options);

private:
    std::ostream& csv_;
};

// One run over the current directory. Console lines go to out (the success
// line and the usage text) and err (everything else, with the track data's
// reports); parser is the track weather parser to ask, or null for one made
// for the run that reports to err. Returns the exit status: always 0.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
        legacy::support::TrackWeatherParser* parser = nullptr);

} // namespace zudo::tools::ridoved
