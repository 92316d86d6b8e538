#include "plugin/StringTable.hpp"

#include <utility>

#include "config/SettingFiles.hpp"
#include "io/IniFile.hpp"
#include "platform/Platform.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostViews.hpp"

namespace zudo::plugin {

namespace {

using util::mem::HostAddress;

constexpr const char* sections[StringTable::noLanguage] = {
    "ENGLISH", "FRENCH", "GERMAN", "SPANISH", "ITALIAN", "CZECH", "POLISH",
};

constexpr std::uint32_t longestKey = 1024;

// A narrow, NUL-ended text in host memory (a key of the game's).
std::string readHostKey(HostAddress key)
{
    std::string result;
    for (std::uint32_t i = 0; i < longestKey; ++i) {
        const char c = key.read<char>(i);
        if (c == '\0') {
            break;
        }
        result.push_back(c);
    }
    return result;
}

util::mem::LanguageObjectView languageObject()
{
    return util::mem::LanguageObjectView(util::mem::bindings::languageObject.address());
}

} // namespace

StringTable& StringTable::instance()
{
    static StringTable table(config::stringsIniPath());
    return table;
}

StringTable::StringTable(std::string file) : file_(std::move(file)) {}

int StringTable::gameLanguage()
{
    const util::mem::LanguageObjectView object = languageObject();
    if (object.isNull()) {
        return 0;
    }
    const std::int32_t language = object.language();
    return language >= 0 && language < noLanguage ? language : 0;
}

const char* StringTable::sectionName(int language)
{
    return sections[language >= 0 && language < noLanguage ? language : 0];
}

void StringTable::followGameLanguage()
{
    const int now = gameLanguage();
    if (now != language_) {
        cache_.clear();
        language_ = now;
    }
}

util::mem::HostBlock StringTable::hostCopy(const std::u16string& text)
{
    const auto bytes = static_cast<std::uint32_t>((text.size() + 1) * sizeof(char16_t));
    util::mem::HostBlock block(bytes);
    if (!block.address().isNull()) {
        // The block is zero-filled: the final NUL is there already.
        block.address().writeBytes(0, text.data(),
                                   static_cast<std::uint32_t>(text.size() * sizeof(char16_t)));
    }
    return block;
}

HostAddress StringTable::text(const std::string& key)
{
    followGameLanguage();
    if (const auto cached = cache_.find(key); cached != cache_.end()) {
        return cached->second.text.address();
    }
    const std::string value =
        io::IniFile(file_).readString(sectionName(language_), key, notFound);
    if (value == notFound) {
        // Not cached: the game is asked again next time.
        const util::mem::LanguageObjectView object = languageObject();
        return util::mem::bindings::hostText(object.address(), key.c_str()).value_or(HostAddress());
    }
    std::u16string wide;
    if (!platform::utf8ToUtf16(value, wide)) {
        wide.clear(); // not UTF-8: an empty text rather than a garbled one
    }
    Translation& stored = cache_[key];
    stored.text = hostCopy(wide);
    return stored.text.address();
}

HostAddress StringTable::localize(HostAddress entry)
{
    const util::mem::HostTextEntryView view(entry);
    if (view.isNull() || view.key().isNull()) {
        return entry;
    }
    const HostAddress translated = text(readHostKey(view.key()));
    if (translated.isNull()) {
        return entry;
    }
    view.setText(translated);
    const util::mem::LanguageObjectView object = languageObject();
    if (!object.isNull()) {
        // Copied as the game keeps it: a 16-bit value widened with its sign.
        view.setAttribute(object.textAttribute());
    }
    return entry;
}

std::u16string readHostText(HostAddress text, std::uint32_t maxLength)
{
    std::u16string result;
    if (text.isNull()) {
        return result;
    }
    for (std::uint32_t i = 0; i < maxLength; ++i) {
        const auto c = text.read<char16_t>(i * static_cast<std::uint32_t>(sizeof(char16_t)));
        if (c == u'\0') {
            break;
        }
        result.push_back(c);
    }
    return result;
}

} // namespace zudo::plugin
