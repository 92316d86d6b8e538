#pragma once
// Translations of the game's own menu texts (the car-setup pages): looked up
// by key in Plugins/Zuzuzevo/strings.ini, in the section of the language the
// game is set to, and handed to the game as UTF-16 text. Keys the file does
// not translate (missing, or literally "SNF") get the game's own text.
//
// The texts live in memory the game can read (host memory), since the game
// keeps the pointers in its own text entries.

#include <cstdint>
#include <map>
#include <string>

#include "util/mem/HostAddress.hpp"

namespace zudo::plugin {

class StringTable {
public:
    static constexpr int noLanguage = 7;
    // What the translation file holds for a key it does not translate.
    static constexpr const char* notFound = "SNF";

    // The process's table, reading the file at its usual place.
    static StringTable& instance();
    // A table reading another translation file (tests).
    explicit StringTable(std::string file);

    // The UTF-16 text for key in the game's current language (see above).
    // Translations stay valid until the game's language changes; the game's
    // own texts are the game's. Null when there is no text at all (no
    // translation and no game to ask).
    util::mem::HostAddress text(const std::string& key);
    // Fills a text entry of the game (util::mem::HostTextEntryView) whose key is
    // set: its text from text(key) and its attribute from the game's language
    // object. An entry without key, or a key without any text, is left as it
    // is. Returns entry.
    util::mem::HostAddress localize(util::mem::HostAddress entry);

    // The game's language number now: 0 to 6, anything else counts as 0.
    static int gameLanguage();
    // "ENGLISH", "FRENCH", "GERMAN", "SPANISH", "ITALIAN", "CZECH", "POLISH".
    static const char* sectionName(int language);

    // The language the cached translations belong to.
    int language() const { return language_; }
    std::size_t cachedCount() const { return cache_.size(); }

private:
    struct Translation {
        util::mem::HostBlock text; // UTF-16, NUL-ended
    };

    void followGameLanguage();
    static util::mem::HostBlock hostCopy(const std::u16string& text);

    std::map<std::string, Translation> cache_;
    std::string file_;
    int language_ = noLanguage;
};

// A UTF-16 text in host memory, up to its NUL (at most maxLength characters).
std::u16string readHostText(util::mem::HostAddress text, std::uint32_t maxLength = 4096);

} // namespace zudo::plugin
