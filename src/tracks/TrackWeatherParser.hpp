#pragma once
// Which weather a stage of the installation can be driven in. The sections of
// Maps/TrackSettings.ini become weather entries (read once); the entries of a
// track expand, on request, into its track conditions: one per surface and
// wear for which every texture of the track exists (the texture check,
// processSurfaces). The list of each track is computed once and cached; the
// results of the texture check are also kept between runs in
// TrackValidation.ini.
//
// Problems in the game's data are reported on the report stream (standard
// error) and never stop the work.

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tracks/TrackCondition.hpp"
#include "tracks/ValidationRecords.hpp"
#include "tracks/WeatherEntry.hpp"

namespace zudo::tracks {
class TextureFilenameMap;
class TextureHost;
class TrackIniReader;
} // namespace zudo::tracks

namespace zudo::legacy::support {

class TrackWeatherParser {
public:
    using EntryPtr = std::shared_ptr<WeatherEntry>;

    // Largest NumTextures a track ini file may declare. The game's tracks use
    // a few hundred; a larger (or negative) count is reported and the track
    // ini is taken to declare no textures, so that a damaged file cannot make
    // the check ask for billions of keys.
    static constexpr std::int32_t mostTextures = 10000;

    // The parser of the process: Maps/TrackSettings.ini of the current
    // directory, the process's texture host and filename map, the records of
    // the host directory, reports to standard error.
    static TrackWeatherParser& instance();

    struct Sources {
        std::string trackSettingsIni;   // Maps/TrackSettings.ini
        std::string tracksIni;          // Maps/Tracks.ini
        std::string validationIni;      // TrackValidation.ini
        tracks::TextureHost* host = nullptr;
        // The filename map to use; empty: read through host on first use.
        std::function<const tracks::TextureFilenameMap&()> filenameMap;
        std::ostream* reports = nullptr; // standard error when null
    };
    // Reads the track settings at once (readTrackSettings).
    explicit TrackWeatherParser(Sources sources);
    virtual ~TrackWeatherParser();
    TrackWeatherParser(const TrackWeatherParser&) = delete;
    TrackWeatherParser& operator=(const TrackWeatherParser&) = delete;

    // Fills the entries from the track settings; does its work once.
    void readTrackSettings();

    // Appends the conditions of the track to list; true when it appended any.
    bool trackConditions(const tracks::TrackOverride& spec, tracks::TrackConditionList& list);
    // Expands one entry of the track; false when the track was skipped (no
    // particles, no track name, no usable track ini file).
    bool createTrackConditions(const tracks::TrackOverride& spec, const EntryPtr& entry,
                               tracks::TrackConditionList& list);
    // The texture check of one entry on the track at trackName (its base path);
    // appends the valid conditions. True when a track ini file was found and
    // declares at least one texture.
    bool processSurfaces(const EntryPtr& entry, const std::string& trackName,
                         tracks::TrackConditionList& list);

    // Inserts the stage of every entry.
    void stages(std::set<std::int32_t>& set) const;

    const std::vector<EntryPtr>& entries() const { return entries_; }
    tracks::ValidationRecords& validationRecords() { return records_; }

private:
    struct Texture;
    struct TrackIni;
    struct SectionTokens;

    void parseSection(const std::string& name);
    void acceptSection(const std::string& name, const SectionTokens& tokens);
    bool findTrackIni(const EntryPtr& entry, const std::string& trackName, std::string& path);
    void checkCombination(const EntryPtr& entry, TrackIni& ini, const std::string& surface,
                          const std::string& wear, tracks::TrackConditionList& list);
    std::int32_t countFoundTextures(const EntryPtr& entry, TrackIni& ini, const std::string& surface,
                                    const std::string& wear, const std::string& combination);
    void addValidCondition(const EntryPtr& entry, const std::string& surface, const std::string& wear,
                           const std::string& combination, int record, tracks::TrackConditionList& list);
    void reportInvalid(std::int32_t stage, const std::string& combination, std::int32_t missing);
    const tracks::TextureFilenameMap& filenameMap();
    std::ostream& reports();

    Sources sources_;
    bool settingsRead_ = false;
    std::vector<EntryPtr> entries_;
    std::map<tracks::TrackOverride, tracks::TrackConditionList> cache_;
    tracks::ValidationRecords records_;
    std::unique_ptr<tracks::TextureFilenameMap> ownMap_;
};

} // namespace zudo::legacy::support
