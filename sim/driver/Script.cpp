#include "sim/driver/Script.hpp"

#include <array>
#include <charconv>
#include <functional>
#include <limits>

namespace zudo::sim {

namespace {

using namespace std::string_literals;

constexpr std::int64_t int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t uint32Max = std::numeric_limits<std::uint32_t>::max();
constexpr std::int64_t maxFrames = 1'000'000;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

struct Token {
    std::string text; // unescaped
    bool quoted = false;
};

struct TokenizedLine {
    std::vector<Token> tokens;
    std::string_view content; // the line up to its comment, trimmed
};

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A quoted text starting at line[position] (the opening quote); advances
// position past the closing quote.
std::string readQuoted(std::string_view line, std::size_t& position, std::size_t number)
{
    std::string text;
    ++position;
    while (position < line.size()) {
        const char c = line[position++];
        if (c == '"') {
            return text;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (position >= line.size()) {
            break;
        }
        const char escaped = line[position++];
        if (escaped == '"' || escaped == '\\') {
            text += escaped;
        } else if (escaped == 'x' && position + 2 <= line.size() && hexDigit(line[position]) >= 0 &&
                   hexDigit(line[position + 1]) >= 0) {
            const int value = hexDigit(line[position]) * 16 + hexDigit(line[position + 1]);
            if (value == 0) {
                throw ScriptError(number, "a text cannot hold the character \\x00");
            }
            text += static_cast<char>(value);
            position += 2;
        } else {
            throw ScriptError(number, "unknown escape \\"s + escaped +
                                          " in a quoted text (known: \\\" \\\\ \\xHH)");
        }
    }
    throw ScriptError(number, "a quoted text has no closing \"");
}

TokenizedLine tokenize(std::string_view line, std::size_t number)
{
    TokenizedLine result;
    std::size_t position = 0;
    std::size_t contentEnd = 0;
    for (;;) {
        while (position < line.size() && isBlank(line[position])) {
            ++position;
        }
        if (position >= line.size() || line[position] == '#') {
            break;
        }
        Token token;
        if (line[position] == '"') {
            token.quoted = true;
            token.text = readQuoted(line, position, number);
            if (position < line.size() && !isBlank(line[position])) {
                throw ScriptError(number, "a blank must follow a quoted text");
            }
        } else {
            const std::size_t start = position;
            while (position < line.size() && !isBlank(line[position])) {
                ++position;
            }
            token.text = std::string(line.substr(start, position - start));
        }
        contentEnd = position;
        result.tokens.push_back(std::move(token));
    }
    result.content = trimmed(line.substr(0, contentEnd));
    return result;
}

// A text of the script in a message: bytes that a terminal would not show
// as themselves (control bytes, bytes from 0x7F) as \xHH.
std::string quotedForMessage(std::string_view text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte >= 0x7F) {
            quoted += "\\x";
            quoted += hex[byte >> 4];
            quoted += hex[byte & 0xF];
        } else {
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

// Reading the arguments of one event, with messages that name the event.
class Arguments {
public:
    Arguments(std::string_view event, const std::vector<Token>& tokens, std::size_t number)
        : event_(event), tokens_(tokens), number_(number)
    {
    }

    std::size_t count() const { return tokens_.size() - 1; }
    const Token& token(std::size_t index) const { return tokens_[index + 1]; }

    [[noreturn]] void fail(const std::string& message) const { throw ScriptError(number_, message); }

    std::int64_t integer(std::size_t index, std::string_view what, std::int64_t minimum,
                         std::int64_t maximum) const
    {
        const std::string& text = token(index).text;
        const auto value = token(index).quoted ? std::nullopt : parseInteger(text, minimum, maximum);
        if (!value) {
            fail(std::string(what) + " of \"" + std::string(event_) + "\" must be a whole number from " +
                 std::to_string(minimum) + " to " + std::to_string(maximum) +
                 " (decimal, or hexadecimal with 0x), not " + quotedForMessage(text));
        }
        return *value;
    }

    float number(std::size_t index, std::string_view what) const
    {
        const std::string& text = token(index).text;
        float value = 0;
        const char* end = text.data() + text.size();
        const auto [last, error] = std::from_chars(text.data(), end, value);
        if (token(index).quoted || text.empty() || error != std::errc() || last != end) {
            fail(std::string(what) + " of \"" + std::string(event_) +
                 "\" must be a decimal number such as 65.25, not " + quotedForMessage(text));
        }
        return value;
    }

    bool flag(std::size_t index, std::string_view what) const
    {
        const std::string& text = token(index).text;
        if (text == "1" || text == "true") {
            return true;
        }
        if (text == "0" || text == "false") {
            return false;
        }
        fail(std::string(what) + " of \"" + std::string(event_) + "\" must be 0, 1, true or false, not " +
             quotedForMessage(text));
    }

    const std::string& text(std::size_t index) const { return token(index).text; }

private:
    std::string_view event_;
    const std::vector<Token>& tokens_;
    std::size_t number_;
};

event::SetInt setIntTarget(const Arguments& arguments, std::string_view eventName = "set-int")
{
    std::string_view target = arguments.text(0);
    event::SetInt result;
    const auto bad = [&arguments, eventName](std::string_view why) {
        arguments.fail("the target of \"" + std::string(eventName) +
                       "\" must be ADDRESS+OFFSET or *ADDRESS+OFFSET, not " +
                       quotedForMessage(arguments.text(0)) + ": " + std::string(why));
    };
    if (arguments.token(0).quoted) {
        bad("a target is not quoted");
    }
    if (!target.empty() && target.front() == '*') {
        result.indirect = true;
        target.remove_prefix(1);
    }
    const std::size_t plus = target.find('+');
    const auto address = parseInteger(target.substr(0, plus), 0, uint32Max);
    if (!address) {
        bad("the address is not a number from 0 to 0xFFFFFFFF");
    }
    result.address = static_cast<std::uint32_t>(*address);
    if (plus != std::string_view::npos) {
        const auto offset = parseInteger(target.substr(plus + 1), 0, uint32Max);
        if (!offset) {
            bad("the offset is not a number from 0 to 0xFFFFFFFF");
        }
        result.offset = static_cast<std::uint32_t>(*offset);
    }
    return result;
}

std::string screenshotName(const Arguments& arguments)
{
    const std::string& name = arguments.text(0);
    const bool reserved = name.empty() || name == "." || name == "..";
    bool plain = !reserved;
    for (const char c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 32) {
            plain = false;
        }
    }
    if (!plain) {
        arguments.fail("the name of \"screenshot\" must be a plain file name without a directory, not " +
                       quotedForMessage(name));
    }
    return name;
}

char character(const Arguments& arguments)
{
    const std::string& text = arguments.text(0);
    if (text.size() != 1) {
        arguments.fail("\"char\" takes one character (quote it for # or a blank: char \"#\"; "
                       "\\xHH for any other), not " +
                       quotedForMessage(text));
    }
    return text[0];
}

struct EventSpec {
    std::string_view name;
    std::string_view usage;
    std::size_t minimum;
    std::size_t maximum;
    std::function<Event(const Arguments&)> read;
};

template <class PeekEvent>
PeekEvent peekTarget(const Arguments& arguments, std::string_view eventName)
{
    const event::SetInt target = setIntTarget(arguments, eventName);
    PeekEvent result;
    result.indirect = target.indirect;
    result.address = target.address;
    result.offset = target.offset;
    result.target = arguments.text(0);
    return result;
}

constexpr std::int64_t maxPeekCount = 4096;
constexpr std::int64_t maxPeekLength = 64 << 20;

const std::array<EventSpec, 15>& eventSpecs()
{
    static const std::array<EventSpec, 15> specs{{
        {"draw", "draw [N]", 0, 1,
         [](const Arguments& a) -> Event {
             return event::Draw{a.count() == 0 ? 1u
                                               : static_cast<std::uint32_t>(a.integer(0, "N", 1, maxFrames))};
         }},
        {"result-page", "result-page [N]", 0, 1,
         [](const Arguments& a) -> Event {
             return event::ResultPage{
                 a.count() == 0 ? 1u : static_cast<std::uint32_t>(a.integer(0, "N", 1, maxFrames))};
         }},
        {"key", "key up|down|left|right|select", 1, 1,
         [](const Arguments& a) -> Event {
             static constexpr std::array<std::pair<std::string_view, event::Direction>, 5> names{{
                 {"up", event::Direction::Up},
                 {"down", event::Direction::Down},
                 {"left", event::Direction::Left},
                 {"right", event::Direction::Right},
                 {"select", event::Direction::Select},
             }};
             for (const auto& [name, direction] : names) {
                 if (a.text(0) == name && !a.token(0).quoted) {
                     return event::Key{direction};
                 }
             }
             a.fail("\"key\" takes up, down, left, right or select, not " + quotedForMessage(a.text(0)));
         }},
        {"char", "char C", 1, 1, [](const Arguments& a) -> Event { return event::Char{character(a)}; }},
        {"stage-started", "stage-started MAP PLAYER FALSESTART", 3, 3,
         [](const Arguments& a) -> Event {
             return event::StageStarted{static_cast<std::int32_t>(a.integer(0, "MAP", int32Min, int32Max)),
                                        a.text(1), a.flag(2, "FALSESTART")};
         }},
        {"checkpoint", "checkpoint TIME N PLAYER", 3, 3,
         [](const Arguments& a) -> Event {
             return event::CheckPoint{a.number(0, "TIME"),
                                      static_cast<std::int32_t>(a.integer(1, "N", int32Min, int32Max)),
                                      a.text(2)};
         }},
        {"results", "results SPLIT1 SPLIT2 FINISH PLAYER", 4, 4,
         [](const Arguments& a) -> Event {
             return event::Results{a.number(0, "SPLIT1"), a.number(1, "SPLIT2"), a.number(2, "FINISH"),
                                   a.text(3)};
         }},
        {"tick", "tick MS", 1, 1,
         [](const Arguments& a) -> Event {
             return event::Tick{static_cast<std::uint32_t>(a.integer(0, "MS", 0, uint32Max))};
         }},
        {"screenshot", "screenshot NAME", 1, 1,
         [](const Arguments& a) -> Event { return event::Screenshot{screenshotName(a)}; }},
        {"set-int", "set-int TARGET VALUE", 2, 2,
         [](const Arguments& a) -> Event {
             event::SetInt result = setIntTarget(a);
             result.value = static_cast<std::uint32_t>(a.integer(1, "VALUE", int32Min, uint32Max));
             return result;
         }},
        {"peek", "peek TARGET [COUNT]", 1, 2,
         [](const Arguments& a) -> Event {
             auto result = peekTarget<event::Peek>(a, "peek");
             if (a.count() == 2) {
                 result.count = static_cast<std::uint32_t>(a.integer(1, "COUNT", 1, maxPeekCount));
             }
             return result;
         }},
        {"peek-crc", "peek-crc TARGET LENGTH", 2, 2,
         [](const Arguments& a) -> Event {
             auto result = peekTarget<event::PeekCrc>(a, "peek-crc");
             result.length = static_cast<std::uint32_t>(a.integer(1, "LENGTH", 1, maxPeekLength));
             return result;
         }},
        {"host-event", "host-event EVENT VALUE", 2, 2,
         [](const Arguments& a) -> Event {
             return event::HostEvent{static_cast<std::int32_t>(a.integer(0, "EVENT", int32Min, int32Max)),
                                     static_cast<std::int32_t>(a.integer(1, "VALUE", int32Min, int32Max))};
         }},
        {"service-menu-select", "service-menu-select", 0, 0,
         [](const Arguments&) -> Event { return event::ServiceMenuSelect{}; }},
        {"service-frame", "service-frame SECONDS", 1, 1,
         [](const Arguments& a) -> Event { return event::ServiceFrame{a.number(0, "SECONDS")}; }},
    }};
    return specs;
}

std::string knownEvents()
{
    std::string list;
    const auto& specs = eventSpecs();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (i > 0) {
            list += i + 1 == specs.size() ? " or " : ", ";
        }
        list += specs[i].name;
    }
    return list;
}

std::string argumentCountMessage(const EventSpec& spec, std::size_t given)
{
    const std::string expected = spec.minimum == spec.maximum ? std::to_string(spec.minimum)
        : spec.minimum == 0 ? "at most " + std::to_string(spec.maximum)
                            : std::to_string(spec.minimum) + " to " + std::to_string(spec.maximum);
    return "\"" + std::string(spec.name) + "\" takes " + expected +
           (spec.maximum == 1 ? " argument" : " arguments") + " (" + std::string(spec.usage) + "), not " +
           std::to_string(given);
}

} // namespace

std::optional<std::int64_t> parseInteger(std::string_view text, std::int64_t minimum, std::int64_t maximum)
{
    bool negative = false;
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, magnitude, base);
    if (error != std::errc() || last != end || magnitude > (std::uint64_t{1} << 62)) {
        return std::nullopt;
    }
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}

