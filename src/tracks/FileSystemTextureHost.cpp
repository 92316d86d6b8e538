#include "tracks/FileSystemTextureHost.hpp"

#include <algorithm>
#include <cerrno>
#include <locale>
#include <optional>
#include <string_view>
#include <vector>

#include <boost/algorithm/string/predicate.hpp>

#include "config/ValueText.hpp"
#include "io/File.hpp"
#include "io/FileStreams.hpp"
#include "io/IniFile.hpp"
#include "platform/Platform.hpp"
#include "util/ClassicText.hpp"

namespace zudo::tracks {

namespace {

// Stands for a missing key: no value read from a file can hold it.
const std::string missingValue = "\x01";

class FileSystemIniReader : public TrackIniReader {
public:
    // The file is read once, now: the texture check reads hundreds of values
    // of it (and changes the current directory while it reads).
    explicit FileSystemIniReader(const std::string& path)
        : file_(io::IniFile(platform::fullPath(path).value_or(path)))
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
    io::IniSnapshot file_;
};

} // namespace

namespace {

// Letter case folded as the classic "C" locale folds it (A to Z only),
// without asking a locale for each of the hundred thousand paths.
std::string keyOfAbsolute(std::string absolute)
{
    for (char& c : absolute) {
        c = c == '\\' ? '/' : util::classicLower(c);
    }
    return absolute;
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
    if (const auto known = listings_.find(directoryKey); known != listings_.end()) {
        return known->second;
    }
    const std::string onDisk = spelledOnDisk(directoryKey).value_or(directory);
    ++queries_;
    Listing found;
    std::vector<std::string> names;
    std::vector<std::string> directories;
    int error = 0;
    found.readable = platform::listFileNames(onDisk, names, error, &directories) || error == ENOENT;
    for (std::string& name : names) {
        name = keyOfAbsolute(std::move(name));
    }
    std::sort(names.begin(), names.end());
    found.files = std::move(names);
    // Of subdirectories whose names differ only in letter case, the first in
    // byte order is found, as the platform finds it.
    std::sort(directories.begin(), directories.end());
    for (std::string& name : directories) {
        std::string key = keyOfAbsolute(name);
        found.directories.emplace(std::move(key), std::move(name));
    }
    return listings_.emplace(directoryKey, std::move(found)).first->second;
}

bool FileSystemTextureHost::Listing::hasFile(std::string_view lowerCaseName) const
{
    return std::binary_search(files.begin(), files.end(), lowerCaseName,
                              [](std::string_view a, std::string_view b) { return a < b; });
}

std::optional<std::string> FileSystemTextureHost::spelledOnDisk(const std::string& directoryKey)
{
    const bool below = !currentKey_.empty() && directoryKey.size() > currentKey_.size() + 1 &&
                       directoryKey.compare(0, currentKey_.size(), currentKey_) == 0 &&
                       directoryKey[currentKey_.size()] == '/';
    if (!below) {
        return std::nullopt;
    }
    const std::size_t last = directoryKey.rfind('/');
    const std::string parentKey = directoryKey.substr(0, last);
    const std::optional<std::string> parent = parentKey == currentKey_ ? current_ : spelledOnDisk(parentKey);
    if (!parent) {
        return std::nullopt;
    }
    const Listing& parentListing = listing(parentKey, *parent);
    const auto child = parentListing.directories.find(directoryKey.substr(last + 1));
    if (child == parentListing.directories.end()) {
        return std::nullopt;
    }
    return *parent + "\\" + child->second;
}

bool FileSystemTextureHost::fileExists(const std::string& path)
{
    const std::string absolute = absolutePath(path);
    const std::string key = keyOfAbsolute(absolute);
    const auto split = key.find_last_of('/');
    if (split != std::string::npos && split > 0 && split + 1 < key.size()) {
        // Textures come directory by directory: the last listing is asked first.
        const std::string_view directoryKey(key.data(), split);
        if (lastListing_ == nullptr || directoryKey != lastDirectoryKey_) {
            lastDirectoryKey_.assign(directoryKey);
            lastListing_ = &listing(lastDirectoryKey_, absolute.substr(0, split));
        }
        if (lastListing_->readable) {
            return lastListing_->hasFile(std::string_view(key).substr(split + 1));
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
    currentKey_ = keyOfAbsolute(current_);
    while (currentKey_.size() > 1 && currentKey_.back() == '/') {
        currentKey_.pop_back();
    }
    return entered;
}

void FileSystemTextureHost::leaveDirectory(const std::string& previous)
{
    TextureHost::leaveDirectory(previous);
    current_.clear();
    currentKey_.clear();
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
