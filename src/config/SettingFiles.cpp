#include "config/SettingFiles.hpp"

#include "config/Settings.hpp"
#include "io/File.hpp"

namespace zudo::config {

std::string hostPath(const std::string& relative)
{
    return io::File(io::File(io::hostDirectory()), relative).fullPath();
}

std::string viduzuzIniPath() { return hostPath("Viduzuz.ini"); }
std::string carsIniPath() { return hostPath("Cars\\" + carsIniName()); }
std::string zudoIniPath() { return hostPath(zudoIniName()); }
std::string zevarizIniPath() { return hostPath("Plugins\\Zevariz.ini"); }
std::string zuzuzevoIniPath() { return hostPath("Plugins\\Zuzuzevo\\Zuzuzevo.ini"); }
std::string camerasIniPath() { return hostPath("Plugins\\Zuzuzevo\\cameras.ini"); }
std::string dashPositionsIniPath() { return hostPath("Plugins\\Zuzuzevo\\DashPositions.ini"); }
std::string windowPositionsIniPath() { return hostPath("Plugins\\Zuzuzevo\\WindowPositions.ini"); }
std::string telemetryIniPath() { return hostPath("Plugins\\Zuzuzevo\\telemetry.ini"); }
std::string paceNoteIniPath() { return hostPath("Plugins\\Pacenote\\PaceNote.ini"); }
std::string rivovovIniPath() { return hostPath("Rivovov\\Rivovov.ini"); }
std::string trackValidationIniPath() { return hostPath("Maps\\TrackValidation.ini"); }

std::string tracksIniPath() { return "Maps\\Tracks.ini"; }
std::string trackSettingsIniPath() { return "Maps\\TrackSettings.ini"; }
std::string stringsIniPath() { return "Plugins/Zuzuzevo/strings.ini"; }

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
