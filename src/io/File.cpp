#include "io/File.hpp"

#include <boost/crc.hpp>

#include <array>
#include <fstream>
#include <string_view>

#include "io/FileStreams.hpp"
#include "platform/Platform.hpp"
#include "util/Exception.hpp"

namespace zudo::io {

namespace {

constexpr const char* separators = "\\/";

void dropTrailingSeparators(std::string& path)
{
    while (!path.empty() && isPathSeparator(path.back())) {
        path.pop_back();
    }
}

std::string withoutLeadingSeparators(const std::string& path)
{
    const auto start = path.find_first_not_of(separators);
    return start == std::string::npos ? std::string() : path.substr(start);
}

std::uint32_t crc32Of(std::istream& in)
{
    boost::crc_32_type crc;
    std::array<char, 4096> block{};
    while (in.read(block.data(), block.size()) || in.gcount() > 0) {
        crc.process_bytes(block.data(), static_cast<std::size_t>(in.gcount()));
    }
    return crc.checksum();
}

std::string errnoText(int errorNumber)
{
    return std::to_string(errorNumber) + " - " + platform::errorText(errorNumber);
}

} // namespace

File::File(const std::string& path) { split(path); }

File::File(const File& parent, const std::string& relative)
{
    std::string joined = parent.fullPath();
    dropTrailingSeparators(joined);
    if (!joined.empty()) {
        joined += '\\';
    }
    split(joined + withoutLeadingSeparators(relative));
}

File::~File() = default;

void File::split(std::string path)
{
    dropTrailingSeparators(path);
    const auto last = path.find_last_of(separators);
    if (last == std::string::npos) {
        name_ = path;
        return;
    }
    // A single leading separator before the name leaves no directory.
    directory_ = path.substr(0, last);
    name_ = path.substr(last + 1);
}

std::string File::fullPath() const
{
    return directory_.empty() ? name_ : directory_ + '\\' + name_;
}

std::string File::extension() const
{
    const auto point = name_.rfind('.');
    return point == std::string::npos ? std::string() : name_.substr(point + 1);
}

std::string File::baseName() const
{
    const auto point = name_.rfind('.');
    return point == std::string::npos ? name_ : name_.substr(0, point);
}

bool File::exists() const { return platform::accessFile(fullPath(), 0) == 0; }

std::int64_t File::size() const
{
    platform::FileStatus status;
    return platform::statFile(fullPath(), status) == 0 ? status.size : -1;
}

std::string File::absolutePath() const { return platform::fullPath(fullPath()).value_or(""); }

std::int64_t File::lastModified() const
{
    platform::FileStatus status;
    if (const int error = platform::statFile(fullPath(), status); error != 0) {
        throw Exception("_stat failed on file " + fullPath() + "errno: " + errnoText(error),
                        "zudo::io::File::lastModified()");
    }
    return status.modified;
}

std::uint32_t File::checksum() const
{
    if (checksum_ != 0) {
        return checksum_;
    }
    const std::string path = fullPath();
    platform::FileStatus status;
    if (const int error = platform::statFile(path, status); error != 0) {
        throw Exception("_stat failed on file: " + path + " errno: " + errnoText(error));
    }
    if (status.directory || status.size == 0) {
        return 0;
    }
    std::ifstream in = openInputStream(path, StreamMode::Binary);
    if (!in) {
        throw Exception("open stream failed on file: " + path);
    }
    checksum_ = crc32Of(in);
    return checksum_;
}

std::string hostDirectory() { return File(platform::executablePath()).directory(); }

std::string sanitizeFileName(const std::string& text, char replacement)
{
    static constexpr std::string_view forbidden = "\\/:*?\"<>|";
    std::string result = text;
    for (char& c : result) {
        if (forbidden.find(c) != std::string_view::npos) {
            c = replacement;
        }
    }
    return result;
}

} // namespace zudo::io
