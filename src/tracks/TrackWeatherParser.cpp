#include "tracks/ReportLine.hpp"
#include "tracks/TrackWeatherParser.hpp"

#include <algorithm>
#include <deque>
#include <iostream>
#include <locale>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>

#include "config/SettingFiles.hpp"
#include "config/ValueText.hpp"
#include "io/IniFile.hpp"
#include "tracks/StageCatalogue.hpp"
#include "tracks/TextureFilenameMap.hpp"
#include "tracks/TextureHost.hpp"
#include "util/Log.hpp"

namespace zudo::legacy::support {

using tracks::StageCatalogue;
using tracks::TrackConditionList;

namespace {

constexpr const char* readSettingsLocation = "zudo::legacy::support::TrackWeatherParser::readTrackSettings() - ";
constexpr const char* conditionsLocation = "zudo::legacy::support::TrackWeatherParser::trackConditions() - ";
constexpr const char* createLocation = "zudo::legacy::support::TrackWeatherParser::createTrackConditions() - ";

// A track path must stay inside the installation: relative, without "..".
bool staysInsideInstallation(const std::string& trackName)
{
    if (trackName.empty() || trackName.front() == '\\' || trackName.front() == '/' ||
        trackName.find(':') != std::string::npos) {
        return false;
    }
    std::vector<std::string> parts;
    boost::algorithm::split(parts, trackName, boost::algorithm::is_any_of("\\/"));
    return std::none_of(parts.begin(), parts.end(), [](const std::string& part) { return part == ".."; });
}

} // namespace

// The texts a section name gives, before they are turned into codes.
struct TrackWeatherParser::SectionTokens {
    std::int32_t map = 0;
    std::string tintSet;
    std::string sky;
    std::string conditions;
    std::string timeOfDay;

