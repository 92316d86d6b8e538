#pragma once
// Diagnostic log records. A record is composed like an output string stream
// and appended, as one time-stamped line, to the deliverable's log file in the
// user's temporary directory when endLog is inserted:
//
//     zudo::util::Log log;
//     if (log.isEnabled()) {
//         log << "zudo::io::Example::run() - " << "value = " << 3
//             << "  pointer = " << zudo::util::Hex(pointer) << zudo::util::endLog;
//     }
//
// Whether records are written is fixed when the program is built (CMake option
// ZUDO_LOGGING, off by default); call sites test isEnabled() first so that a
// build without logging composes nothing.

#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>

#include "platform/Platform.hpp"

namespace zudo::util {

// The build-time switch: whether log records are written (util/LogSwitch.cpp).
bool loggingSwitchedOn();

class Log : public std::ostringstream {
public:
    // Starts an empty record, enabled when the build writes logs. Booleans are
    // written as "true"/"false" and numbers in the classic "C" locale.
    Log();
    ~Log() override;
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    bool isEnabled() const { return enabled; }
    // Appends the record as one line to the log file (when enabled) and clears
    // the text, so the record can compose the next line. Never throws.
    void writeLine();

    bool enabled;
};

// The manipulator that ends a record: log << ... << endLog. On any stream
// other than a Log it does nothing.
std::ostream& endLog(std::ostream& out);

// A number in messages as "0x" and lower-case hexadecimal digits, padded with
// '0' to width digits when width is greater than 0. Pointers use width 8 (the
// plug-in's addresses are 32 bits; the native build shows all its digits).
struct Hex {
    explicit Hex(std::uint32_t number, int digits = 0) : value(number), width(digits) {}
    explicit Hex(const void* pointer)
        : value(reinterpret_cast<std::uintptr_t>(pointer)), width(8) {}

    std::uint64_t value;
    int width;
};
std::ostream& operator<<(std::ostream& out, const Hex& hex);

// ---------------------------------------------------------------------------
// Where the lines go.

inline constexpr const char* pluginLogName = "Zuzuzevo.log";
inline constexpr const char* listingToolLogName = "Ridoved.log";

// The listing tool calls this once at start: its lines go to Ridoved.log.
void useListingToolLog();
// The file name of the log (Zuzuzevo.log unless changed).
std::string logFileName();
void setLogFileName(const std::string& name);
// Tests point the log at a directory of their own (ending in a separator);
// empty returns to the user's temporary directory.
void setLogDirectory(const std::string& directory);
// The log file's path: the directory, then the file name appended directly.
std::string logFilePath();

// The head of every line: "dd.mm.yyyy hh:mm:ss.mmm [process:thread]:".
std::string logLinePrefix(const platform::CalendarTime& time, std::uint32_t processId,
                          std::uint32_t threadId);

} // namespace zudo::util
