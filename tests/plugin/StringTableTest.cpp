// Translations for the game's menus: the section of the game's language, the
// cache that lasts as long as the language, the game's own text for keys
// without translation, and UTF-8 turned into UTF-16. In the game's process
// the game's text routine is really called (thiscall, through a jump).

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/StringTable.hpp"
#include "support/ShellHost.hpp"

namespace {

using zudo::plugin::readHostText;
using zudo::plugin::StringTable;
using zudo::util::mem::HostAddress;
namespace mem = zudo::util::mem;

class Translations;
Translations* running = nullptr;

class Translations : public zudo::test::ShellHostTest {
protected:
    void SetUp() override
    {
        ShellHostTest::SetUp();
        running = this;
        language = mem::bindings::languageObject.address();
        ASSERT_FALSE(language.isNull());
        file = install.write("strings.ini", "[ENGLISH]\n"
                                            "K_SPEED = Speed \n"
                                            "K_GEAR=Gear\n"
                                            "K_LOST=SNF\n"
                                            "K_EMPTY=\n"
                                            "K_UMLAUT=Stra\xC3\x9F\x65 \xE2\x80\x93 \xC3\x9C\n"
                                            "K_BROKEN=a\xC3\x28z\n"
                                            "[SPANISH]\n"
                                            "K_SPEED=Velocidad\n");
        installGameTextRoutine();
    }
    void TearDown() override
    {
        gameRoutine.reset();
        running = nullptr;
        ShellHostTest::TearDown();
    }

    void setLanguage(std::int32_t number) const { language.write<std::int32_t>(20, number); }

    std::u16string textOf(StringTable& table, const std::string& key)
    {
        return readHostText(table.text(key));
    }

    // The game's own text for a key: "game " and the key.
    HostAddress gameText(HostAddress self, const char* key)
    {
        EXPECT_EQ(self, language) << "called on the language object";
        gameKeys.emplace_back(key);
        const std::string text = "game " + std::string(key);
        const HostAddress wide = hostMemory(static_cast<std::uint32_t>(2 * text.size() + 2));
        for (std::size_t i = 0; i < text.size(); ++i) {
            wide.write<char16_t>(static_cast<std::uint32_t>(2 * i), static_cast<char16_t>(text[i]));
        }
        return wide;
    }

    HostAddress language;
    std::string file;
    std::vector<std::string> gameKeys;

private:
    // The game's routine: a member of the language object taking the key.
    static std::uint32_t ZUDO_FASTCALL gameTextRoutine(std::uint32_t self, std::uint32_t,
                                                       const char* key)
    {
        return running->gameText(HostAddress(self), key).value();
    }
    void installGameTextRoutine()
    {
        gameRoutine.emplace(mem::bindings::hostText.info.address,
                            mem::PluginRoutine::of<&gameTextRoutine>());
        ASSERT_TRUE(gameRoutine->placed());
    }

    std::optional<zudo::test::HostRoutineDouble> gameRoutine;
};

TEST_F(Translations, TheGamesLanguageChoosesTheSectionAndChangingItClearsTheCache)
{
    StringTable table(file);
    setLanguage(3);
    EXPECT_EQ(textOf(table, "K_SPEED"), u"Velocidad");
    const HostAddress cached = table.text("K_SPEED");
    EXPECT_EQ(table.text("K_SPEED"), cached) << "read once per key and language";
    EXPECT_EQ(table.language(), 3);

    setLanguage(0);
    EXPECT_EQ(textOf(table, "K_GEAR"), u"Gear");
    EXPECT_EQ(table.cachedCount(), 1u) << "the Spanish texts are gone";
    EXPECT_EQ(textOf(table, "K_SPEED"), u"Speed") << "trimmed";
    EXPECT_TRUE(gameKeys.empty());
}

TEST_F(Translations, UnknownLanguagesReadEnglish)
{
    for (const std::int32_t number : {7, 9, -1, 1000}) {
        SCOPED_TRACE(number);
        setLanguage(number);
        EXPECT_EQ(StringTable::gameLanguage(), 0);
        StringTable table(file);
        EXPECT_EQ(textOf(table, "K_GEAR"), u"Gear");
    }
    EXPECT_STREQ(StringTable::sectionName(6), "POLISH");
    EXPECT_STREQ(StringTable::sectionName(9), "ENGLISH");
}

TEST_F(Translations, KeysWithoutTranslationGetTheGamesTextEveryTime)
{
    StringTable table(file);
    setLanguage(3); // Spanish has only K_SPEED
    EXPECT_EQ(textOf(table, "K_GEAR"), u"game K_GEAR");
    EXPECT_EQ(textOf(table, "K_GEAR"), u"game K_GEAR");
    setLanguage(0);
    EXPECT_EQ(textOf(table, "K_LOST"), u"game K_LOST") << "a value of SNF";
    EXPECT_EQ(textOf(table, "K_NONE"), u"game K_NONE") << "no such key";
    EXPECT_EQ(gameKeys, (std::vector<std::string>{"K_GEAR", "K_GEAR", "K_LOST", "K_NONE"}))
        << "the game's texts are not cached";

    StringTable withoutFile(install.file("missing.ini"));
    EXPECT_EQ(textOf(withoutFile, "K_SPEED"), u"game K_SPEED");
}

TEST_F(Translations, ValuesAreUtf8AndAnEmptyValueIsAnEmptyText)
{
    StringTable table(file);
    setLanguage(0);
    EXPECT_EQ(textOf(table, "K_UMLAUT"), u"Stra\u00DFe \u2013 \u00DC");
    const HostAddress empty = table.text("K_EMPTY");
    EXPECT_FALSE(empty.isNull());
    EXPECT_EQ(readHostText(empty), u"");
    EXPECT_EQ(textOf(table, "K_BROKEN"), u"") << "invalid UTF-8";
    EXPECT_TRUE(gameKeys.empty());
}

TEST_F(Translations, LocalizeFillsEntriesThatHaveAKey)
{
    StringTable table(file);
    setLanguage(0);
    language.write<std::int16_t>(16, -2);

    const HostAddress key = hostMemory(16);
    key.writeBytes(0, "K_GEAR", 7);
    const HostAddress entry = hostMemory(12);
    entry.writeAddress(0, key);
    entry.write<std::int32_t>(4, 0x1234);
    entry.write<std::int32_t>(8, 77);
    EXPECT_EQ(table.localize(entry), entry);
    EXPECT_EQ(readHostText(entry.readAddress(4)), u"Gear");
    EXPECT_EQ(entry.read<std::int32_t>(8), -2) << "the 16-bit attribute, sign and all";

    const HostAddress withoutKey = hostMemory(12);
    withoutKey.write<std::int32_t>(4, 0x1234);
    withoutKey.write<std::int32_t>(8, 77);
    EXPECT_EQ(table.localize(withoutKey), withoutKey);
    EXPECT_EQ(withoutKey.read<std::int32_t>(4), 0x1234);
    EXPECT_EQ(withoutKey.read<std::int32_t>(8), 77);
}

TEST_F(Translations, WithoutTheGameAKeyWithoutTranslationHasNoText)
{
    removeGame();
    StringTable table(file);
    EXPECT_TRUE(table.text("K_NONE").isNull());
    EXPECT_TRUE(gameKeys.empty());
}

} // namespace
