#pragma once
// The trace of a simulator run: what the plug-in did, one line per call, in
// call order. README ("Trace format") describes it; in short:
//
//   plugin "Zuzuzevo"            what Name() returned, once at the start
//   # key down                   the script line whose event follows
//   frame 3 menu                 a frame (DrawMenuPage; "result" for DrawResultPage)
//   BeginPage 0 0 0 0            one line per GameInterface call
//   DrawText 50 100 "Hotlaps"
//   HostCall startStage 12 0 3 -1   a host routine the plug-in called
//   Peek *0x7C36A8+80 1          ints of host memory a script asked for
//   PeekCrc 0x7D34C8 7656 0x0123ABCD   their CRC-32
//
// Floats are written in the shortest form that reads back as the same float
// (std::to_chars); texts in double quotes with " and \ escaped by a backslash
// and bytes below 32 as \xHH.

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "sim/record/GameRecorder.hpp"

namespace zudo::sim {

void appendFloat(std::string& out, float value);
void appendQuoted(std::string& out, std::string_view text);
// One call as its trace line, without the line end.
void appendCall(std::string& out, const CallLog& log, const RecordedCall& call);

enum class FrameKind : std::uint8_t { Menu, Result };

class TraceWriter {
public:
    explicit TraceWriter(std::ostream& out) : out_(out) {}

    void pluginName(const char* name);
    void scriptLine(std::string_view text);
    void frame(std::uint64_t number, FrameKind kind);
    void calls(const CallLog& log);
    // "Peek TARGET V1 V2 ..." (signed decimal) and "PeekCrc TARGET LENGTH 0xCRC".
    void peek(std::string_view target, std::span<const std::int32_t> values);
    void peekCrc(std::string_view target, std::uint32_t length, std::uint32_t crc);
    // False once a write failed (a full disk, a closed pipe).
    bool good() const { return out_.good(); }
    void flush() { out_.flush(); }

private:
    void writeLine();

    std::ostream& out_;
    std::string line_; // reused, so that writing allocates nothing once grown
};

} // namespace zudo::sim
