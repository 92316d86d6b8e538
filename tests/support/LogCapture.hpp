#pragma once
// The program's log pointed at a temporary directory for as long as the
// object lives, and its lines read back (for programs built with logging
// switched on, and linked with the logging code).

#include <sstream>
#include <string>
#include <vector>

#include "support/TempDir.hpp"
#include "util/Log.hpp"

namespace zudo::test {

class LogCapture {
public:
    LogCapture() { util::setLogDirectory(directory_.str() + "/"); }
    ~LogCapture()
    {
        util::setLogDirectory("");
        util::setLogFileName(util::pluginLogName);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const TempDir& directory() const { return directory_; }
    // The path of a log file in the directory (the log's own by default).
    std::string path(const std::string& name = util::logFileName()) const { return directory_.file(name); }

    // The lines of a log file, without their line ends.
    std::vector<std::string> lines(const std::string& name = util::logFileName()) const
    {
        std::istringstream text(directory_.read(name));
        std::vector<std::string> result;
        for (std::string line; std::getline(text, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back(); // Windows writes the log's line ends as "\r\n"
            }
            result.push_back(line);
        }
        return result;
    }

    // The lines without their time and process stamp (up to and with "]: ").
    std::vector<std::string> messages(const std::string& name = util::logFileName()) const
    {
        std::vector<std::string> result = lines(name);
        for (std::string& line : result) {
            const std::size_t start = line.find("]: ");
            if (start != std::string::npos) {
                line.erase(0, start + 3);
            }
        }
        return result;
    }

    // The messages, each followed by a line feed.
    std::string messageText(const std::string& name = util::logFileName()) const
    {
        std::string text;
        for (const std::string& message : messages(name)) {
            text += message + "\n";
        }
        return text;
    }

private:
    TempDir directory_;
};

} // namespace zudo::test
