// The texture check of the track weather parser: which surfaces and wears of
// a track have every texture installed.
#include <cstdio>
#include <iostream>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/Platform.hpp"
#include "tracks/ReportLine.hpp"
#include "tracks/StageCatalogue.hpp"
#include "tracks/TextureFilenameMap.hpp"
#include "tracks/TextureHost.hpp"
#include "tracks/TrackWeatherParser.hpp"
#include "util/Log.hpp"

namespace zudo::legacy::support {

using tracks::StageCatalogue;
using tracks::TrackConditionList;

namespace {

constexpr const char* location = "zudo::legacy::support::TrackWeatherParser::processSurfaces() - ";

// Longest texture path the game forms; longer ones are cut there.
constexpr std::size_t longestTexturePath = 259;

// Makes a directory current through the texture host for the lifetime of the
// object and then returns to the one that was current before.
class CurrentDirectoryScope {
public:
    CurrentDirectoryScope(tracks::TextureHost& host, const std::string& directory)
        : host_(host), previous_(platform::currentDirectory())
    {
        // A directory that cannot be entered leaves the previous one current:
        // the track's textures are then reported missing.
        host_.enterDirectory(directory.empty() ? previous_ : directory);
    }
    ~CurrentDirectoryScope() { host_.leaveDirectory(previous_); }
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

private:
    tracks::TextureHost& host_;
    std::string previous_;
};

std::string texturePath(const std::string& trackFile, const std::string& surface, const std::string& wear,
                        const std::string& textureFile, bool ground)
{
    std::string path = trackFile + "_textures\\" + surface + "\\";
    if (ground) {
        path += wear + "\\";
    }
    path += textureFile + ".dds";
    if (path.size() > longestTexturePath) {
        path.resize(longestTexturePath);
    }
    return path;
}

} // namespace

// One texture of a track ini file, as far as the check needs it.
struct TrackWeatherParser::Texture {
    std::string key;  // Texture0, Texture1, ...
    std::string name; // empty when the key is missing
    std::string file; // the name's file name without directory and extension
    bool ground = false;
};

// The track ini file of one entry, its textures read on first need (a run
// that finds every combination recorded reads none of them).
struct TrackWeatherParser::TrackIni {
    std::string path;
    std::string file; // file name without directory and extension
    std::unique_ptr<tracks::TrackIniReader> reader;
    std::int32_t textureCount = 0;
    std::optional<std::vector<Texture>> textures;
    // Whether each texture that is no ground texture was found on a surface,
    // by surface word (-1 not asked yet): its path has no wear in it, so the
    // three wears of a surface ask the same files.
    std::unordered_map<std::string, std::vector<signed char>> foundOnSurface;

