#include "sim/driver/Simulation.hpp"

#include <array>
#include <charconv>
#include <cstring>
#include <utility>
#include <variant>
#include <vector>

#include <boost/crc.hpp>

#include "platform/NativeHostServices.hpp"
#include "platform/Platform.hpp"
#include "sim/driver/Screenshot.hpp"
#include "sim/host/CarDamageFakes.hpp"
#include "sim/host/HostFakes.hpp"
#include "sim/host/ReplayFakes.hpp"
#include "sim/host/SimulatedHost.hpp"
#include "sim/host/StageStartModel.hpp"

namespace zudo::sim {

namespace {

constexpr const char* factoryName = "ZUDO_CreatePlugin";

// The plug-in object of the process, held like the game holds it: a run that
// stops on a failure leaves it alive (and reachable, so that the leak checker
// of the sanitizer build does not take it for a leak).
PluginInterface* heldPlugin = nullptr;

std::string hex(std::uint64_t value)
{
    std::array<char, 20> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, 16);
    std::string text(buffer.data(), result.ptr);
    for (char& c : text) {
        if (c >= 'a' && c <= 'f') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return "0x" + text;
}

bool endsWithPng(const std::string& name)
{
    if (name.size() < 4) {
        return false;
    }
    std::string suffix = name.substr(name.size() - 4);
    for (char& c : suffix) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return suffix == ".png";
}

std::string absoluteDirectory(const std::string& directory)
{
    std::string absolute = platform::fullPath(directory).value_or(directory);
    while (absolute.size() > 1 && (absolute.back() == '/' || absolute.back() == '\\')) {
        absolute.pop_back();
    }
    return absolute;
}

void requireDirectory(const std::string& directory)
{
    platform::FileStatus status;
    const int error = platform::statFile(directory, status);
    if (error != 0) {
        throw SimulationError(Failure::Load, "the installation directory " + directory +
                                                 " cannot be used: " + platform::errorText(error));
    }
    if (!status.directory) {
        throw SimulationError(Failure::Load,
                              "the installation directory " + directory + " is not a directory");
    }
}

} // namespace

PluginInterface* loadPlugin(const std::string& path, GameInterface& game)
{
    if (!platform::fileExists(path)) {
        throw SimulationError(Failure::Load, "the plug-in library " + path + " does not exist");
    }
    std::string error;
    void* library = platform::native::loadSharedLibrary(path, error);
    if (library == nullptr) {
        throw SimulationError(Failure::Load,
                              "the plug-in library " + path + " cannot be loaded: " + error);
    }
    void* factory = platform::native::sharedLibrarySymbol(library, factoryName);
    if (factory == nullptr) {
        throw SimulationError(Failure::Load, "the plug-in library " + path + " does not export " +
                                                 factoryName + ": it is not a plug-in of the game");
    }
    using Factory = PluginInterface* (*)(GameInterface*);
    PluginInterface* plugin = reinterpret_cast<Factory>(factory)(&game);
    if (plugin == nullptr) {
        throw SimulationError(Failure::Load, std::string(factoryName) + " of " + path +
                                                 " gave no plug-in object");
    }
    return plugin;
}

Simulation::Simulation(const SimulationOptions& options, TraceWriter& trace)
    : options_(options), trace_(trace)
{
    const std::string install = absoluteDirectory(options.installDirectory);
    requireDirectory(install);
    SimulatedHost& host = SimulatedHost::instance();
    host.reset();
    host.setExecutablePath(install + "/" + simulatedExecutableName);
    host.registerAsHost();
    registerHostFakes(host, recorder_);
    registerStageStartFakes(host, recorder_);
    registerCarDamageFakes(host, &recorder_);
    registerReplayFakes(host, recorder_);
    servicePark_ = &registerServiceParkFakes(host, recorder_);
    if (!platform::setCurrentDirectory(install)) {
        throw SimulationError(Failure::Load,
                              "the installation directory " + install + " cannot be made current");
    }
    platform::native::setFatalSignalMessage("zudo-sim: the plug-in crashed while being loaded");
    callPlugin(factoryName, [&] { plugin_ = loadPlugin(options.pluginPath, recorder_); });
    heldPlugin = plugin_;
    const char* name = nullptr;
    callPlugin("Name", [&] { name = plugin_->Name(); });
    trace_.pluginName(name);
}

Simulation::~Simulation() = default;

void Simulation::shutDown()
{
    if (plugin_ == nullptr) {
        return;
    }
    platform::native::setFatalSignalMessage("zudo-sim: the plug-in crashed while being destroyed");
    PluginInterface* plugin = std::exchange(plugin_, nullptr);
    heldPlugin = nullptr;
    callPlugin("its destructor", [plugin] { plugin->DeletingDestructor(1); });
}

template <class Call>
void Simulation::callPlugin(const char* operation, Call&& call)
{
    // A crash inside the call ends the process at once: what the trace holds
    // so far must be out by then.
    trace_.flush();
    recorder_.log().clear();
    const auto escaped = [this, operation](const std::string& what) {
        trace_.calls(recorder_.log()); // what the plug-in did before it failed
        return SimulationError(Failure::Plugin, std::string("the plug-in let an exception escape from ") +
                                                    operation + ": " + what);
    };
    try {
        call();
    } catch (const SimulationError&) {
        throw;
    } catch (const std::exception& exception) {
        throw escaped(exception.what());
    } catch (...) {
        throw escaped("an exception that is no std::exception");
    }
    trace_.calls(recorder_.log());
}

void Simulation::run(const Script& script)
{
    for (const ScriptLine& line : script.lines) {
        runLine(line);
    }
}

void Simulation::runLine(const ScriptLine& line)
{
    platform::native::setFatalSignalMessage("zudo-sim: " + options_.scriptSource + ", line " +
                                            std::to_string(line.number) + ": the plug-in crashed on \"" +
                                            line.text + "\"");
    trace_.scriptLine(line.text);
    try {
        std::visit([this](const auto& event) { deliver(event); }, line.event);
    } catch (const SimulationError& error) {
        throw SimulationError(error.failure(), error.what(), line.number);
    }
}

void Simulation::drawMenuFrame() { drawFrame(FrameKind::Menu); }

void Simulation::drawResultFrame() { drawFrame(FrameKind::Result); }

void Simulation::drawFrame(FrameKind kind)
{
    ++frames_;
    trace_.frame(frames_, kind);
    const DrawingState start = recorder_.state();
    if (kind == FrameKind::Menu) {
        callPlugin("DrawMenuPage", [this] { plugin_->DrawMenuPage(); });
    } else {
        callPlugin("DrawResultPage", [this] { plugin_->DrawResultPage(); });
    }
    lastFrame_.swap(recorder_.log());
    lastFrameStart_ = start;
}

void Simulation::deliver(const event::Draw& draw)
{
    for (std::uint32_t i = 0; i < draw.frames; ++i) {
        drawMenuFrame();
    }
}

void Simulation::deliver(const event::ResultPage& page)
{
    for (std::uint32_t i = 0; i < page.frames; ++i) {
        drawResultFrame();
    }
}

void Simulation::deliver(const event::Key& key)
{
    using event::Direction;
    const Direction d = key.direction;
    callPlugin("HandleFrontEndEvents", [this, d] {
        plugin_->HandleFrontEndEvents(0, d == Direction::Up, d == Direction::Down, d == Direction::Left,
                                      d == Direction::Right, d == Direction::Select);
    });
}

void Simulation::deliver(const event::Char& character)
{
    callPlugin("HandleFrontEndEvents", [this, &character] {
        plugin_->HandleFrontEndEvents(character.character, false, false, false, false, false);
    });
}

void Simulation::deliver(const event::StageStarted& started)
{
    callPlugin("OnStageStarted", [this, &started] {
        plugin_->OnStageStarted(started.map, started.player.c_str(), started.falseStart);
    });
}

void Simulation::deliver(const event::CheckPoint& checkpoint)
{
    callPlugin("OnCheckPoint", [this, &checkpoint] {
        plugin_->OnCheckPoint(checkpoint.time, checkpoint.checkpoint, checkpoint.player.c_str());
    });
}

void Simulation::deliver(const event::Results& results)
{
    callPlugin("OnStageResults", [this, &results] {
        plugin_->OnStageResults(results.split1, results.split2, results.finish, results.player.c_str());
    });
}

void Simulation::deliver(const event::Tick& tick)
{
    SimulatedHost::instance().advanceTickCount(tick.milliseconds);
}

void Simulation::deliver(const event::Screenshot& screenshot)
{
    if (frames_ == 0) {
        throw SimulationError(Failure::Script, "no frame has been drawn yet to take a screenshot of");
    }
    std::string path = options_.screenshotDirectory + "/" + screenshot.name;
    if (!endsWithPng(path)) {
        path += ".png";
    }
    std::string error;
    if (!FrameImage(lastFrame_, lastFrameStart_).writePng(path, error)) {
        throw SimulationError(Failure::Files, "the screenshot " + path + " cannot be written: " + error);
    }
}

namespace {

// The host memory a script target names: size bytes at address + offset, or
// at the address the host keeps at address, plus offset.
std::uint8_t* targetMemory(bool indirect, std::uint32_t address, std::uint32_t offset, std::uint32_t size)
{
    SimulatedHost& host = SimulatedHost::instance();
    std::uint32_t object = address;
    if (indirect) {
        const std::uint8_t* pointer = host.memory(address, 4);
        if (pointer == nullptr) {
            throw SimulationError(Failure::Script, "the pointer at " + hex(address) +
                                                       " is outside the simulated host memory");
        }
        std::memcpy(&object, pointer, sizeof object);
        if (object == 0) {
            throw SimulationError(Failure::Script,
                                  "the host keeps no object at " + hex(address) + ": the pointer is null");
        }
    }
    const std::uint64_t target = std::uint64_t{object} + offset;
    std::uint8_t* field = target + size > 0x100000000u
        ? nullptr
        : host.memory(static_cast<std::uint32_t>(target), size);
    if (field == nullptr) {
        const std::string what = size == 4 ? "the field at " : "the " + std::to_string(size) + " bytes at ";
        throw SimulationError(Failure::Script, what + hex(target) +
                                                   (size == 4 ? " is" : " are") + " outside the simulated host memory");
    }
    return field;
}

} // namespace

void Simulation::deliver(const event::SetInt& setInt)
{
    std::uint8_t* field = targetMemory(setInt.indirect, setInt.address, setInt.offset, 4);
    std::memcpy(field, &setInt.value, sizeof setInt.value);
}

void Simulation::deliver(const event::HostEvent& hostEvent)
{
    callPlugin("a host event handler",
               [this, &hostEvent] { servicePark_->raise(hostEvent.event, hostEvent.value); });
}

void Simulation::deliver(const event::ServiceMenuSelect&)
{
    if (servicePark_->menuAction.isNull()) {
        throw SimulationError(Failure::Script, "the plug-in has built no service menu to select in");
    }
    callPlugin("the service menu's action", [this] { servicePark_->selectMenuItem(); });
}

void Simulation::deliver(const event::ServiceFrame& frame)
{
    if (servicePark_->clock.isNull()) {
        throw SimulationError(Failure::Script,
                              "the plug-in has built no service menu: there is no service screen to draw");
    }
    callPlugin("the service screen's frame", [this, &frame] { servicePark_->frame(frame.seconds); });
}

void Simulation::deliver(const event::Peek& peek)
{
    const std::uint8_t* bytes = targetMemory(peek.indirect, peek.address, peek.offset, 4 * peek.count);
    std::vector<std::int32_t> values(peek.count);
    std::memcpy(values.data(), bytes, 4 * std::size_t{peek.count});
    trace_.peek(peek.target, values);
}

void Simulation::deliver(const event::PeekCrc& peek)
{
    const std::uint8_t* bytes = targetMemory(peek.indirect, peek.address, peek.offset, peek.length);
    boost::crc_32_type crc;
    crc.process_bytes(bytes, peek.length);
    trace_.peekCrc(peek.target, peek.length, crc.checksum());
}

} // namespace zudo::sim
