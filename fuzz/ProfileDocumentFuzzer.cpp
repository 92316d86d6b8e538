// Private-profile documents (settings files, track ini files, strings.ini):
// parsing, every query and every kind of write. Input: section name, key
// name, then the document, separated by lines "%%".
//
// Beyond not crashing: a value written under plain names reads back, and a
// removal changes the file whenever there is a value to remove.

#include <array>
#include <cstdint>

#include "FuzzCheck.hpp"
#include "FuzzSupport.hpp"
#include "platform/posix/ProfileDocument.hpp"

namespace {

using zudo::platform::detail::ProfileDocument;

// Names the writer can place without changing their meaning: no line breaks,
// brackets, "=" or blanks at the ends, no leading ";".
bool isPlainName(const std::string& name)
{
    if (name.empty() || name.size() > 64 || name.front() == ';' || name.front() == ' ' ||
        name.back() == ' ') {
        return false;
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '[' || c == ']' || c == '=') {
            return false;
        }
    }
    return true;
}

void queryEverything(const ProfileDocument& document, const std::string& section, const std::string& key)
{
    document.value(section, key);
    // Small buffers as well as ample ones: the listing rules cut names.
    for (const std::uint32_t size : {0u, 1u, 2u, 3u, 17u, 4096u}) {
        std::array<char, 4096> buffer{};
        document.copySectionNames(buffer.data(), size);
        document.copyKeyNames(section, buffer.data(), size);
        document.copySectionEntries(section, buffer.data(), size);
        zudo::platform::detail::readProfile(&document, section.c_str(), key.c_str(), "  default ",
                                            buffer.data(), size);
        zudo::platform::detail::readProfile(&document, section.c_str(), nullptr, "", buffer.data(), size);
        zudo::platform::detail::readProfile(&document, nullptr, nullptr, "", buffer.data(), size);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> parts = zudo::fuzz::splitInput(data, size, 3);
    const std::string& section = parts[0];
    const std::string& key = parts[1];
    const ProfileDocument document(parts[2]);
    queryEverything(document, section, key);

    const ProfileDocument written(document.withValue(section, key, "fuzz value"));
    const ProfileDocument removed(document.withValue(section, key, nullptr));
    const ProfileDocument withoutSection(document.withoutSection(section));
    const ProfileDocument replaced(document.withSectionEntries(section, {"a=1", key, "b"}));
    queryEverything(written, section, key);
    queryEverything(replaced, section, key);
    queryEverything(withoutSection, section, key);
    if (isPlainName(section) && isPlainName(key)) {
        ZUDO_FUZZ_CHECK(written.value(section, key) == std::optional<std::string_view>("fuzz value"));
        // A removal takes out the entry found (a duplicate after it may
        // then be found): it never leaves a visible value untouched.
        ZUDO_FUZZ_CHECK(!document.value(section, key) || removed.content() != document.content());
    }
    return 0;
}