    bool complete() const
    {
        return map > 0 && !sky.empty() && !conditions.empty() && !timeOfDay.empty() && !tintSet.empty();
    }
};

TrackWeatherParser& TrackWeatherParser::instance()
{
    static TrackWeatherParser parser(Sources{config::trackSettingsIniPath(), config::tracksIniPath(),
                                             config::trackValidationIniPath(), &tracks::textureHost(),
                                             [] { return std::cref(tracks::TextureFilenameMap::instance()); },
                                             nullptr});
    return parser;
}

TrackWeatherParser::TrackWeatherParser(Sources sources)
    : sources_(std::move(sources)), records_(sources_.validationIni)
{
    readTrackSettings();
}

TrackWeatherParser::~TrackWeatherParser() = default;

std::ostream& TrackWeatherParser::reports() { return sources_.reports != nullptr ? *sources_.reports : std::cerr; }

void TrackWeatherParser::readTrackSettings()
{
    if (settingsRead_) {
        return;
    }
    settingsRead_ = true;
    std::deque<std::string> sections;
    io::IniFile(sources_.trackSettingsIni).sectionNames(sections);
    for (const std::string& name : sections) {
        parseSection(name);
    }
}

void TrackWeatherParser::parseSection(const std::string& name)
{
    std::vector<std::string> tokens;
    boost::algorithm::split(tokens, name, boost::algorithm::is_any_of("_"));
    const std::size_t n = tokens.size();
    util::Log log;
    if (log.isEnabled()) {
        log << readSettingsLocation << "parsing of section " << name << " returned " << n << " tokens"
            << util::endLog;
    }

    SectionTokens section;
    if (n >= 3) {
        section.sky = tokens[n - 1];
        section.conditions = tokens[n - 2];
        std::string mapToken = tokens[0];
        if (n > 3) {
            section.timeOfDay = tokens[n - 3];
            mapToken = tokens[n - 4];
        }
        if (mapToken.size() >= 2) {
            const char last = mapToken.back();
            if (std::isalpha(last, std::locale())) {
                if (!section.timeOfDay.empty()) {
                    section.tintSet = std::string(1, last);
                } else if (last == 'M' || last == 'E' || last == 'N') {
                    section.timeOfDay = section.tintSet = std::string(1, last);
                }
            }
            section.map = config::leadingInteger(mapToken);
        }
    }

    const bool complete = section.complete();
    if (log.isEnabled()) {
        log << readSettingsLocation << "section '" << name << "' is " << (complete ? "valid" : "invalid")
            << ": values are" << "  map = " << section.map << "  tintSet = " << section.tintSet
            << "  sky = " << section.sky << "  conditions = " << section.conditions
            << "  timeOfDay = " << section.timeOfDay << util::endLog;
    }
    if (!complete) {
        if (section.map >= 1) {
            tracks::reportLine(reports(), "invalid TrackSettings section '", name, "'");
        }
        return;
    }
    acceptSection(name, section);
}

void TrackWeatherParser::acceptSection(const std::string& name, const SectionTokens& section)
{
    const StageCatalogue& catalogue = StageCatalogue::instance();
    WeatherEntry entry;
    entry.stage = section.map;
    entry.sky = catalogue.skyCode(section.sky);
    if (entry.sky == -1) {
        tracks::reportLine(reports(), "section '", name, "' has unknown sky value: '", section.sky, "'");
        return;
    }
    entry.conditions = catalogue.conditionsCode(section.conditions);
    if (entry.conditions == -1) {
        tracks::reportLine(reports(), "section '", name, "' has unknown conditions value: '", section.conditions, "'");
        return;
    }
    entry.timeOfDay = catalogue.timeOfDayCode(section.timeOfDay, true);
    entry.tintSet = catalogue.tintSetCode(section.tintSet);
    entry.surface = 0;
    util::Log log;
    if (log.isEnabled()) {
        log << readSettingsLocation << "validation yielded a positive result: values are" << "  map = "
            << entry.stage << "  tintSet = " << entry.tintSet << "  sky = " << entry.sky
            << "  conditions = " << entry.conditions << "  timeOfDay = " << entry.timeOfDay << util::endLog;
    }
    entries_.push_back(std::make_shared<WeatherEntry>(entry));
}

bool TrackWeatherParser::trackConditions(const tracks::TrackOverride& spec, TrackConditionList& list)
{
    auto cached = cache_.find(spec);
    if (cached == cache_.end()) {
        TrackConditionList built;
        for (const EntryPtr& entry : entries_) {
            if (entry->stage == spec.map) {
                createTrackConditions(spec, entry, built);
            }
        }
        std::sort(built.begin(), built.end(),
                  [](const tracks::TrackConditionPtr& a, const tracks::TrackConditionPtr& b) { return *a < *b; });
        records_.flushIfDue();
        cached = cache_.emplace(spec, std::move(built)).first;
    }
    list.insert(list.end(), cached->second.begin(), cached->second.end());

    const std::size_t count = cached->second.size();
    // Asked for every record read from a best-times file: a log record is
    // not even begun in a build without logging.
    if (util::loggingSwitchedOn()) {
        util::Log log;
        log << conditionsLocation << "inserted " << count << " elements into " << "track conditions list: ";
        for (std::size_t i = 0; i < list.size(); ++i) {
            log << "\n" << i << ": " << list[i]->describe();
        }
        log << util::endLog;
    }
    return count > 0;
}

bool TrackWeatherParser::createTrackConditions(const tracks::TrackOverride& spec, const EntryPtr& entry,
                                               TrackConditionList& list)
{
    const io::IniFile tracksIni(sources_.tracksIni);
    const std::string section = config::mapSection(spec.map);
    util::Log log;

    const std::string particles =
        spec.particles.empty() ? tracksIni.readString(section, "Particles", "") : spec.particles;
    if (particles.empty()) {
        if (log.isEnabled()) {
            log << createLocation << "track " << entry->stage << " has no particles defined, skipping"
                << util::endLog;
        }
        return false;
    }

    std::string trackName = spec.trackName;
    if (!trackName.empty()) {
        if (log.isEnabled()) {
            log << createLocation << "track " << entry->stage << " uses substituted TrackName " << trackName
                << util::endLog;
        }
    } else {
        trackName = tracksIni.readString(section, "TrackName", "");
    }
    if (trackName.empty()) {
        if (log.isEnabled()) {
            log << createLocation << "track " << entry->stage << " has no track name defined, skipping"
                << util::endLog;
        }
        return false;
    }
    if (!staysInsideInstallation(trackName)) {
        tracks::reportLine(reports(), "track name '", trackName, "' of stage ", entry->stage, " leaves the installation, skipping");
        return false;
    }
    return processSurfaces(entry, trackName, list);
}

void TrackWeatherParser::stages(std::set<std::int32_t>& set) const
{
    for (const EntryPtr& entry : entries_) {
        set.insert(entry->stage);
    }
}

const tracks::TextureFilenameMap& TrackWeatherParser::filenameMap()
{
    if (sources_.filenameMap) {
        return sources_.filenameMap();
    }
    if (!ownMap_) {
        ownMap_ = std::make_unique<tracks::TextureFilenameMap>(tracks::TextureFilenameMap::load(*sources_.host));
    }
    return *ownMap_;
}

} // namespace zudo::legacy::support