std::optional<ScriptLine> parseScriptLine(std::string_view line, std::size_t number)
{
    const TokenizedLine tokenized = tokenize(line, number);
    if (tokenized.tokens.empty()) {
        return std::nullopt;
    }
    const Token& name = tokenized.tokens.front();
    for (const EventSpec& spec : eventSpecs()) {
        if (name.quoted || name.text != spec.name) {
            continue;
        }
        const std::size_t given = tokenized.tokens.size() - 1;
        if (given < spec.minimum || given > spec.maximum) {
            throw ScriptError(number, argumentCountMessage(spec, given));
        }
        const Arguments arguments(spec.name, tokenized.tokens, number);
        return ScriptLine{number, std::string(tokenized.content), spec.read(arguments)};
    }
    throw ScriptError(number, "unknown event " + quotedForMessage(name.text) + " (known: " + knownEvents() +
                                  ")");
}

Script parseScript(std::istream& in, const std::string& source)
{
    Script script;
    script.source = source;
    std::string line;
    std::size_t number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (auto parsed = parseScriptLine(line, number)) {
            script.lines.push_back(std::move(*parsed));
        }
    }
    if (in.bad()) {
        throw ScriptError(number + 1, "the script could not be read to its end");
    }
    return script;
}

} // namespace zudo::sim
