#pragma once
// The private-profile (ini) file as Windows reads and writes it, over the
// file's bytes: the POSIX implementation keeps one parsed document per file
// and answers every read from it. Nothing outside src/platform uses this.
//
// Reading follows Windows: lines end in LF, CRLF or CR; blanks (space, tab,
// vertical tab, form feed, Ctrl-Z) around names and values are ignored; a
// header is "[" name "]" (anything after "]" is ignored, a line without "]"
// is not a header); a line starting with ";" is a comment; other lines are
// entries, "name=value" split at the first "="; a line without "=" names no
// value. Names compare without regard to ASCII letter case, the first of
// duplicate sections and entries is the one found, and entries before the
// first header belong to the section "". A UTF-8 byte-order mark is skipped.
//
// Writing changes as little as Windows does: one line is replaced, inserted
// or removed and every other byte of the file stays as it was.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zudo::platform::detail {

class ProfileDocument {
public:
    explicit ProfileDocument(std::string content);
    ProfileDocument(const ProfileDocument&) = delete;
    ProfileDocument& operator=(const ProfileDocument&) = delete;

    const std::string& content() const { return content_; }

    // The trimmed value of the first matching entry, quotes not yet removed;
    // nothing when the section, the entry or its "=" is missing.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

    // Listings in Windows' buffer format (see copyNameList).
    std::uint32_t copySectionNames(char* buffer, std::uint32_t size) const;
    std::uint32_t copyKeyNames(std::string_view section, char* buffer, std::uint32_t size) const;
    // The entries of a section as GetPrivateProfileSectionA lists them:
    // "name=value" (a line without "=" gives its text alone), comments left out.
    std::uint32_t copySectionEntries(std::string_view section, char* buffer, std::uint32_t size) const;

    // The file's content after a write: a value set (null value: the entry
    // removed), or the whole section removed. Equal to content() when the
    // write changes nothing.
    std::string withValue(std::string_view section, std::string_view key, const char* value) const;
    std::string withoutSection(std::string_view section) const;
    // The file's content with every line of a section after its header
    // replaced by entries (one line each), as WritePrivateProfileSectionA
    // does; a missing section is added at the end.
    std::string withSectionEntries(std::string_view section, const std::vector<std::string_view>& entries) const;

private:
    struct Line {
        std::size_t begin = 0; // first byte of the line
        std::size_t end = 0;   // end of its text, before the line break
        std::size_t next = 0;  // first byte after the line break
    };
    struct Entry {
        std::string_view name;
        std::string_view value;
        bool hasValue = false;
        Line line;
    };
    struct Section {
        std::string_view name;
        bool hasHeader = false;
        Line header;                // the header line; for "" the start of the file
        std::size_t firstEntry = 0; // entries [firstEntry, endEntry) of entries_
        std::size_t endEntry = 0;
        std::size_t end = 0;        // where the next header begins (or the file ends)
    };
    struct CaseInsensitiveHash {
        std::size_t operator()(std::string_view text) const;
    };
    struct CaseInsensitiveEqual {
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using NameIndex = std::unordered_map<std::string_view, std::size_t, CaseInsensitiveHash, CaseInsensitiveEqual>;

    void parse();
    void parseLine(const Line& line);
    void closeSection(std::size_t end);
    void indexNames();
    const Section* findSection(std::string_view name) const;
    const Entry* findEntry(const Section& section, std::string_view key) const;
    const Line* lastLineOf(const Section& section) const;

    std::string content_;
    std::size_t bodyStart_ = 0; // after a byte-order mark
    std::vector<Section> sections_;
    std::vector<Entry> entries_;
    NameIndex sectionIndex_;
    // Key indexes of large sections (first of their name only); small ones are scanned.
    std::unordered_map<std::size_t, NameIndex> keyIndexes_;
};

// Windows' listing format: each name NUL-ended, then one more NUL. When the
// names do not fit, the last one that is started is cut to what fits and
// followed by two NULs, and the result is size - 2; a listing that fills the
// buffer exactly counts as cut too. Returns the number of characters written
// before the final NUL.
std::uint32_t copyNameList(const std::vector<std::string_view>& names, char* buffer, std::uint32_t size);

// Copies a value or default the way Windows does: quotes around it ("..." or
// '...') removed, cut at a NUL and to size - 1 characters, NUL-ended.
std::uint32_t copyProfileValue(std::string_view value, char* buffer, std::uint32_t size);

// A default value as Windows uses it: trailing spaces cut (one character is
// always kept, so "   " stays " ").
std::string_view trimDefaultValue(const char* defaultValue);

// Answers a read the way GetPrivateProfileStringA does, from a document (null
// for a missing file).
std::uint32_t readProfile(const ProfileDocument* document, const char* section, const char* key,
                          const char* defaultValue, char* buffer, std::uint32_t size);

} // namespace zudo::platform::detail
