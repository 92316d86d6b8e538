#pragma once
// The files a rally keeps in the plug-in's directory below the host directory, one
// small object per kind: best times ("tm2", the older "tim"), progress ("prs")
// and car damage ("dmg"). The base name is the rally's name; a hotlap's best
// times are kept per surface and tyres: "Forest (dry, Gravel Dry).tm2".
// Characters that file names may not hold become '_'.

#include <optional>
#include <string>

#include "platform/Platform.hpp"
#include "rally/RecordKey.hpp"

namespace zudo::rally {

class Rally;

class RallyFile {
public:
    RallyFile(const Rally& rally, const RecordKey& key);
    virtual ~RallyFile();

    virtual std::string extension() const = 0;

    const RecordKey& key() const { return key_; }
    // Before sanitizing: the rally's name, or for a hotlap its stage's display
    // name with the key's surface word and tyre name in parentheses.
    std::string baseName() const;
    // Sanitized base name + "." + extension ("A_B.prs").
    std::string fileName() const;
    // config::pluginPath(fileName()).
    std::string path() const;
    // The path below the host directory.
    std::string fullPath() const;
    bool exists() const;
    // The file's last write time in local time; nothing when it is not found.
    std::optional<platform::CalendarTime> lastWriteTime() const;

private:
    const Rally& rally_;
    RecordKey key_;
};

// Best times: format 0 is the old "tim" file, any other the current "tm2".
class RecordFile : public RallyFile {
public:
    static constexpr int currentFormat = 3;
    RecordFile(const Rally& rally, const RecordKey& key, int format = currentFormat)
        : RallyFile(rally, key), format_(format)
    {
    }
    std::string extension() const override { return format_ != 0 ? "tm2" : "tim"; }

private:
    int format_;
};

class ProgressFile : public RallyFile {
public:
    explicit ProgressFile(const Rally& rally) : RallyFile(rally, RecordKey{}) {}
    std::string extension() const override { return "prs"; }
};

class DamageFile : public RallyFile {
public:
    explicit DamageFile(const Rally& rally) : RallyFile(rally, RecordKey{}) {}
    std::string extension() const override { return "dmg"; }
};

// Local calendar time of a file's last write (seconds since 1970, UTC).
std::optional<platform::CalendarTime> localWriteTime(std::int64_t modifiedSeconds);

} // namespace zudo::rally
