#pragma once
// The simulated game's side of the plug-in interface: a GameInterface that
// draws nothing and records every call the plug-in makes, in call order,
// together with the host routine calls that the simulator's fakes report.
// It also keeps the host's drawing state (font and colour), which the text
// width depends on.
//
// Text width, deterministic so that traces are the same on every machine:
// 6 units per character in font 0, 8 in font 1, 6 in any other font.
//
// The calls are kept in a CallLog that is cleared, not freed: once the logs
// have grown to a frame's size, recording allocates nothing.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/HostInterfaces.hpp"

namespace zudo::sim {

enum class CallKind : std::uint8_t {
    BeginPage,
    DrawText,
    DrawPanel,
    DrawHighlight,
    DrawMark,
    SelectFont,
    SelectMenuColor,
    SetColor,
    ShowMessage,
    UnusedSlot,  // a slot the plug-in must never call (value: its number)
    HostRoutine, // a host routine fake (name, arguments)
};

struct RecordedCall {
    CallKind kind = CallKind::BeginPage;
    // x, y, width, height; r, g, b, a; duration, x, y (ShowMessage); x, y (text, mark).
    std::array<float, 4> numbers{};
    std::int32_t value = 0; // mark id, font, menu colour, unused slot number; HostRoutine: 1 with a text
    const char* routine = nullptr; // HostRoutine: the routine's name (static storage)
    std::uint32_t textOffset = 0;
    std::uint32_t textLength = 0;
    std::uint32_t argumentOffset = 0;
    std::uint32_t argumentCount = 0;
};

class CallLog {
public:
    void clear();
    void swap(CallLog& other) noexcept;

    std::span<const RecordedCall> calls() const { return calls_; }
    bool empty() const { return calls_.empty(); }
    std::string_view text(const RecordedCall& call) const;
    std::span<const std::int32_t> arguments(const RecordedCall& call) const;

    void add(RecordedCall call, std::string_view text = {},
             std::span<const std::int32_t> arguments = {});

private:
    std::vector<RecordedCall> calls_;
    std::string texts_;
    std::vector<std::int32_t> arguments_;
};

// Units of width per character of a font in the simulated front end.
float characterWidth(std::int32_t font);

// The host's drawing state: the font and colour of later drawing. A colour is
// a menu colour or, after SetColor, the colour given.
struct DrawingState {
    std::int32_t font = 0;
    bool menuColourSelected = true;
    std::int32_t menuColour = 0;
    std::array<float, 4> rgba{1, 1, 1, 1};
};

class GameRecorder : public GameInterface {
public:
    GameRecorder() = default;
    // Tests derive from the recorder; the game's slots stay first in the table.
    virtual ~GameRecorder() = default;
    GameRecorder(const GameRecorder&) = delete;
    GameRecorder& operator=(const GameRecorder&) = delete;

    // The calls since the last clear.
    CallLog& log() { return log_; }
    const CallLog& log() const { return log_; }

    const DrawingState& state() const { return state_; }
    // Width of a text in the current font.
    float textWidth(std::string_view text) const;

    // A host routine fake was called: the routine's name (a string of static
    // storage) and its 32-bit arguments.
    void recordHostRoutine(const char* name, std::span<const std::int32_t> arguments);
    // The same for a routine that also takes a text (a file name): the text
    // follows the numbers in the trace line.
    void recordHostRoutine(const char* name, std::span<const std::int32_t> arguments,
                           std::string_view text);

    void* ZUDO_THISCALL DeletingDestructor(unsigned int flags) override;
    void ZUDO_THISCALL ShowMessage(const char* text, float duration, float x, float y) override;
    void ZUDO_THISCALL DrawText(float x, float y, const char* text) override;
    void ZUDO_THISCALL UnusedSlot3() override;
    void ZUDO_THISCALL DrawPanel(float x, float y, float width, float height) override;
    void ZUDO_THISCALL BeginPage(float x, float y, float width, float height) override;
    void ZUDO_THISCALL DrawHighlight(float x, float y, float width, float height) override;
    void ZUDO_THISCALL DrawMark(float x, float y, int id) override;
    void ZUDO_THISCALL UnusedSlot8() override;
    void ZUDO_THISCALL UnusedSlot9() override;
    void ZUDO_THISCALL SelectFont(int font) override;
    void ZUDO_THISCALL SelectMenuColor(int colour) override;
    void ZUDO_THISCALL SetColor(float r, float g, float b, float a) override;

private:
    void recordBox(CallKind kind, float x, float y, float width, float height);
    void recordUnused(std::int32_t slot);

    CallLog log_;
    DrawingState state_;
};

} // namespace zudo::sim
