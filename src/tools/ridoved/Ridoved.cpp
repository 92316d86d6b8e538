#include "tools/ridoved/Ridoved.hpp"

#include <fstream>
#include <memory>
#include <ostream>

#include "config/SettingFiles.hpp"
#include "config/Settings.hpp"
#include "config/ValueText.hpp"
#include "io/FileStreams.hpp"
#include "platform/Platform.hpp"
#include "tracks/ReportLine.hpp"
#include "tracks/StageCatalogue.hpp"
#include "tracks/TextureFilenameMap.hpp"
#include "tracks/TextureHost.hpp"
#include "tracks/TrackWeatherParser.hpp"

namespace zudo::tools::ridoved {

namespace {

constexpr char separator = ';';

ListingOptions readOptions()
{
    return ListingOptions{config::ridoved::EmitNumbers().get(), config::ridoved::OmitInvalid().get(),
                          config::ridoved::OmitName().get()};
}

std::unique_ptr<legacy::support::TrackWeatherParser> parserReportingTo(std::ostream& err)
{
    legacy::support::TrackWeatherParser::Sources sources;
    sources.trackSettingsIni = config::trackSettingsIniPath();
    sources.tracksIni = config::tracksIniPath();
    sources.validationIni = config::trackValidationIniPath();
    sources.host = &tracks::textureHost();
    sources.filenameMap = [] { return std::cref(tracks::TextureFilenameMap::instance()); };
    sources.reports = &err;
    return std::make_unique<legacy::support::TrackWeatherParser>(std::move(sources));
}

void processStage(std::int32_t stage, legacy::support::TrackWeatherParser& parser, ListingWriter& listing,
                  std::ostream& err)
{
    tracks::reportLine(err, "Validating map ", stage, " ...");
    tracks::TrackConditionList conditions;
    const bool found = parser.trackConditions(tracks::TrackOverride{stage, "", ""}, conditions);
    const ListingOptions options = readOptions();
    if (found) {
        for (const tracks::TrackConditionPtr& condition : conditions) {
            listing.writeCondition(*condition, options);
        }
        tracks::reportLine(err, stage, " --> OK (", conditions.size(), ")");
    } else {
        tracks::reportLine(err, stage, " --> invalid");
        if (!options.omitInvalid) {
            listing.writeInvalidStage(stage, options);
        }
    }
}

} // namespace

std::set<std::int32_t> stageSelection(const std::vector<std::string>& arguments)
{
    std::set<std::int32_t> stages;
    for (const std::string& argument : arguments) {
        const std::int32_t stage = config::leadingInteger(argument);
        if (stage != 0) {
            stages.insert(stage);
        }
    }
    return stages;
}

void writeUsage(std::ostream& out)
{
    out << "Build a track listing file for Zudo stages." << '\n'
        << '\n'
        << "Usage: " << '\n'
        << '\n'
        << "Ridoved" << '\n'
        << '\n'
        << "    Build the track listing for all stages." << '\n'
        << '\n'
        << '\n'
        << "Ridoved" << " [stage...]" << '\n'
        << '\n'
        << "    stage     List of stage numbers, separated by white space." << '\n'
        << '\n'
        << "    Build the track listing for the specified stages." << '\n'
        << '\n';
    out.flush();
}

void ListingWriter::writeHeader(bool omitName)
{
    csv_ << "Stage Number";
    if (!omitName) {
        csv_ << separator << "Stage Name";
    }
    csv_ << separator << "Tint Set" << separator << "Conditions" << separator << "Sky" << separator
         << "Time Of Day" << separator << "Surface" << separator << "Track" << '\n';
}

void ListingWriter::writeCondition(const tracks::TrackCondition& c, const ListingOptions& options)
{
    const tracks::StageCatalogue& catalogue = tracks::StageCatalogue::instance();
    csv_ << c.stage;
    if (!options.omitName) {
        csv_ << separator << catalogue.stageName(c.stage);
    }
    if (options.emitNumbers) {
        csv_ << separator << c.tintSet << separator << c.conditions << separator << c.sky << separator
             << c.timeOfDay << separator << c.surface << separator << c.track;
    } else {
        csv_ << separator << catalogue.tintSetWord(c.tintSet) << separator << catalogue.conditionsWord(c.conditions)
             << separator << catalogue.skyWord(c.sky) << separator << catalogue.timeOfDayWord(c.timeOfDay)
             << separator << catalogue.surfaceWord(c.surface) << separator << catalogue.trackWord(c.track);
    }
    csv_ << '\n';
}

void ListingWriter::writeInvalidStage(std::int32_t stage, const ListingOptions& options)
{
    csv_ << stage;
    if (!options.omitName) {
        csv_ << separator << "invalid stage";
    }
    csv_ << '\n';
}

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
        legacy::support::TrackWeatherParser* parser)
{
    std::set<std::int32_t> stages = stageSelection(arguments);
    if (!arguments.empty() && stages.empty()) {
        writeUsage(out);
        return 0;
    }
    const std::string tracksIni = config::tracksIniPath();
    if (!platform::fileExists(tracksIni)) {
        tracks::reportLine(err, "Tracks file '", platform::fullPath(tracksIni).value_or(tracksIni), "' not found.");
        return 0;
    }
    std::ofstream csv = io::openOutputStream(csvFileName);
    if (!csv) {
        tracks::reportLine(err, "Could not open file '", csvFileName, "' for writing!");
        return 0;
    }
    ListingWriter listing(csv);
    listing.writeHeader(config::ridoved::OmitName().get());

    std::unique_ptr<legacy::support::TrackWeatherParser> ownParser;
    if (parser == nullptr) {
        ownParser = parserReportingTo(err);
        parser = ownParser.get();
    }
    if (stages.empty()) {
        parser->stages(stages);
    }
    tracks::reportLine(err);
    tracks::reportLine(err, "Processing stages");
    for (const std::int32_t stage : stages) {
        processStage(stage, *parser, listing, err);
    }
    err << std::endl;

    csv.flush();
    if (!csv) {
        tracks::reportLine(err);
        tracks::reportLine(err, "Failed to write ", csvFileName, ".");
    } else {
        out << std::endl << csvFileName << " successfully written." << std::endl;
    }
    return 0;
}

} // namespace zudo::tools::ridoved
