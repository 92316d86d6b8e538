#include "tracks/ValidationRecords.hpp"

#include <cstring>
#include <locale>

#include <boost/algorithm/string/predicate.hpp>
#include <boost/algorithm/string/trim.hpp>

#include "config/SettingFiles.hpp"
#include "config/ValueText.hpp"
#include "platform/Platform.hpp"
#include "util/Log.hpp"

namespace zudo::tracks {

namespace {

// A section of the records holds at most 5 tint sets x 9 combinations; the
// buffer leaves room for hand-made additions.
constexpr std::uint32_t sectionBufferSize = 256 * 1024;

} // namespace

ValidationRecords::ValidationRecords(std::string iniPath) : path_(std::move(iniPath)) {}

ValidationRecords::~ValidationRecords() { flush(); }

ValidationRecords::Section& ValidationRecords::section(std::int32_t stage)
{
    const auto [it, inserted] = sections_.try_emplace(stage);
    if (!inserted) {
        return it->second;
    }
    std::vector<char> buffer(sectionBufferSize + 1, '\0');
    platform::profileSection(config::mapSection(stage).c_str(), buffer.data(), sectionBufferSize, path_);
    for (const char* line = buffer.data(); *line != '\0'; line += std::strlen(line) + 1) {
        Entry entry{line, {}, {}};
        const char* equals = std::strchr(line, '=');
        if (equals != nullptr) {
            entry.key = boost::algorithm::trim_copy(std::string(line, equals), std::locale::classic());
            entry.value = boost::algorithm::trim_copy(std::string(equals + 1), std::locale::classic());
        }
        it->second.entries.push_back(std::move(entry));
    }
    return it->second;
}

ValidationRecords::Entry* ValidationRecords::find(Section& section, const std::string& key)
{
    for (Entry& entry : section.entries) {
        if (!entry.key.empty() && boost::algorithm::iequals(entry.key, key, std::locale::classic())) {
            return &entry;
        }
    }
    return nullptr;
}

int ValidationRecords::value(std::int32_t stage, const std::string& key)
{
    const Entry* entry = find(section(stage), key);
    return entry == nullptr ? notChecked : config::leadingInteger(entry->value);
}

void ValidationRecords::set(std::int32_t stage, const std::string& key, int value)
{
    Section& records = section(stage);
    const std::string text = std::to_string(value);
    if (Entry* entry = find(records, key)) {
        if (entry->value == text) {
            return;
        }
        entry->value = text;
        entry->line = entry->key + "=" + text; // the key keeps the spelling of the file
    } else {
        records.entries.push_back(Entry{key + "=" + text, key, text});
    }
    records.changed = true;
}

bool ValidationRecords::flush()
{
    lastFlush_ = std::chrono::steady_clock::now();
    std::vector<std::pair<std::string, std::string>> changed;
    for (const auto& [stage, records] : sections_) {
        if (records.changed) {
            std::string block;
            for (const Entry& entry : records.entries) {
                block.append(entry.line).push_back('\0');
            }
            changed.emplace_back(config::mapSection(stage), std::move(block));
        }
    }
    if (changed.empty()) {
        return true;
    }
    if (!platform::writeProfileSections(changed, path_)) {
        util::Log log;
        if (log.isEnabled()) {
            log << "zudo::tracks::ValidationRecords::flush() - could not write " << path_
                << "; the results stay pending" << util::endLog;
        }
        return false;
    }
    for (auto& [stage, records] : sections_) {
        records.changed = false;
    }
    return true;
}

bool ValidationRecords::flushIfDue()
{
    constexpr auto interval = std::chrono::milliseconds(500);
    if (lastFlush_ && std::chrono::steady_clock::now() - *lastFlush_ < interval) {
        return true;
    }
    return flush();
}

} // namespace zudo::tracks
