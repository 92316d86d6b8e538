#include "platform/posix/ProfileDocument.hpp"

#include <algorithm>
#include <cstring>

#include "platform/posix/PosixEmulation.hpp"

namespace zudo::platform::detail {

namespace {

// Sections with more entries than this get a hash index for their keys.
constexpr std::size_t indexedSectionSize = 32;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string_view trimLeft(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view trimRight(std::string_view text)
{
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view trim(std::string_view text) { return trimRight(trimLeft(text)); }

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

constexpr std::string_view lineBreak = "\r\n";

} // namespace

std::size_t ProfileDocument::CaseInsensitiveHash::operator()(std::string_view text) const
{
    return hashIgnoringCase(text);
}

bool ProfileDocument::CaseInsensitiveEqual::operator()(std::string_view a, std::string_view b) const
{
    return equalIgnoringCase(a, b);
}

ProfileDocument::ProfileDocument(std::string content) : content_(std::move(content)) { parse(); }

void ProfileDocument::parse()
{
    if (content_.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        bodyStart_ = 3;
    }
    Section leading;
    leading.header = Line{bodyStart_, bodyStart_, bodyStart_};
    sections_.push_back(leading);

    const char* text = content_.data();
    std::size_t position = bodyStart_;
    while (position < content_.size()) {
        Line line;
        line.begin = position;
        const char* end = std::find_if(text + position, text + content_.size(), isLineBreak);
        line.end = static_cast<std::size_t>(end - text);
        line.next = line.end;
        if (line.next < content_.size()) {
            const bool crlf = text[line.next] == '\r' && line.next + 1 < content_.size() && text[line.next + 1] == '\n';
            line.next += crlf ? 2 : 1;
        }
        parseLine(line);
        position = line.next;
    }
    closeSection(content_.size());
    indexNames();
}

void ProfileDocument::parseLine(const Line& line)
{
    const std::string_view text = trim(std::string_view(content_).substr(line.begin, line.end - line.begin));
    if (text.empty() || text.front() == ';') {
        return;
    }
    if (text.front() == '[') {
        const std::size_t close = text.find(']', 1);
        if (close != std::string_view::npos) {
            closeSection(line.begin);
            Section section;
            section.name = trim(text.substr(1, close - 1));
            section.hasHeader = true;
            section.header = line;
            section.firstEntry = entries_.size();
            sections_.push_back(section);
            return;
        }
        // Without "]" the line is no header: it reads as an entry of the section before.
    }
    Entry entry;
    entry.line = line;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        entry.name = text;
    } else {
        entry.name = trimRight(text.substr(0, equals));
        entry.value = trimLeft(text.substr(equals + 1));
        entry.hasValue = true;
    }
    entries_.push_back(entry);
}

void ProfileDocument::closeSection(std::size_t end)
{
    Section& current = sections_.back();
    current.endEntry = entries_.size();
    current.end = end;
}

void ProfileDocument::indexNames()
{
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const bool first = sectionIndex_.emplace(sections_[i].name, i).second;
        const Section& section = sections_[i];
        if (!first || section.endEntry - section.firstEntry <= indexedSectionSize) {
            continue;
        }
        NameIndex& keys = keyIndexes_[i];
        for (std::size_t e = section.firstEntry; e < section.endEntry; ++e) {
            keys.emplace(entries_[e].name, e); // the first of duplicate keys stays
        }
    }
}

const ProfileDocument::Section* ProfileDocument::findSection(std::string_view name) const
{
    const auto found = sectionIndex_.find(trim(name));
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

const ProfileDocument::Entry* ProfileDocument::findEntry(const Section& section, std::string_view key) const
{
    key = trim(key);
    const auto index = keyIndexes_.find(static_cast<std::size_t>(&section - sections_.data()));
    if (index != keyIndexes_.end()) {
        const auto found = index->second.find(key);
        return found == index->second.end() ? nullptr : &entries_[found->second];
    }
    for (std::size_t e = section.firstEntry; e < section.endEntry; ++e) {
        if (equalIgnoringCase(entries_[e].name, key)) {
            return &entries_[e];
        }
    }
    return nullptr;
}

std::optional<std::string_view> ProfileDocument::value(std::string_view section, std::string_view key) const
{
    const Section* found = findSection(section);
    const Entry* entry = found == nullptr ? nullptr : findEntry(*found, key);
    if (entry == nullptr || !entry->hasValue) {
        return std::nullopt;
    }
    return entry->value;
}

std::uint32_t ProfileDocument::copySectionNames(char* buffer, std::uint32_t size) const
{
    std::vector<std::string_view> names;
    for (const Section& section : sections_) {
        if (!section.name.empty()) { // the unnamed sections ("" and "[]") are never listed
            names.push_back(section.name);
        }
    }
    return copyNameList(names, buffer, size);
}

std::uint32_t ProfileDocument::copyKeyNames(std::string_view section, char* buffer, std::uint32_t size) const
{
    std::vector<std::string_view> names;
    if (const Section* found = findSection(section)) {
        for (std::size_t e = found->firstEntry; e < found->endEntry; ++e) {
            if (entries_[e].hasValue) {
                names.push_back(entries_[e].name);
            }
        }
    }
    return copyNameList(names, buffer, size);
}

std::uint32_t ProfileDocument::copySectionEntries(std::string_view section, char* buffer, std::uint32_t size) const
{
    std::vector<std::string> lines;
    if (const Section* found = findSection(section)) {
        for (std::size_t e = found->firstEntry; e < found->endEntry; ++e) {
            const Entry& entry = entries_[e];
            lines.push_back(entry.hasValue ? std::string(entry.name) + "=" + std::string(entry.value)
                                           : std::string(entry.name));
        }
    }
    return copyNameList(std::vector<std::string_view>(lines.begin(), lines.end()), buffer, size);
}

const ProfileDocument::Line* ProfileDocument::lastLineOf(const Section& section) const
{
    if (section.endEntry > section.firstEntry) {
        return &entries_[section.endEntry - 1].line;
    }
    return section.hasHeader ? &section.header : nullptr;
}

std::string ProfileDocument::withValue(std::string_view section, std::string_view key, const char* value) const
{
    const Section* found = findSection(section);
    if (found == nullptr) {
        if (value == nullptr) {
            return content_;
        }
        std::string result = content_;
        if (result.size() > bodyStart_ && !isLineBreak(result.back())) {
            result += lineBreak;
        }
        // A new section goes at the end, without a blank line before it.
        result.append("[").append(trim(section)).append("]").append(lineBreak);
        result.append(trim(key)).append("=").append(value).append(lineBreak);
        return result;
    }
    std::string result = content_;
    if (const Entry* entry = findEntry(*found, key)) {
        if (value == nullptr) {
            result.erase(entry->line.begin, entry->line.next - entry->line.begin);
        } else {
            // The line keeps the name as the file spells it.
            std::string line = std::string(entry->name) + "=" + value;
            result.replace(entry->line.begin, entry->line.end - entry->line.begin, line);
        }
        return result;
    }
    if (value == nullptr) {
        return content_;
    }
    // A new key goes after the section's last entry (or its header), so that
    // blank lines and comments before the next section stay where they are.
    std::string line = std::string(trim(key)) + "=" + value + std::string(lineBreak);
    const Line* last = lastLineOf(*found);
    if (last == nullptr) {
        result.insert(bodyStart_, line);
    } else if (last->next == last->end) {
        result.insert(last->next, std::string(lineBreak) + line); // the last line had no line break
    } else {
        result.insert(last->next, line);
    }
    return result;
}

std::string ProfileDocument::withoutSection(std::string_view section) const
{
    const Section* found = findSection(section);
    if (found == nullptr) {
        return content_;
    }
    std::string result = content_;
    result.erase(found->header.begin, found->end - found->header.begin);
    return result;
}

std::string ProfileDocument::withSectionEntries(std::string_view section,
                                                const std::vector<std::string_view>& entries) const
{
    std::string body;
    for (const std::string_view entry : entries) {
        body.append(entry).append(lineBreak);
    }
    const Section* found = findSection(section);
    if (found == nullptr) {
        std::string result = content_;
        if (result.size() > bodyStart_ && !isLineBreak(result.back())) {
            result += lineBreak;
        }
        return result.append("[").append(trim(section)).append("]").append(lineBreak).append(body);
    }
    std::string result = content_.substr(0, found->header.next);
    if (found->hasHeader && found->header.next == found->header.end) {
        result += lineBreak; // the header was the file's last line, without a line break
    }
    return result.append(body).append(content_, found->end, std::string::npos);
}

std::uint32_t copyNameList(const std::vector<std::string_view>& names, char* buffer, std::uint32_t size)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    std::size_t room = size - 1; // the final NUL always has its place
    char* out = buffer;
    for (const std::string_view name : names) {
        const std::size_t needed = name.size() + 1;
        if (needed >= room) {
            if (room > 1) {
                std::memcpy(out, name.data(), room - 1);
            }
            out += room - 1;
            *out++ = '\0';
            *out = '\0';
            return size - 2;
        }
        if (!name.empty()) {
            std::memcpy(out, name.data(), name.size());
        }
        out[name.size()] = '\0';
        out += needed;
        room -= needed;
    }
    *out = '\0';
    return static_cast<std::uint32_t>(out - buffer);
}

std::uint32_t copyProfileValue(std::string_view value, char* buffer, std::uint32_t size)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    value = value.substr(0, value.find('\0'));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    const std::size_t count = std::min<std::size_t>(value.size(), size - 1);
    if (count > 0) {
        std::memcpy(buffer, value.data(), count);
    }
    buffer[count] = '\0';
    return static_cast<std::uint32_t>(count);
}

std::string_view trimDefaultValue(const char* defaultValue)
{
    if (defaultValue == nullptr || *defaultValue == '\0') {
        return {};
    }
    std::size_t last = std::strlen(defaultValue) - 1;
    while (last > 0 && defaultValue[last] == ' ') {
        --last;
    }
    return std::string_view(defaultValue, last + 1);
}

std::uint32_t readProfile(const ProfileDocument* document, const char* section, const char* key,
                          const char* defaultValue, char* buffer, std::uint32_t size)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    if (section == nullptr) {
        return document == nullptr ? copyNameList({}, buffer, size) : document->copySectionNames(buffer, size);
    }
    const std::string_view fallback = trimDefaultValue(defaultValue);
    if (key == nullptr) {
        const std::uint32_t count =
            document == nullptr ? copyNameList({}, buffer, size) : document->copyKeyNames(section, buffer, size);
        // An empty listing gives the default instead, as a single string.
        return buffer[0] == '\0' ? copyProfileValue(fallback, buffer, size) : count;
    }
    const auto value = document == nullptr ? std::nullopt : document->value(section, key);
    return copyProfileValue(value ? *value : fallback, buffer, size);
}

} // namespace zudo::platform::detail
