// zudo-sim: the game simulated for the native build. Loads the plug-in
// library as the game does, delivers the host events of a script to it and
// writes the trace of every call the plug-in makes (README: "Host simulator").

#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Compiler.hpp"
#include "platform/NativeHostServices.hpp"
#include "platform/Platform.hpp"
#include "sim/driver/Script.hpp"
#include "sim/driver/Simulation.hpp"
#include "sim/record/Trace.hpp"

#ifndef ZUDO_SIM_DEFAULT_PLUGIN
#define ZUDO_SIM_DEFAULT_PLUGIN "Zuzuzevo.so"
#endif

namespace {

using zudo::sim::Failure;
using zudo::sim::SimulationError;

constexpr std::string_view usage =
    "usage: zudo-sim [--plugin PATH] [--install DIR] [--script FILE] [--trace FILE]\n"
    "                [--screenshots DIR]\n"
    "  --plugin PATH      the plug-in library (default: " ZUDO_SIM_DEFAULT_PLUGIN ")\n"
    "  --install DIR      the simulated game's directory, also made current (default: .)\n"
    "  --script FILE      the script of host events (default: standard input)\n"
    "  --trace FILE       where the trace goes (default: standard output)\n"
    "  --screenshots DIR  where screenshot NAME writes NAME.png (default: .)\n"
    "Exit codes: 0 done, 1 command line or files, 2 script, 3 installation or plug-in\n"
    "library, 4 the plug-in threw or crashed.\n";

struct CommandLine {
    std::string plugin = ZUDO_SIM_DEFAULT_PLUGIN;
    std::string install = ".";
    std::optional<std::string> script;
    std::optional<std::string> trace;
    std::string screenshots = ".";
    bool help = false;
};

CommandLine parseCommandLine(const std::vector<std::string_view>& arguments)
{
    CommandLine result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view option = arguments[i];
        std::optional<std::string> value;
        if (const std::size_t equals = option.find('='); option.starts_with("--") && equals != option.npos) {
            value = std::string(option.substr(equals + 1));
            option = option.substr(0, equals);
        }
        if (option == "--help" || option == "-h") {
            result.help = true;
            continue;
        }
        std::string* target = option == "--plugin"        ? &result.plugin
                              : option == "--install"     ? &result.install
                              : option == "--screenshots" ? &result.screenshots
                                                          : nullptr;
        std::optional<std::string>* optionalTarget = option == "--script" ? &result.script
                                                     : option == "--trace" ? &result.trace
                                                                           : nullptr;
        if (target == nullptr && optionalTarget == nullptr) {
            throw SimulationError(Failure::Files, "unknown option " + std::string(option));
        }
        if (!value) {
            if (i + 1 >= arguments.size()) {
                throw SimulationError(Failure::Files, std::string(option) + " needs a value");
            }
            value = std::string(arguments[++i]);
        }
        if (value->empty()) {
            throw SimulationError(Failure::Files, std::string(option) + " needs a value that is not empty");
        }
        if (target != nullptr) {
            *target = *value;
        } else {
            *optionalTarget = *value;
        }
    }
    return result;
}

// Paths on the command line are relative to where zudo-sim was started, not
// to the installation directory that becomes current.
std::string absolute(const std::string& path) { return zudo::platform::fullPath(path).value_or(path); }

zudo::sim::Script readScript(const std::optional<std::string>& file)
{
    if (!file) {
        return zudo::sim::parseScript(std::cin, "standard input");
    }
    std::ifstream in(zudo::platform::nativePath(*file), std::ios::binary);
    if (!in) {
        throw SimulationError(Failure::Files, "the script " + *file + " cannot be opened");
    }
    return zudo::sim::parseScript(in, *file);
}

void prepareScreenshotDirectory(const std::string& directory)
{
    zudo::platform::FileStatus status;
    if (zudo::platform::statFile(directory, status) == 0 && status.directory) {
        return;
    }
    if (const int error = zudo::platform::createDirectory(directory); error != 0) {
        throw SimulationError(Failure::Files, "the screenshot directory " + directory +
                                                  " cannot be created: " + zudo::platform::errorText(error));
    }
}

int fail(const std::string& where, const std::exception& error, int code)
{
    std::cerr << "zudo-sim: " << where << error.what() << '\n';
    return code;
}

int run(const CommandLine& commandLine)
{
    const std::string scriptName = commandLine.script.value_or("standard input");
    zudo::sim::Script script;
    try {
        script = readScript(commandLine.script);
    } catch (const zudo::sim::ScriptError& error) {
        return fail(scriptName + ", line " + std::to_string(error.line()) + ": ", error,
                    static_cast<int>(Failure::Script));
    }

    zudo::sim::SimulationOptions options;
    options.pluginPath = absolute(commandLine.plugin);
    options.installDirectory = absolute(commandLine.install);
    options.screenshotDirectory = absolute(commandLine.screenshots);
    options.scriptSource = scriptName;
    prepareScreenshotDirectory(options.screenshotDirectory);

    std::ofstream traceFile;
    if (commandLine.trace) {
        traceFile.open(zudo::platform::nativePath(absolute(*commandLine.trace)), std::ios::binary);
        if (!traceFile) {
            throw SimulationError(Failure::Files, "the trace " + *commandLine.trace + " cannot be written");
        }
    }
    std::ostream& traceStream = commandLine.trace ? static_cast<std::ostream&>(traceFile) : std::cout;
    zudo::sim::TraceWriter trace(traceStream);

    zudo::platform::native::exitOnFatalSignal(static_cast<int>(Failure::Plugin));
    try {
        zudo::sim::Simulation simulation(options, trace);
        simulation.run(script);
        simulation.shutDown();
        // What the sanitizer build may still find at the exit (a leak).
        zudo::platform::native::setFatalSignalMessage("zudo-sim: a fault at the exit, after the last line of the script");
    } catch (const SimulationError& error) {
        trace.flush();
        const std::string where =
            error.line() != 0 ? scriptName + ", line " + std::to_string(error.line()) + ": " : std::string();
        return fail(where, error, static_cast<int>(error.failure()));
    }
    trace.flush();
    if (!trace.good()) {
        throw SimulationError(Failure::Files, "the trace could not be written completely");
    }
    return 0;
}

} // namespace

// In the sanitizer build the undefined-behaviour checker ends the program
// itself when the plug-in does something undefined; aborting instead lets the
// fatal-signal handler say where the script was (exit code 4).
extern "C" ZUDO_EXPORT const char* __ubsan_default_options();
extern "C" ZUDO_EXPORT const char* __ubsan_default_options() { return "abort_on_error=1"; }

int main(int argc, char** argv)
{
    CommandLine commandLine;
    try {
        commandLine = parseCommandLine(std::vector<std::string_view>(argv + 1, argv + argc));
    } catch (const SimulationError& error) {
        std::cerr << "zudo-sim: " << error.what() << '\n' << usage;
        return static_cast<int>(error.failure());
    }
    if (commandLine.help) {
        std::cout << usage;
        return 0;
    }
    try {
        return run(commandLine);
    } catch (const SimulationError& error) {
        return fail("", error, static_cast<int>(error.failure()));
    } catch (const std::exception& error) {
        return fail("", error, static_cast<int>(Failure::Files));
    }
}
