#pragma once
// One run of the simulated game: the replacement host set up as the game
// installed in a directory, the plug-in loaded through its export as the game
// loads it, and the events of a script delivered to it, with every call the
// plug-in makes written to the trace.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "sim/driver/Script.hpp"
#include "sim/host/ServiceParkFakes.hpp"
#include "sim/record/GameRecorder.hpp"
#include "sim/record/Trace.hpp"
#include "ui/HostInterfaces.hpp"

namespace zudo::sim {

// Why a run stopped; the numbers are zudo-sim's exit codes.
enum class Failure : int {
    Files = 1,  // command line, trace or screenshot files
    Script = 2, // a line that cannot be read or carried out
    Load = 3,   // the installation directory or the plug-in library
    Plugin = 4, // the plug-in threw or crashed
};

class SimulationError : public std::runtime_error {
public:
    SimulationError(Failure failure, const std::string& message, std::size_t line = 0)
        : std::runtime_error(message), failure_(failure), line_(line)
    {
    }
    Failure failure() const { return failure_; }
    std::size_t line() const { return line_; } // 0 when no script line caused it

private:
    Failure failure_;
    std::size_t line_;
};

struct SimulationOptions {
    std::string pluginPath;          // the plug-in library
    std::string installDirectory;    // the simulated game's directory (must exist)
    std::string screenshotDirectory; // where screenshot NAME writes NAME.png
    std::string scriptSource;        // the script's name in crash messages
};

// The name of the simulated game's executable in its directory.
inline constexpr const char* simulatedExecutableName = "Zoraravi_SSE.exe";

// A plug-in library loaded as the game loads it: the factory found by its
// export and called with the game's interface.
PluginInterface* loadPlugin(const std::string& path, GameInterface& game);

class Simulation {
public:
    // Sets up the host (fresh memory, fakes, tick count 0, the executable in
    // the installation directory, which also becomes the current directory),
    // loads the plug-in and writes its name to the trace. Throws
    // SimulationError (Load, Plugin).
    Simulation(const SimulationOptions& options, TraceWriter& trace);
    // Leaves the plug-in as it is (the game destroys it only when it exits
    // normally: see shutDown).
    ~Simulation();
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;

    // Runs every line; the first failure throws SimulationError with the line.
    void run(const Script& script);
    void runLine(const ScriptLine& line);
    // Destroys the plug-in as the game does when it exits (DeletingDestructor
    // with 1). Throws SimulationError (Plugin).
    void shutDown();

    // One frame of the menu page: the plug-in's DrawMenuPage, its calls
    // written to the trace. Throws SimulationError (Plugin).
    void drawMenuFrame();
    void drawResultFrame();

    GameRecorder& recorder() { return recorder_; }
    // The game's service park (its state; frames and events through runLine).
    ServicePark& servicePark() { return *servicePark_; }
    // The calls of the last frame drawn, and the drawing state it began with.
    const CallLog& lastFrame() const { return lastFrame_; }
    const DrawingState& lastFrameStart() const { return lastFrameStart_; }
    std::uint64_t framesDrawn() const { return frames_; }

private:
    template <class Call>
    void callPlugin(const char* operation, Call&& call);
    void drawFrame(FrameKind kind);
    void deliver(const event::Draw& draw);
    void deliver(const event::ResultPage& page);
    void deliver(const event::Key& key);
    void deliver(const event::Char& character);
    void deliver(const event::StageStarted& started);
    void deliver(const event::CheckPoint& checkpoint);
    void deliver(const event::Results& results);
    void deliver(const event::Tick& tick);
    void deliver(const event::Screenshot& screenshot);
    void deliver(const event::SetInt& setInt);
    void deliver(const event::Peek& peek);
    void deliver(const event::PeekCrc& peek);
    // The service park and the host events.
    void deliver(const event::HostEvent& hostEvent);
    void deliver(const event::ServiceMenuSelect& select);
    void deliver(const event::ServiceFrame& frame);

    SimulationOptions options_;
    TraceWriter& trace_;
    GameRecorder recorder_;
    CallLog lastFrame_;
    DrawingState lastFrameStart_;
    std::uint64_t frames_ = 0;
    PluginInterface* plugin_ = nullptr;
    ServicePark* servicePark_ = nullptr;
};

} // namespace zudo::sim
