#include "tracks/FileSystemTextureHost.hpp"

#include <algorithm>
#include <cerrno>
#include <locale>
#include <vector>

#include <boost/algorithm/string/predicate.hpp>

#include "config/ValueText.hpp"
#include "io/File.hpp"
#include "io/FileStreams.hpp"
#include "io/IniFile.hpp"
#include "platform/Platform.hpp"
#include "util/LowerCase.hpp"

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

namespace {

std::string keyOfAbsolute(std::string absolute)
{
    std::replace(absolute.begin(), absolute.end(), '\\', '/');
    return util::lowerCase(std::move(absolute), std::locale::classic());
}

// Whether a part of the path is "." or "..".
bool hasDotPart(const std::string& path)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !io::isPathSeparator(path[end])) {
            ++end;
        }
        const std::size_t length = end - start;
        if ((length == 1 || length == 2) && path.compare(start, length, std::string(length, '.')) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

} // namespace

std::string sameFileKey(const std::string& path) { return keyOfAbsolute(platform::fullPath(path).value_or(path)); }

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

const FileSystemTextureHost::Listing& FileSystemTextureHost::listing(const std::string& directoryKey,
                                                                     const std::string& directory)
{
    const auto [entry, inserted] = listings_.try_emplace(directoryKey);
    if (!inserted) {
        return entry->second;
    }
    ++queries_;
    Listing& found = entry->second;
    std::vector<std::string> names;
    int error = 0;
    found.readable = platform::listFileNames(directory, names, error) || error == ENOENT;
    for (std::string& name : names) {
        found.files.insert(util::lowerCase(std::move(name), std::locale::classic()));
    }
    return found;
}

bool FileSystemTextureHost::fileExists(const std::string& path)
{
    const std::string absolute = absolutePath(path);
    const std::string key = keyOfAbsolute(absolute);
    const auto split = key.find_last_of('/');
    if (split != std::string::npos && split > 0 && split + 1 < key.size()) {
        const Listing& files = listing(key.substr(0, split), absolute.substr(0, split));
        if (files.readable) {
            return files.files.count(key.substr(split + 1)) != 0;
        }
    }
    const auto [entry, inserted] = singleFiles_.try_emplace(key, false);
    if (inserted) {
        ++queries_;
        platform::FileStatus status;
        entry->second = platform::statFile(path, status) == 0 && !status.directory;
    }
    return entry->second;
}

std::string FileSystemTextureHost::absolutePath(const std::string& path) const
{
    const bool relative = !path.empty() && !io::isPathSeparator(path.front()) &&
                          !(path.size() > 1 && path[1] == ':');
    if (relative && !current_.empty()) {
        // Most texture paths name no "." or ".." part: joining is enough.
        return hasDotPart(path) ? platform::fullPath(current_ + "\\" + path).value_or(path)
                                : current_ + "\\" + path;
    }
    return platform::fullPath(path).value_or(path);
}

bool FileSystemTextureHost::enterDirectory(const std::string& directory)
{
    const bool entered = TextureHost::enterDirectory(directory);
    current_ = platform::currentDirectory();
    return entered;
}

void FileSystemTextureHost::leaveDirectory(const std::string& previous)
{
    TextureHost::leaveDirectory(previous);
    current_.clear();
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
