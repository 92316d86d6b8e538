#include "tracks/GameTextureHost.hpp"

#include <algorithm>
#include <limits>

#include "platform/Platform.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostAddress.hpp"
#include "util/mem/MsvcLayout.hpp"

namespace zudo::tracks {

namespace bindings = util::mem::bindings;
using util::mem::HostAddress;
using util::mem::HostBlock;

namespace {

// The game's ini reader over one track ini file. Reads the game refuses are
// answered from the file system.
class GameIniReader : public TrackIniReader {
public:
    GameIniReader(const std::string& path, std::unique_ptr<TrackIniReader> fallback)
        : object_(GameTextureHost::iniReaderObjectSize), fallback_(std::move(fallback))
    {
        const HostAddress self = object_.address();
        setUp_ = !self.isNull() && bindings::iniReaderSetUp(self).has_value();
        // Made absolute: the texture check changes the current directory while
        // the file is open.
        const std::string absolute = platform::fullPath(path).value_or(path);
        opened_ = setUp_ && bindings::iniReaderOpen(self, absolute.c_str(), 2).has_value();
    }

    ~GameIniReader() override
    {
        if (setUp_) {
            bindings::iniReaderRelease(object_.address());
        }
    }
    GameIniReader(const GameIniReader&) = delete;
    GameIniReader& operator=(const GameIniReader&) = delete;

    std::int32_t readInt(const std::string& section, const std::string& key, std::int32_t defaultValue) override
    {
        if (opened_) {
            if (const auto value = bindings::iniReaderInt(object_.address(), section.c_str(), key.c_str(),
                                                          defaultValue)) {
                return *value;
            }
        }
        return fallback_->readInt(section, key, defaultValue);
    }

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) override
    {
        if (opened_) {
            // The game returns the string by value into memory the caller gives.
            // Its character buffer belongs to the game's heap and is left
            // there: the game offers no routine to free it.
            HostBlock result(util::mem::msvc::string_layout::size);
            if (!result.address().isNull()) {
                const auto returned = bindings::iniReaderString(object_.address(), result.address(),
                                                                section.c_str(), key.c_str(), defaultValue.c_str());
                if (returned) {
                    try {
                        return util::mem::msvc::readString(result.address());
                    } catch (const util::mem::HostAccessError&) {
                        // Not a string: answered below like a refused call.
                    }
                }
            }
        }
        return fallback_->readString(section, key, defaultValue);
    }

    bool readBool(const std::string& section, const std::string& key, bool defaultValue) override
    {
        if (opened_) {
            if (const auto value = bindings::iniReaderBool(object_.address(), section.c_str(), key.c_str(),
                                                           defaultValue)) {
                return *value;
            }
        }
        return fallback_->readBool(section, key, defaultValue);
    }

private:
    HostBlock object_;
    bool setUp_ = false;
    bool opened_ = false;
    std::unique_ptr<TrackIniReader> fallback_;
};

} // namespace

GameTextureHost::GameTextureHost() = default;
GameTextureHost::~GameTextureHost() = default;

std::int64_t GameTextureHost::fileSize(const std::string& path)
{
    if (const auto size = bindings::hostFileSize(path.c_str())) {
        return *size;
    }
    return fileSystem_.fileSize(path);
}

std::int64_t GameTextureHost::readFile(const std::string& path, char* buffer, std::int64_t size)
{
    if (bindings::hostFileRead.available() && size > 0 && size <= std::numeric_limits<std::int32_t>::max()) {
        HostBlock block(static_cast<std::uint32_t>(size));
        if (!block.address().isNull()) {
            const auto read = bindings::hostFileRead(path.c_str(), block.address(), static_cast<std::int32_t>(size));
            if (read) {
                const std::int32_t count = std::clamp<std::int32_t>(*read, 0, static_cast<std::int32_t>(size));
                block.address().readBytes(0, buffer, static_cast<std::uint32_t>(count));
                return count;
            }
        }
    }
    return fileSystem_.readFile(path, buffer, size);
}

bool GameTextureHost::fileExists(const std::string& path)
{
    if (!bindings::hostFileExists.available()) {
        return fileSystem_.fileExists(path);
    }
    const auto [entry, inserted] = existence_.try_emplace(sameFileKey(path), false);
    if (inserted) {
        const auto exists = bindings::hostFileExists(path.c_str());
        entry->second = exists ? *exists : fileSystem_.fileExists(path);
    }
    return entry->second;
}

std::unique_ptr<TrackIniReader> GameTextureHost::openIni(const std::string& path)
{
    auto fallback = fileSystem_.openIni(path);
    if (!bindings::iniReaderSetUp.available()) {
        return fallback;
    }
    return std::make_unique<GameIniReader>(path, std::move(fallback));
}

bool GameTextureHost::enterDirectory(const std::string& directory)
{
    return fileSystem_.enterDirectory(directory);
}

void GameTextureHost::leaveDirectory(const std::string& previous) { fileSystem_.leaveDirectory(previous); }

SplitPath GameTextureHost::splitPath(const std::string& path) { return fileSystem_.splitPath(path); }

} // namespace zudo::tracks
