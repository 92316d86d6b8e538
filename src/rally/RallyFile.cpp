#include "rally/RallyFile.hpp"

#include "config/SettingFiles.hpp"
#include "io/File.hpp"
#include "rally/Names.hpp"
#include "rally/Rally.hpp"
#include "tracks/StageCatalogue.hpp"

namespace zudo::rally {

std::optional<platform::CalendarTime> localWriteTime(std::int64_t modifiedSeconds)
{
    std::int64_t local = 0;
    platform::CalendarTime time;
    const std::int64_t utc = platform::fileTimeOfUnixSeconds(modifiedSeconds);
    if (!platform::fileTimeToLocal(utc, local) || !platform::fileTimeToCalendar(local, time)) {
        return std::nullopt;
    }
    return time;
}

RallyFile::RallyFile(const Rally& rally, const RecordKey& key) : rally_(rally), key_(key) {}

RallyFile::~RallyFile() = default;

std::string RallyFile::baseName() const
{
    if (!rally_.isHotlap()) {
        return rally_.name();
    }
    const StagePtr first = rally_.stage(0);
    const std::string stageName = first ? first->displayName() : std::string();
    return stageName + " (" + tracks::StageCatalogue::instance().surfaceWord(key_.surface) + ", " +
           tyreName(key_.tyres) + ")";
}

std::string RallyFile::fileName() const
{
    return io::sanitizeFileName(baseName(), '_') + "." + extension();
}

std::string RallyFile::path() const
{
    return config::pluginPath(fileName());
}

std::string RallyFile::fullPath() const
{
    return config::hostPath(path());
}

bool RallyFile::exists() const
{
    return platform::accessFile(fullPath(), 0) == 0;
}

std::optional<platform::CalendarTime> RallyFile::lastWriteTime() const
{
    platform::DirectorySearch search;
    platform::FindData entry;
    if (!search.first(fullPath(), entry)) {
        return std::nullopt;
    }
    search.close();
    return localWriteTime(entry.modified);
}

} // namespace zudo::rally
