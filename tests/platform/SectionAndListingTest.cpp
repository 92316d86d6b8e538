// Whole-section reads and writes of private-profile files, the name-only
// directory listing and whole-file writes brought to the disk: services the texture
// check's validation records and texture lookups rely on for speed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "PlatformTestSupport.hpp"
#include "platform/Platform.hpp"
#include "support/TempDir.hpp"

namespace zudo::test {
namespace {

namespace zp = zudo::platform;
using Strings = std::vector<std::string>;

// The NUL-separated entries of a section as the platform returns them.
Strings sectionEntries(const std::string& file, const char* section, std::uint32_t size = 4096)
{
    std::vector<char> buffer(size + 2u, '\0');
    const std::uint32_t count = zp::profileSection(section, buffer.data(), size, file);
    Strings entries;
    for (std::size_t start = 0; start < count;) {
        const std::string entry(buffer.data() + start);
        entries.push_back(entry);
        start += entry.size() + 1;
    }
    return entries;
}

TEST(ProfileSection, ReadsTheEntriesOfOneSectionInFileOrder)
{
    TempDir dir;
    const std::string file =
        dir.write("a.ini", "[Other]\r\nx=1\r\n[Map05]\r\n  M/dry/new =  1 \r\nM/dry/worn=0\r\n; note\r\n"
                           "[Next]\r\ny=2\r\n");
    EXPECT_EQ(sectionEntries(file, "MAP05"), (Strings{"M/dry/new=1", "M/dry/worn=0"}))
        << "section name in other letter case, blanks around name and value removed, comments left out";
    EXPECT_TRUE(sectionEntries(file, "Missing").empty());
    EXPECT_TRUE(sectionEntries(dir.file("none.ini"), "Map05").empty());
}

TEST(ProfileSection, WritesReplaceOneSectionAndKeepTheOthers)
{
    TempDir dir;
    const std::string file = dir.write("v.ini", "[Map10]\r\nold=5\r\n[Map20]\r\nkeep=7\r\n");
    const std::string entries = std::string("a=1") + '\0' + "b=0" + '\0';
    ASSERT_TRUE(zp::writeProfileSection("Map10", entries.c_str(), file));
    EXPECT_EQ(sectionEntries(file, "Map10"), (Strings{"a=1", "b=0"})) << "old entries are gone";
    EXPECT_EQ(readValue(file, "Map20", "keep"), "7");

    ASSERT_TRUE(zp::writeProfileSections({{"Map30", std::string("c=2") + '\0'},
                                          {"Map20", std::string("keep=8") + '\0' + "d=1" + '\0'}},
                                         file));
    EXPECT_EQ(readValue(file, "Map30", "c"), "2") << "a new section is created";
    EXPECT_EQ(readValue(file, "Map20", "keep"), "8");
    EXPECT_EQ(readValue(file, "Map20", "d"), "1");
    EXPECT_EQ(readValue(file, "Map10", "a"), "1") << "a section not written stays";

    const std::string created = dir.file("new.ini");
    ASSERT_TRUE(zp::writeProfileSections({{"S", std::string("k=v") + '\0'}}, created));
    EXPECT_EQ(readValue(created, "S", "k"), "v");
    EXPECT_FALSE(zp::writeProfileSections({{"S", std::string("k=v") + '\0'}}, dir.file("no/x.ini")))
        << "a missing directory is never created";

    const std::string before = dir.read("new.ini");
    std::filesystem::permissions(created, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                              std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_FALSE(zp::writeProfileSections({{"S", std::string("k=w") + '\0'}}, created)) << "read-only";
    std::filesystem::permissions(created, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_EQ(dir.read("new.ini"), before);
    EXPECT_FALSE(std::filesystem::exists(created + ".new")) << "no copy left beside it";
}

TEST(ListFileNames, NamesTheFilesOfADirectoryFoundInAnyLetterCase)
{
    TempDir dir;
    dir.write("Tex/Rock.DDS", "r");
    dir.write("Tex/grass.dds", "g");
    dir.write("Tex/Sub/inner.dds", "i");
    Strings names;
    int error = -1;
    ASSERT_TRUE(zp::listFileNames(dir.str() + "\\TEX", names, error));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Strings{"Rock.DDS", "grass.dds"})) << "names as on disk, directories left out";

    names.clear();
    EXPECT_FALSE(zp::listFileNames(dir.file("missing"), names, error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_TRUE(names.empty());
}

TEST(WriteFileToDisk, WritesTheWholeContentsOrSaysWhyNot)
{
    TempDir dir;
    dir.write("Data.bin", "longer old contents");
    const std::string bytes("a\0\x1A" "b", 4);
    EXPECT_EQ(zp::writeFileToDisk(dir.file("DATA.BIN"), bytes, false), 0) << "found ignoring letter case";
    EXPECT_EQ(dir.read("Data.bin"), bytes);

    EXPECT_EQ(zp::writeFileToDisk(dir.file("lines.txt"), "x\ny\n", true), 0);
    std::string text = dir.read("lines.txt");
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    EXPECT_EQ(text, "x\ny\n") << "text mode changes nothing but the line ends";

    EXPECT_EQ(zp::writeFileToDisk(dir.file("missing/x.bin"), bytes, false), ENOENT);
    std::filesystem::permissions(dir.path() / "Data.bin", std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write | std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_EQ(zp::writeFileToDisk(dir.file("Data.bin"), "other", false), EACCES) << "read-only";
    std::filesystem::permissions(dir.path() / "Data.bin", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(dir.read("Data.bin"), bytes);
}

} // namespace
} // namespace zudo::test
