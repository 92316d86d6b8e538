// The track weather parser over a whole small installation: the sections of
// Maps/TrackSettings.ini, the stages of Maps/Tracks.ini, a track ini file for
// every tint letter and Maps/TextureFilenameMap.dat, then the texture check
// of every stage on the file system. Input: TrackSettings.ini, Tracks.ini,
// the track ini and the filename map, separated by lines "%%". The track ini
// is Maps/Fuzz/track_M.ini (and _E, _N); a few textures of the ground
// texture "Ground" and the other texture "Other" of the morning tint exist.

#include <set>
#include <sstream>

#include "FuzzSupport.hpp"
#include "tracks/FileSystemTextureHost.hpp"
#include "tracks/TextureFilenameMap.hpp"
#include "tracks/TrackWeatherParser.hpp"

namespace {

using zudo::legacy::support::TrackWeatherParser;

void writeInstallation(const std::vector<std::string>& parts)
{
    const auto& scratch = zudo::fuzz::ScratchInstallation::instance();
    scratch.write("Maps/TrackSettings.ini", parts[0]);
    scratch.write("Maps/Tracks.ini", parts[1]);
    for (const char* letter : {"M", "E", "N"}) {
        scratch.write(std::string("Maps/Fuzz/track_") + letter + ".ini", parts[2]);
    }
    scratch.write("Maps/TextureFilenameMap.dat", parts[3]);
    scratch.write("Maps/Fuzz/track_M_Textures/Dry/New/Ground.DDS", "dds");
    scratch.write("Maps/Fuzz/track_M_Textures/Dry/Worn/ground.dds", "dds");
    scratch.write("Maps/Fuzz/track_M_Textures/Dry/Other.dds", "dds");
    scratch.write("Maps/Fuzz/TRACK_M_TEXTURES/Wet/Other.dds", "dds");
    scratch.remove("Maps/TrackValidation.ini");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> parts = zudo::fuzz::splitInput(data, size, 4);
    writeInstallation(parts);
    const std::string& root = zudo::fuzz::ScratchInstallation::instance().root();

    zudo::tracks::FileSystemTextureHost host;
    std::ostringstream reports;
    TrackWeatherParser::Sources sources;
    sources.trackSettingsIni = root + "/Maps/TrackSettings.ini";
    sources.tracksIni = root + "/Maps/Tracks.ini";
    sources.validationIni = root + "/Maps/TrackValidation.ini";
    sources.host = &host;
    sources.reports = &reports;
    TrackWeatherParser parser(std::move(sources));

    std::set<std::int32_t> stages;
    parser.stages(stages);
    std::size_t checked = 0;
    for (const std::int32_t stage : stages) {
        if (++checked > 8) {
            break;
        }
        zudo::tracks::TrackConditionList list;
        parser.trackConditions(zudo::tracks::TrackOverride{stage, "", ""}, list);
        parser.trackConditions(zudo::tracks::TrackOverride{stage, "Maps\\Fuzz\\track", "gravel"}, list);
    }
    // The track ini's value rules on their own.
    zudo::tracks::trackIniInt(parts[2], 7);
    zudo::tracks::trackIniBool(parts[2], true);
    return 0;
}
