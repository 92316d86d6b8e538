#pragma once
// Scripts of host events for zudo-sim: one event a line, in the order the
// simulated game delivers them. README ("Script format") describes the
// language; in short:
//
//   draw [N]                          N menu frames (DrawMenuPage), default 1
//   result-page [N]                   N frames of the result page (DrawResultPage)
//   key up|down|left|right|select     HandleFrontEndEvents with that flag
//   char C                            HandleFrontEndEvents with a keyboard character
//   stage-started MAP PLAYER FALSESTART
//   checkpoint TIME N PLAYER
//   results SPLIT1 SPLIT2 FINISH PLAYER
//   tick MS                           advance the host's tick count
//   screenshot NAME                   PNG of the last frame drawn
//   set-int TARGET VALUE              ADDRESS+OFFSET or *ADDRESS+OFFSET
//   peek TARGET [COUNT]               COUNT ints of host memory into the trace
//   peek-crc TARGET LENGTH            CRC-32 of LENGTH bytes of host memory
//   host-event EVENT VALUE            the game raises a host event
//   service-menu-select               the player selects the service menu's first item
//   service-frame SECONDS             one frame of the game's service screen
//
// Integers are decimal or hexadecimal with 0x; times are decimal numbers.
// A text (PLAYER, C) is a word or a quoted text with \" \\ and \xHH escapes.
// A word beginning with # starts a comment that runs to the end of the line.

#include <cstdint>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zudo::sim {

namespace event {

struct Draw {
    std::uint32_t frames = 1;
};
struct ResultPage {
    std::uint32_t frames = 1;
};
enum class Direction : std::uint8_t { Up, Down, Left, Right, Select };
struct Key {
    Direction direction = Direction::Up;
};
struct Char {
    char character = 0;
};
struct StageStarted {
    std::int32_t map = 0;
    std::string player;
    bool falseStart = false;
};
struct CheckPoint {
    float time = 0;
    std::int32_t checkpoint = 0;
    std::string player;
};
struct Results {
    float split1 = 0;
    float split2 = 0;
    float finish = 0;
    std::string player;
};
struct Tick {
    std::uint32_t milliseconds = 0;
};
struct Screenshot {
    std::string name; // a plain file name; ".png" is added when missing
};
// The 32-bit field at address + offset, or, when indirect, at the address
// held at address, plus offset.
struct SetInt {
    bool indirect = false;
    std::uint32_t address = 0;
    std::uint32_t offset = 0;
    std::uint32_t value = 0; // the field's bits (negative values as two's complement)
};
// COUNT 32-bit ints from a target of set-int's forms, written to the trace.
struct Peek {
    bool indirect = false;
    std::uint32_t address = 0;
    std::uint32_t offset = 0;
    std::string target; // as the script writes it
    std::uint32_t count = 1;
};
// The CRC-32 of length bytes from a target of set-int's forms.
struct PeekCrc {
    bool indirect = false;
    std::uint32_t address = 0;
    std::uint32_t offset = 0;
    std::string target;
    std::uint32_t length = 0;
};
// The game raises a host event: the plug-in's one-shot handlers of it, then
// its listeners, run with the value.
struct HostEvent {
    std::int32_t event = 0;
    std::int32_t value = 0;
};
// The player selects the first item of the service menu the plug-in built.
struct ServiceMenuSelect {};
// One frame of the game's service screen: slot 8 of the repair clock's table.
struct ServiceFrame {
    float seconds = 0;
};

} // namespace event

using Event = std::variant<event::Draw, event::ResultPage, event::Key, event::Char,
                           event::StageStarted, event::CheckPoint, event::Results, event::Tick,
                           event::Screenshot, event::SetInt, event::Peek, event::PeekCrc,
                           event::HostEvent, event::ServiceMenuSelect, event::ServiceFrame>;

struct ScriptLine {
    std::size_t number = 0; // 1-based line number in the script
    std::string text;       // the line without its comment and surrounding blanks
    Event event;
};

struct Script {
    std::string source; // the script's name for messages (file name or "standard input")
    std::vector<ScriptLine> lines;
};

// A line that cannot be read: its number and why.
class ScriptError : public std::runtime_error {
public:
    ScriptError(std::size_t line, const std::string& message)
        : std::runtime_error(message), line_(line)
    {
    }
    std::size_t line() const { return line_; }

private:
    std::size_t line_;
};

// Reads a whole script; the first unknown or malformed line throws
// ScriptError, so that nothing runs from a script that is wrong anywhere.
Script parseScript(std::istream& in, const std::string& source);
// One line (a blank or comment line gives nothing).
std::optional<ScriptLine> parseScriptLine(std::string_view line, std::size_t number);

// Numbers as scripts write them: decimal (with an optional minus sign) or
// hexadecimal with 0x/0X. Nothing when the text is not such a number or is
// outside [minimum, maximum].
std::optional<std::int64_t> parseInteger(std::string_view text, std::int64_t minimum,
                                         std::int64_t maximum);

} // namespace zudo::sim
