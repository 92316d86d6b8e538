#include "util/Log.hpp"

#include <cstdio>
#include <fstream>
#include <locale>

namespace zudo::util {

namespace {

struct LogTarget {
    std::string fileName = pluginLogName;
    std::string directory; // empty: the user's temporary directory
};

LogTarget& target()
{
    static LogTarget instance;
    return instance;
}

void appendLine(const std::string& text)
{
    // Opened and closed for every line, so the file is complete even when the
    // host crashes right after.
    std::ofstream file(platform::nativePath(logFilePath()), std::ios::out | std::ios::app);
    if (!file) {
        return;
    }
    file << logLinePrefix(platform::localTime(), platform::processId(), platform::threadId())
         << ' ' << text << std::endl;
}

} // namespace

Log::Log() : enabled(loggingSwitchedOn())
{
    imbue(std::locale::classic());
    setf(std::ios::boolalpha);
}

Log::~Log() = default;

void Log::writeLine()
{
    if (enabled) {
        try {
            appendLine(str());
        } catch (...) {
            // Logging must never disturb the program: the line is lost.
        }
    }
    str(std::string());
    clear();
}

std::ostream& endLog(std::ostream& out)
{
    if (auto* log = dynamic_cast<Log*>(&out)) {
        log->writeLine();
    }
    return out;
}

std::ostream& operator<<(std::ostream& out, const Hex& hex)
{
    std::ostringstream digits;
    digits << std::hex << hex.value;
    out << "0x";
    for (auto length = static_cast<int>(digits.str().size()); length < hex.width; ++length) {
        out << '0';
    }
    return out << digits.str();
}

void useListingToolLog() { setLogFileName(listingToolLogName); }

std::string logFileName() { return target().fileName; }

void setLogFileName(const std::string& name) { target().fileName = name; }

void setLogDirectory(const std::string& directory) { target().directory = directory; }

std::string logFilePath()
{
    const LogTarget& current = target();
    const std::string directory =
        current.directory.empty() ? platform::tempDirectory() : current.directory;
    return directory + current.fileName;
}

std::string logLinePrefix(const platform::CalendarTime& time, std::uint32_t processId,
                          std::uint32_t threadId)
{
    char prefix[100] = {};
    std::snprintf(prefix, sizeof prefix, "%02d.%02d.%d %02d:%02d:%02d.%03d [%u:%u]:",
                  int{time.day}, int{time.month}, int{time.year}, int{time.hour},
                  int{time.minute}, int{time.second}, int{time.milliseconds},
                  unsigned{processId}, unsigned{threadId});
    return prefix;
}

} // namespace zudo::util
