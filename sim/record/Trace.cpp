#include "sim/record/Trace.hpp"

#include <array>
#include <charconv>

namespace zudo::sim {

namespace {

void appendInteger(std::string& out, std::int64_t value)
{
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

std::string_view callName(CallKind kind)
{
    switch (kind) {
    case CallKind::BeginPage: return "BeginPage";
    case CallKind::DrawText: return "DrawText";
    case CallKind::DrawPanel: return "DrawPanel";
    case CallKind::DrawHighlight: return "DrawHighlight";
    case CallKind::DrawMark: return "DrawMark";
    case CallKind::SelectFont: return "SelectFont";
    case CallKind::SelectMenuColor: return "SelectMenuColor";
    case CallKind::SetColor: return "SetColor";
    case CallKind::ShowMessage: return "ShowMessage";
    case CallKind::UnusedSlot: return "UnusedSlot";
    case CallKind::HostRoutine: return "HostCall";
    }
    return "Unknown";
}

void appendFloats(std::string& out, const RecordedCall& call, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        out += ' ';
        appendFloat(out, call.numbers[i]);
    }
}

} // namespace

void appendFloat(std::string& out, float value)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

void appendQuoted(std::string& out, std::string_view text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 32) {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendCall(std::string& out, const CallLog& log, const RecordedCall& call)
{
    out += callName(call.kind);
    switch (call.kind) {
    case CallKind::BeginPage:
    case CallKind::DrawPanel:
    case CallKind::DrawHighlight:
    case CallKind::SetColor:
        appendFloats(out, call, 4);
        break;
    case CallKind::DrawText:
        appendFloats(out, call, 2);
        out += ' ';
        appendQuoted(out, log.text(call));
        break;
    case CallKind::DrawMark:
        appendFloats(out, call, 2);
        out += ' ';
        appendInteger(out, call.value);
        break;
    case CallKind::SelectFont:
    case CallKind::SelectMenuColor:
    case CallKind::UnusedSlot:
        out += ' ';
        appendInteger(out, call.value);
        break;
    case CallKind::ShowMessage:
        out += ' ';
        appendQuoted(out, log.text(call));
        appendFloats(out, call, 3);
        break;
    case CallKind::HostRoutine:
        out += ' ';
        out += call.routine != nullptr ? call.routine : "?";
        for (const std::int32_t argument : log.arguments(call)) {
            out += ' ';
            appendInteger(out, argument);
        }
        if (call.value == 1) {
            out += ' ';
            appendQuoted(out, log.text(call));
        }
        break;
    }
}

void TraceWriter::pluginName(const char* name)
{
    line_ = "plugin ";
    if (name == nullptr) {
        line_ += "null";
    } else {
        appendQuoted(line_, name);
    }
    writeLine();
}

void TraceWriter::scriptLine(std::string_view text)
{
    line_ = "# ";
    line_ += text;
    writeLine();
}

void TraceWriter::frame(std::uint64_t number, FrameKind kind)
{
    line_ = "frame ";
    appendInteger(line_, static_cast<std::int64_t>(number));
    line_ += kind == FrameKind::Menu ? " menu" : " result";
    writeLine();
}

void TraceWriter::calls(const CallLog& log)
{
    for (const RecordedCall& call : log.calls()) {
        line_.clear();
        appendCall(line_, log, call);
        writeLine();
    }
}

void TraceWriter::peek(std::string_view target, std::span<const std::int32_t> values)
{
    line_ = "Peek ";
    line_ += target;
    for (const std::int32_t value : values) {
        line_ += ' ';
        appendInteger(line_, value);
    }
    writeLine();
}

void TraceWriter::peekCrc(std::string_view target, std::uint32_t length, std::uint32_t crc)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    line_ = "PeekCrc ";
    line_ += target;
    line_ += ' ';
    appendInteger(line_, length);
    line_ += " 0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        line_ += digits[(crc >> shift) & 0xF];
    }
    writeLine();
}

void TraceWriter::writeLine()
{
    line_ += '\n';
    out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
}

} // namespace zudo::sim
