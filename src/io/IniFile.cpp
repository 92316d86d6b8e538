#include "io/IniFile.hpp"

#include <cerrno>
#include <utility>
#include <vector>

#include "platform/Platform.hpp"
#include "util/ClassicText.hpp"

namespace zudo::io {

namespace {

std::string executableDirectoryWithSeparator()
{
    const std::string executable = platform::executablePath();
    const auto last = executable.find_last_of("\\/");
    return last == std::string::npos ? std::string() : executable.substr(0, last + 1);
}

std::string lastComponent(const std::string& name)
{
    const auto last = name.find_last_of("\\/");
    return last == std::string::npos ? name : name.substr(last + 1);
}

} // namespace

IniFile::IniFile(std::string name) : name_(std::move(name)) {}

IniFile::~IniFile() = default;

std::string IniFile::resolvedPath() const
{
    if (name_.empty()) {
        return {};
    }
    if (auto absolute = platform::fullPath(name_)) {
        return *absolute;
    }
    if (platform::accessFile(name_, 0) != 0) {
        return executableDirectoryWithSeparator() + lastComponent(name_);
    }
    return name_;
}

bool IniFile::exists() const { return platform::accessFile(resolvedPath(), 0) != ENOENT; }

namespace {

// The value the platform copied into buffer, trimmed. The buffer holds one
// byte more than the platform is told, so the text always ends in a NUL.
std::string trimmedValue(std::uint32_t length, const std::vector<char>& buffer)
{
    if (length == 0) {
        return {};
    }
    std::string value(buffer.data());
    util::trimClassicSpace(value);
    return value;
}

} // namespace

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    std::vector<char> buffer(longestValue + 2, '\0');
    const std::uint32_t length =
        platform::profileString(section.c_str(), key.c_str(), defaultValue.c_str(),
                                buffer.data(), longestValue + 1, resolvedPath());
    return trimmedValue(length, buffer);
}

IniSnapshot::IniSnapshot(const IniFile& file)
    : profile_(std::make_unique<platform::ProfileSnapshot>(file.resolvedPath())),
      buffer_(IniFile::longestValue + 2, '\0')
{
}

IniSnapshot::~IniSnapshot() = default;

std::string IniSnapshot::readString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const
{
    buffer_[0] = '\0';
    const std::uint32_t length = profile_->string(section.c_str(), key.c_str(), defaultValue.c_str(),
                                                  buffer_.data(), IniFile::longestValue + 1);
    return trimmedValue(length, buffer_);
}

bool IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) const
{
    return platform::writeProfileString(section.c_str(), key.c_str(), value.c_str(),
                                        resolvedPath());
}

bool IniFile::sectionNames(std::deque<std::string>& out) const
{
    appendNames(nullptr, out);
    return true;
}

bool IniFile::keyNames(const std::string& section, std::deque<std::string>& out) const
{
    appendNames(section.c_str(), out);
    return true;
}

void IniFile::appendNames(const char* section, std::deque<std::string>& out) const
{
    // The last byte stays NUL whatever the platform writes, so the walk below
    // always ends inside the buffer.
    std::vector<char> buffer(listingBufferSize, '\0');
    platform::profileString(section, nullptr, "", buffer.data(), listingBufferSize - 1,
                            resolvedPath());
    const char* const end = buffer.data() + buffer.size();
    for (const char* name = buffer.data(); name < end && *name != '\0';) {
        const std::string entry(name);
        out.push_back(entry);
        name += entry.size() + 1;
    }
}

} // namespace zudo::io
