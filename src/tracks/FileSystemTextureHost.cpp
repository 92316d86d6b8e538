#include "tracks/FileSystemTextureHost.hpp"

#include <algorithm>
#include <locale>

#include <boost/algorithm/string/case_conv.hpp>
#include <boost/algorithm/string/predicate.hpp>

#include "config/ValueText.hpp"
#include "io/File.hpp"
#include "io/FileStreams.hpp"
#include "io/IniFile.hpp"
#include "platform/Platform.hpp"

namespace zudo::tracks {

namespace {

// Stands for a missing key: no value read from a file can hold it.
const std::string missingValue = "\x01";

class FileSystemIniReader : public TrackIniReader {
public:
    // The path is made absolute now: the texture check changes the current
    // directory while it reads.
    explicit FileSystemIniReader(const std::string& path)
        : file_(platform::fullPath(path).value_or(path))
    {
    }

    std::int32_t readInt(const std::string& section, const std::string& key,
                         std::int32_t defaultValue) override
    {
        const std::string value = file_.readString(section, key, missingValue);
        return value == missingValue ? defaultValue : trackIniInt(value, defaultValue);
    }

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) override
    {
        const std::string value = file_.readString(section, key, missingValue);
        return value == missingValue ? defaultValue : value;
    }

    bool readBool(const std::string& section, const std::string& key, bool defaultValue) override
    {
        const std::string value = file_.readString(section, key, missingValue);
        return value == missingValue ? defaultValue : trackIniBool(value, defaultValue);
    }

private:
    io::IniFile file_;
};

} // namespace

std::string sameFileKey(const std::string& path)
{
    std::string key = platform::fullPath(path).value_or(path);
    std::replace(key.begin(), key.end(), '\\', '/');
    boost::algorithm::to_lower(key, std::locale::classic());
    return key;
}

std::int32_t trackIniInt(const std::string& value, std::int32_t defaultValue)
{
    return value.empty() ? defaultValue : config::leadingInteger(value);
}

bool trackIniBool(const std::string& value, bool defaultValue)
{
    if (value.empty()) {
        return defaultValue;
    }
    const std::locale& classic = std::locale::classic();
    for (const char* word : {"true", "yes", "on"}) {
        if (boost::algorithm::iequals(value, word, classic)) {
            return true;
        }
    }
    for (const char* word : {"false", "no", "off"}) {
        if (boost::algorithm::iequals(value, word, classic)) {
            return false;
        }
    }
    return config::leadingInteger(value) != 0;
}

FileSystemTextureHost::FileSystemTextureHost() = default;
FileSystemTextureHost::~FileSystemTextureHost() = default;

std::int64_t FileSystemTextureHost::fileSize(const std::string& path)
{
    platform::FileStatus status;
    if (platform::statFile(path, status) != 0 || status.directory) {
        return -1;
    }
    return status.size;
}

std::int64_t FileSystemTextureHost::readFile(const std::string& path, char* buffer, std::int64_t size)
{
    std::ifstream in = io::openInputStream(path, io::StreamMode::Binary);
    if (!in || size <= 0) {
        return 0;
    }
    in.read(buffer, size);
    return in.gcount();
}

bool FileSystemTextureHost::fileExists(const std::string& path)
{
    const auto [entry, inserted] = existence_.try_emplace(sameFileKey(path), false);
    if (inserted) {
        ++queries_;
        platform::FileStatus status;
        entry->second = platform::statFile(path, status) == 0 && !status.directory;
    }
    return entry->second;
}

std::unique_ptr<TrackIniReader> FileSystemTextureHost::openIni(const std::string& path)
{
    return std::make_unique<FileSystemIniReader>(path);
}

SplitPath FileSystemTextureHost::splitPath(const std::string& path)
{
    const io::File file(path);
    return {file.directory(), file.baseName()};
}

} // namespace zudo::tracks
