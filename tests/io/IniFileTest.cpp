#include <gtest/gtest.h>

#include <random>

#include "io/IniFile.hpp"
#include "platform/Platform.hpp"
#include "support/TempDir.hpp"

using zudo::io::IniFile;

namespace {

std::deque<std::string> sectionsOf(const IniFile& ini)
{
    std::deque<std::string> names;
    EXPECT_TRUE(ini.sectionNames(names));
    return names;
}

using Names = std::deque<std::string>;

} // namespace

TEST(IniFile, ValuesAndDefaultsAreTrimmed)
{
    zudo::test::TempDir dir;
    const IniFile ini(dir.write("a.ini", "[Sec]\n"
                                         "key =   value with blanks \t \n"
                                         "empty=\n"
                                         "quoted=\"  a  \"\n"
                                         "number = 1.25 \n"));
    EXPECT_EQ(ini.readString("Sec", "key", "d"), "value with blanks");
    EXPECT_EQ(ini.readString("SEC", "KEY", "d"), "value with blanks");
    EXPECT_EQ(ini.readString("Sec", "empty", "default"), "");
    EXPECT_EQ(ini.readString("Sec", "quoted", "d"), "a");
    EXPECT_EQ(ini.readString("Sec", "number", "d"), "1.25");
    EXPECT_EQ(ini.readString("Sec", "missing", "  def  "), "def");
    EXPECT_EQ(ini.readString("Other", "key", "def"), "def");
    EXPECT_EQ(ini.readString("Sec", "missing", ""), "");
    EXPECT_EQ(IniFile(dir.file("none.ini")).readString("Sec", "key", " def"), "def");
}

TEST(IniFile, LongValuesAreCutTo4095Characters)
{
    zudo::test::TempDir dir;
    const std::string value(5000, 'v');
    const IniFile ini(dir.write("long.ini", "[S]\nk=" + value + "\nnext=1\n"));
    EXPECT_EQ(ini.readString("S", "k", ""), std::string(4095, 'v'));
    EXPECT_EQ(ini.readString("S", "next", ""), "1");
}

TEST(IniFile, SectionAndKeyNamesInFileOrder)
{
    zudo::test::TempDir dir;
    const IniFile ini(dir.write("names.ini", "[Zeta]\nb=1\na=2\n[Alpha]\n[Mid]\nx=3\n"));
    Names names{"kept"};
    EXPECT_TRUE(ini.sectionNames(names));
    EXPECT_EQ(names, (Names{"kept", "Zeta", "Alpha", "Mid"}));

    Names keys;
    EXPECT_TRUE(ini.keyNames("zeta", keys));
    EXPECT_EQ(keys, (Names{"b", "a"}));
    keys.clear();
    EXPECT_TRUE(ini.keyNames("Alpha", keys));
    EXPECT_TRUE(keys.empty());

    EXPECT_TRUE(sectionsOf(IniFile(dir.file("none.ini"))).empty());
    EXPECT_TRUE(sectionsOf(IniFile(dir.write("empty.ini", ""))).empty());
}

TEST(IniFile, WritesCreateTheFileAndSection)
{
    zudo::test::TempDir dir;
    const IniFile ini(dir.file("new.ini"));
    EXPECT_FALSE(ini.exists());
    EXPECT_TRUE(ini.writeString("Service", "Mechanics", "5"));
    EXPECT_TRUE(ini.exists());
    EXPECT_TRUE(ini.writeString("Service", "Skill", "Expert"));
    EXPECT_TRUE(ini.writeString("Service", "Mechanics", "6"));
    EXPECT_EQ(ini.readString("service", "mechanics", ""), "6");
    EXPECT_EQ(ini.readString("Service", "Skill", ""), "Expert");
    EXPECT_EQ(sectionsOf(ini), (Names{"Service"}));

    EXPECT_FALSE(IniFile(dir.file("missing/x.ini")).writeString("S", "k", "v"));
    EXPECT_FALSE(IniFile(dir.file("missing/x.ini")).exists());
}

TEST(IniFile, RelativeNamesAreTakenFromTheCurrentDirectory)
{
    zudo::test::TempDir dir;
    dir.write("Maps/Tracks.ini", "[Map05]\nStageName=Test\n");
    const std::string previous = zudo::platform::currentDirectory();
    ASSERT_TRUE(zudo::platform::setCurrentDirectory(dir.str()));
    const IniFile ini("Maps\\Tracks.ini");
    const std::string value = ini.readString("Map05", "StageName", "");
    const bool exists = ini.exists();
    const bool written = IniFile("Relative.ini").writeString("S", "k", "v");
    zudo::platform::setCurrentDirectory(previous);

    EXPECT_EQ(value, "Test");
    EXPECT_TRUE(exists);
    EXPECT_TRUE(written);
    EXPECT_NE(dir.read("Relative.ini").find("k=v"), std::string::npos);
    EXPECT_EQ(IniFile("").resolvedPath(), "");
}

TEST(IniFile, EmptyBinaryAndHugeFilesAreReadSafely)
{
    zudo::test::TempDir dir;
    {
        SCOPED_TRACE("binary");
        std::mt19937 random(7);
        std::string bytes(64 * 1024, '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random());
        }
        const IniFile ini(dir.write("binary.ini", "[Start]\nk=v\n" + bytes));
        const Names names = sectionsOf(ini);
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.front(), "Start");
        EXPECT_EQ(ini.readString("Start", "k", "d"), "v");
    }
    {
        SCOPED_TRACE("10 MB with a 1 MB line");
        std::string text = "[First]\nlong=" + std::string(1024 * 1024, 'x') + "\n";
        for (int i = 0; text.size() < 10 * 1024 * 1024; ++i) {
            text += "[S" + std::to_string(i) + "]\nkey=value " + std::to_string(i) + "\n";
        }
        text += "[Last]\nkey=end\n";
        const IniFile ini(dir.write("huge.ini", text));
        EXPECT_EQ(ini.readString("First", "long", ""), std::string(4095, 'x'));
        EXPECT_EQ(ini.readString("Last", "key", ""), "end");
        EXPECT_EQ(ini.readString("S1000", "key", ""), "value 1000");
        const Names names = sectionsOf(ini);
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.front(), "First");
    }
}

TEST(IniFile, SectionListsBeyondTheBufferAreCut)
{
    // About 2 MB of names: the listing stops inside its 1 MiB buffer.
    zudo::test::TempDir dir;
    std::string text;
    const int count = 100000;
    for (int i = 0; i < count; ++i) {
        text += "[Section_with_a_long_name_" + std::to_string(100000 + i) + "]\n";
    }
    const Names names = sectionsOf(IniFile(dir.write("many.ini", text)));
    ASSERT_GT(names.size(), 1000u);
    EXPECT_LT(names.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(names.front(), "Section_with_a_long_name_100000");
    std::size_t total = 0;
    for (const std::string& name : names) {
        total += name.size() + 1;
    }
    EXPECT_LT(total, IniFile::listingBufferSize);
}