    const std::vector<Texture>& allTextures(tracks::TextureHost& host)
    {
        if (!textures) {
            textures.emplace();
            textures->reserve(static_cast<std::size_t>(textureCount));
            for (std::int32_t i = 0; i < textureCount; ++i) {
                Texture texture;
                texture.key = "Texture" + std::to_string(i);
                texture.name = reader->readString("TextureInfo", texture.key, "");
                if (!texture.name.empty()) {
                    texture.ground = reader->readBool(texture.name, "IsGroundTexture", false);
                    texture.file = host.splitPath(texture.name).name;
                }
                textures->push_back(std::move(texture));
            }
        }
        return *textures;
    }
};

bool TrackWeatherParser::findTrackIni(const EntryPtr& entry, const std::string& trackName, std::string& path)
{
    const StageCatalogue& catalogue = StageCatalogue::instance();
    std::deque<std::string> letters;
    if (entry->tintSet >= 0) {
        letters.push_back(catalogue.tintSetWord(entry->tintSet));
    } else {
        catalogue.tintSetWords(letters);
    }
    util::Log log;
    for (const std::string& letter : letters) {
        path = trackName + "_" + letter + ".ini";
        if (platform::fileExists(path)) {
            if (log.isEnabled()) {
                log << location << "found track ini file " << path << " for tintSet " << letter << util::endLog;
            }
            if (entry->tintSet < 0) {
                entry->tintSet = catalogue.tintSetCode(letter);
            }
            return true;
        }
        if (log.isEnabled()) {
            log << location << "no access to track ini file " << path << " for tintSet " << letter << util::endLog;
        }
    }
    return false;
}

bool TrackWeatherParser::processSurfaces(const EntryPtr& entry, const std::string& trackName,
                                         TrackConditionList& list)
{
    TrackIni ini;
    if (!findTrackIni(entry, trackName, ini.path)) {
        return false;
    }
    tracks::TextureHost& host = *sources_.host;
    ini.reader = host.openIni(ini.path);
    ini.textureCount = ini.reader->readInt("TextureInfo", "NumTextures", 0);
    if (ini.textureCount == 0) {
        return false;
    }
    if (ini.textureCount < 0 || ini.textureCount > mostTextures) {
        tracks::reportLine(reports(), "track ini file '", ini.path, "' declares ", ini.textureCount, " textures (at most ", mostTextures, " are allowed), skipping");
        return false;
    }
    filenameMap(); // read before the current directory changes
    const tracks::SplitPath split = host.splitPath(ini.path);
    ini.file = split.name;

    const CurrentDirectoryScope directory(host, split.directory);
    std::deque<std::string> surfaces;
    std::deque<std::string> wears;
    StageCatalogue::instance().surfaceWords(surfaces);
    StageCatalogue::instance().trackWords(wears);
    for (const std::string& surface : surfaces) {
        for (const std::string& wear : wears) {
            checkCombination(entry, ini, surface, wear, list);
        }
    }
    return true;
}

void TrackWeatherParser::checkCombination(const EntryPtr& entry, TrackIni& ini, const std::string& surface,
                                          const std::string& wear, TrackConditionList& list)
{
    const std::string combination =
        StageCatalogue::instance().tintSetWord(entry->tintSet) + "/" + surface + "/" + wear;
    const int record = records_.value(entry->stage, combination);
    if (record == tracks::ValidationRecords::complete) {
        addValidCondition(entry, surface, wear, combination, record, list);
        return;
    }
    if (record != tracks::ValidationRecords::notChecked) {
        reportInvalid(entry->stage, combination, ini.textureCount);
        records_.set(entry->stage, combination, tracks::ValidationRecords::missing);
        return;
    }
    const std::int32_t found = countFoundTextures(entry, ini, surface, wear, combination);
    if (found != ini.textureCount) {
        reportInvalid(entry->stage, combination, ini.textureCount - found);
        records_.set(entry->stage, combination, tracks::ValidationRecords::missing);
        return;
    }
    addValidCondition(entry, surface, wear, combination, record, list);
}

std::int32_t TrackWeatherParser::countFoundTextures(const EntryPtr& entry, TrackIni& ini,
                                                     const std::string& surface, const std::string& wear,
                                                     const std::string& combination)
{
    tracks::TextureHost& host = *sources_.host;
    const tracks::TextureFilenameMap& map = filenameMap();
    util::Log log;
    std::int32_t found = 0;
    std::int32_t index = 0;
    const std::vector<Texture>& textures = ini.allTextures(host);
    std::vector<signed char>& foundOnSurface = ini.foundOnSurface[surface];
    foundOnSurface.resize(textures.size(), -1);
    for (const Texture& texture : textures) {
        const std::int32_t i = index++;
        if (texture.name.empty()) {
            if (log.isEnabled()) {
                log << location << "texture " << i << " not found in track ini file " << ini.path << util::endLog;
            }
            tracks::reportLine(reports(), " texture '", texture.key, "' not found in track ini file '", ini.path, "'");
            tracks::reportLine(reports(), entry->stage, " --> ", combination, " not valid (texture ", i, " missing)");
            continue;
        }
        // The paths are made only for a question, a report or a log record.
        const auto file = [&] { return texturePath(ini.file, surface, wear, texture.file, texture.ground); };
        const auto description = [&] {
            const std::string path = file();
            return texture.name + " in " + path + " (mapped to " + map.translate(path) + ")";
        };
        signed char& known = foundOnSurface[static_cast<std::size_t>(i)];
        const bool exists = !texture.ground && known >= 0 ? known != 0 : host.fileExists(map.translate(file()));
        if (!texture.ground) {
            known = exists ? 1 : 0;
        }
        if (exists) {
            if (log.isEnabled()) {
                log << location << "found texture " << description() << util::endLog;
            }
            ++found;
        } else {
            if (log.isEnabled()) {
                log << location << description() << " not found, skipping" << util::endLog;
            }
            tracks::reportLine(reports(), description(), " not found");
        }
    }
    return found;
}

void TrackWeatherParser::addValidCondition(const EntryPtr& entry, const std::string& surface,
                                           const std::string& wear, const std::string& combination, int record,
                                           TrackConditionList& list)
{
    const StageCatalogue& catalogue = StageCatalogue::instance();
    WeatherEntry weather = *entry;
    weather.surface = catalogue.surfaceCode(surface);
    auto condition = std::make_shared<tracks::TrackCondition>(weather, catalogue.trackCode(wear));
    condition->valid = true;
    list.push_back(std::move(condition));
    util::Log log;
    if (log.isEnabled()) {
        log << location << entry->stage << " --> " << combination << " valid" << util::endLog;
    }
    tracks::reportLine(reports(), entry->stage, " --> ", combination, " valid");
    if (record != tracks::ValidationRecords::complete) {
        records_.set(entry->stage, combination, tracks::ValidationRecords::complete);
    }
}

void TrackWeatherParser::reportInvalid(std::int32_t stage, const std::string& combination, std::int32_t missing)
{
    util::Log log;
    if (log.isEnabled()) {
        log << location << stage << " --> " << combination << " not valid (" << missing << " textures missing)"
            << util::endLog;
    }
    tracks::reportLine(reports(), stage, " --> ", combination, " not valid (", missing, " textures missing)");
}

} // namespace zudo::legacy::support
