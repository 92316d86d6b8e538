#include "config/Setting.hpp"

#include <iomanip>
#include <locale>
#include <sstream>

#include "io/IniFile.hpp"

namespace zudo::config {

Setting::Setting(std::string file, std::string section, std::string key)
    : file_(std::move(file)), section_(std::move(section)), key_(std::move(key))
{
}

Setting::~Setting() = default;

std::string Setting::section() const { return section_; }

std::string Setting::readText(const std::string& defaultText) const
{
    return io::IniFile(file_).readString(section(), key_, defaultText);
}

bool Setting::writeText(const std::string& text) const
{
    return io::IniFile(file_).writeString(section(), key_, text);
}

std::string valueOrDefault(const StringSetting& setting)
{
    std::string value = setting.get();
    return value.empty() ? *setting.defaultValue() : value;
}

std::string indexedSection(const std::string& prefix, int index, int width)
{
    std::ostringstream section;
    section.imbue(std::locale::classic());
    section << prefix << std::internal << std::setfill('0') << std::setw(width) << index;
    return section.str();
}

} // namespace zudo::config
