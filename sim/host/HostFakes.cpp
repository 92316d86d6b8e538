#include "sim/host/HostFakes.hpp"

#include <array>
#include <bit>
#include <cstring>
#include <string_view>

#include "util/mem/Bindings.hpp"

namespace zudo::sim {

namespace {

namespace bindings = util::mem::bindings;

// Routines with at most this many arguments are recorded whole; the host's
// routines that the simulator fakes take four at most.
constexpr std::size_t maxRecordedArguments = 8;

void record(GameRecorder& recorder, const char* name, std::span<const std::uint64_t> arguments)
{
    std::array<std::int32_t, maxRecordedArguments> narrow{};
    const std::size_t count = std::min(arguments.size(), narrow.size());
    for (std::size_t i = 0; i < count; ++i) {
        narrow[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(arguments[i]));
    }
    recorder.recordHostRoutine(name, std::span<const std::int32_t>(narrow.data(), count));
}

// A fake that records the call and returns result.
RoutineFake recording(GameRecorder& recorder, const char* name, std::uint64_t result = 0)
{
    return [&recorder, name, result](std::uint32_t, std::span<const std::uint64_t> arguments) {
        record(recorder, name, arguments);
        return result;
    };
}

std::uint64_t floatBits(float value) { return std::bit_cast<std::uint32_t>(value); }

template <class Binding>
void registerRecording(SimulatedHost& host, GameRecorder& recorder, const Binding& binding,
                       std::uint64_t result = 0)
{
    host.registerRoutine(binding.info.address, recording(recorder, binding.info.name, result));
}

} // namespace

void registerHostFakes(SimulatedHost& host, GameRecorder& recorder)
{
    host.registerNamedRoutine(bindings::textWidth.info.name,
                              [&recorder](std::uint32_t, std::span<const std::uint64_t> arguments) {
                                  const auto* text = arguments.empty()
                                      ? nullptr
                                      : reinterpret_cast<const char*>(
                                            static_cast<std::uintptr_t>(arguments[0]));
                                  const std::string_view measured =
                                      text == nullptr ? std::string_view() : text;
                                  return floatBits(recorder.textWidth(measured));
                              });

    registerRecording(host, recorder, bindings::startStage, 1);
    registerRecording(host, recorder, bindings::setPlayerTyres);
    registerRecording(host, recorder, bindings::prepareDrivingStep1);
    registerRecording(host, recorder, bindings::applyCarSetup);
    registerRecording(host, recorder, bindings::prepareDrivingStep3);
    registerRecording(host, recorder, bindings::gameStateSwitchA);
    registerRecording(host, recorder, bindings::gameStateSwitchB);
    registerRecording(host, recorder, bindings::prepareSetupScreen);
    registerRecording(host, recorder, bindings::openSetupScreen);

    const char* tintSetName = bindings::currentTintSet.info.name;
    host.registerRoutine(bindings::currentTintSet.info.address,
                         [&host, &recorder, tintSetName](std::uint32_t self,
                                                         std::span<const std::uint64_t> arguments) {
                             record(recorder, tintSetName, arguments);
                             const std::uint8_t* field =
                                 host.memory(self + simulatedTintSetOffset, 4);
                             std::int32_t tintSet = 0;
                             if (field != nullptr) {
                                 std::memcpy(&tintSet, field, sizeof tintSet);
                             }
                             return static_cast<std::uint64_t>(static_cast<std::uint32_t>(tintSet));
                         });
}

} // namespace zudo::sim
