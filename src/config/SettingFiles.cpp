#include "config/SettingFiles.hpp"

#include "config/Settings.hpp"
#include "io/File.hpp"

namespace zudo::config {

std::string hostPath(const std::string& relative)
{
    return io::File(io::File(io::hostDirectory()), relative).fullPath();
}

std::string pluginPath(std::string_view name)
{
    return std::string(pluginDirectory) + "\\" + std::string(name);
}

std::string viduzuzIniPath() { return hostPath("Viduzuz.ini"); }
std::string carsIniPath() { return hostPath("Cars\\" + carsIniName()); }
std::string zudoIniPath() { return hostPath(zudoIniName()); }
std::string zevarizIniPath() { return hostPath("Plugins\\Zevariz.ini"); }
std::string zuzuzevoIniPath() { return hostPath(pluginPath("Zuzuzevo.ini")); }
std::string camerasIniPath() { return hostPath(pluginPath("cameras.ini")); }
std::string dashPositionsIniPath() { return hostPath(pluginPath("DashPositions.ini")); }
std::string windowPositionsIniPath() { return hostPath(pluginPath("WindowPositions.ini")); }
std::string telemetryIniPath() { return hostPath(pluginPath("telemetry.ini")); }
std::string paceNoteIniPath() { return hostPath("Plugins\\Pacenote\\PaceNote.ini"); }
std::string rivovovIniPath() { return hostPath("Rivovov\\Rivovov.ini"); }
std::string trackValidationIniPath() { return hostPath("Maps\\TrackValidation.ini"); }

std::string tracksIniPath() { return "Maps\\Tracks.ini"; }
std::string trackSettingsIniPath() { return "Maps\\TrackSettings.ini"; }
std::string stringsIniPath() { return pluginPath("strings.ini"); }

std::string carsIniName() { return valueOrDefault(viduzuz::CarsIniName()); }
std::string zudoExeName() { return valueOrDefault(viduzuz::ZudoExeName()); }
std::string zudoIniName() { return valueOrDefault(viduzuz::ZudoIniName()); }

std::string mapSection(int map) { return indexedSection("Map", map, 2); }

std::string forceFeedbackKey(int surface, int carIndex)
{
    static const char* const surfaces[] = {"Gravel", "Tarmac", "Snow"};
    const std::string word = surface >= 0 && surface < 3 ? surfaces[surface] : "";
    return "ForceFeedbackSensitivity" + word + "_Car" + std::to_string(carIndex);
}

} // namespace zudo::config
