#pragma once
// The settings files: one function per file giving its full path. Files of
// the installation are below the host directory (the directory of the game's
// executable); the game's track lists are read relative to the current
// directory, as the game itself reads them.

#include <string>
#include <string_view>

namespace zudo::config {

// The full path of relative below the host directory.
std::string hostPath(const std::string& relative);

// The plug-in's own directory below the host directory, where its settings,
// rallies, records and progress live.
inline constexpr std::string_view pluginDirectory = "Plugins\\Zuzuzevo";
// name in the plug-in's directory, relative to the host directory.
std::string pluginPath(std::string_view name);

std::string viduzuzIniPath();         // Viduzuz.ini
std::string carsIniPath();            // Cars\ + carsIniName
std::string zudoIniPath();            // the host's ini: zudoIniName
std::string zevarizIniPath();         // Plugins\Zevariz.ini
std::string zuzuzevoIniPath();        // Plugins\Zuzuzevo\Zuzuzevo.ini
std::string camerasIniPath();         // Plugins\Zuzuzevo\cameras.ini
std::string dashPositionsIniPath();   // Plugins\Zuzuzevo\DashPositions.ini
std::string windowPositionsIniPath(); // Plugins\Zuzuzevo\WindowPositions.ini
std::string telemetryIniPath();       // Plugins\Zuzuzevo\telemetry.ini
std::string paceNoteIniPath();        // Plugins\Pacenote\PaceNote.ini
std::string rivovovIniPath();         // Rivovov\Rivovov.ini
std::string trackValidationIniPath(); // Maps\TrackValidation.ini

// Relative to the current directory.
std::string tracksIniPath();        // Maps\Tracks.ini
std::string trackSettingsIniPath(); // Maps\TrackSettings.ini
std::string stringsIniPath();       // Plugins\Zuzuzevo\strings.ini

// The names that Viduzuz.ini gives, with their defaults when a key is missing
// or holds no text.
std::string carsIniName();
std::string zudoExeName();
std::string zudoIniName();

// "Map" and the stage number with at least two digits (Map05, Map10, Map107):
// the sections of Maps\Tracks.ini and of the validation records.
std::string mapSection(int map);

// The host ini's force-feedback key of a surface (0 gravel, 1 tarmac, 2 snow)
// and car: "ForceFeedbackSensitivity" + surface word + "_Car" + car index.
std::string forceFeedbackKey(int surface, int carIndex);

} // namespace zudo::config
