// Writes of private-profile files. What a write means (the value read back,
// the failure for a missing directory) is checked in both builds. The exact
// bytes are checked natively only: Wine rewrites the whole file on every
// write (CRLF everywhere, blank lines dropped, "x = 1" becomes "x=1"), while
// Windows, like the POSIX emulation, changes only the affected line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PlatformTestSupport.hpp"
#include "support/TempDir.hpp"

namespace zudo::test {
namespace {

using Names = std::vector<std::string>;
namespace zp = zudo::platform;


std::vector<std::string> directoryEntries(const std::string& directory)
{
    std::vector<std::string> entries;
    zp::DirectorySearch search;
    zp::FindData entry;
    for (bool found = search.first(directory + "/*", entry); found; found = search.next(entry)) {
        if (entry.name != "." && entry.name != "..") {
            entries.push_back(entry.name);
        }
    }
    return entries;
}

TEST(ProfileWrite, CreatesTheFileAndTheSection)
{
    TempDir dir;
    const std::string file = dir.file("new.ini");
    ASSERT_TRUE(zp::writeProfileString("Sec1", "key", "value", file));
    EXPECT_EQ(readValue(file, "Sec1", "key"), "value");
    if (nativeBuild) {
        EXPECT_EQ(dir.read("new.ini"), "[Sec1]\r\nkey=value\r\n");
    }
    ASSERT_TRUE(zp::writeProfileString("Sec2", "other", "2", file));
    EXPECT_EQ(names(file, nullptr), (Names{"Sec1", "Sec2"}));
    if (nativeBuild) {
        EXPECT_EQ(dir.read("new.ini"), "[Sec1]\r\nkey=value\r\n[Sec2]\r\nother=2\r\n")
            << "a new section follows without a blank line";
    }
}

TEST(ProfileWrite, FailsForAMissingDirectoryOrSection)
{
    TempDir dir;
    EXPECT_FALSE(zp::writeProfileString("S", "k", "v", dir.file("missing/x.ini")));
    EXPECT_FALSE(zp::fileExists(dir.file("missing")));
    EXPECT_FALSE(zp::writeProfileString(nullptr, "k", "v", dir.file("x.ini")));
    EXPECT_FALSE(zp::fileExists(dir.file("x.ini")));
}

TEST(ProfileWrite, ChangesOnlyTheAffectedLine)
{
    TempDir dir;
    const std::string original = "; settings\n"
                                 "[Options]\n"
                                 "  Volume = 3\r\n"
                                 "\n"
                                 "name=keep me  \n"
                                 "[Other]\r"
                                 "volume=9";
    const std::string file = dir.write("edit.ini", original);
    ASSERT_TRUE(zp::writeProfileString("options", "VOLUME", "7", file));
    EXPECT_EQ(readValue(file, "Options", "Volume"), "7");
    EXPECT_EQ(readValue(file, "Other", "volume"), "9");
    EXPECT_EQ(readValue(file, "Options", "name"), "keep me");
    if (nativeBuild) {
        EXPECT_EQ(dir.read("edit.ini"),
                  "; settings\n[Options]\nVolume=7\r\n\nname=keep me  \n[Other]\rvolume=9")
            << "the key keeps the file's spelling; every other byte stays";
    }
}

TEST(ProfileWrite, AddsAKeyAfterTheLastEntryOfItsSection)
{
    TempDir dir;
    const std::string file = dir.write("add.ini", "[A]\r\nx=1\r\n\r\n; about B\r\n[B]\r\ny=2");
    ASSERT_TRUE(zp::writeProfileString("A", "new", "n", file));
    ASSERT_TRUE(zp::writeProfileString("B", "last", "l", file));
    EXPECT_EQ(readValue(file, "A", "new"), "n");
    EXPECT_EQ(readValue(file, "B", "last"), "l");
    EXPECT_EQ(readValue(file, "B", "y"), "2");
    if (nativeBuild) {
        EXPECT_EQ(dir.read("add.ini"), "[A]\r\nx=1\r\nnew=n\r\n\r\n; about B\r\n[B]\r\ny=2\r\nlast=l\r\n");
    }
}

TEST(ProfileWrite, WritesToTheFirstOfDuplicateSections)
{
    TempDir dir;
    const std::string file = dir.write("dup.ini", "[S]\r\na=1\r\n[s]\r\nb=2\r\n");
    ASSERT_TRUE(zp::writeProfileString("S", "b", "3", file));
    EXPECT_EQ(readValue(file, "S", "b"), "3");
    if (nativeBuild) {
        EXPECT_EQ(dir.read("dup.ini"), "[S]\r\na=1\r\nb=3\r\n[s]\r\nb=2\r\n");
    }
}

TEST(ProfileWrite, NullValueRemovesTheKeyAndNullKeyTheSection)
{
    TempDir dir;
    const std::string file = dir.write("del.ini", "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n\r\n[C]\r\nw=4\r\n");
    ASSERT_TRUE(zp::writeProfileString("A", "x", nullptr, file));
    EXPECT_EQ(readValue(file, "A", "x", "gone"), "gone");
    EXPECT_EQ(readValue(file, "A", "y"), "2");
    ASSERT_TRUE(zp::writeProfileString("b", nullptr, nullptr, file));
    EXPECT_EQ(names(file, nullptr), (Names{"A", "C"}));
    EXPECT_EQ(readValue(file, "C", "w"), "4");
    if (nativeBuild) {
        EXPECT_EQ(dir.read("del.ini"), "[A]\r\ny=2\r\n[C]\r\nw=4\r\n");
    }
    EXPECT_TRUE(zp::writeProfileString("S", "k", nullptr, dir.file("absent.ini")));
    EXPECT_FALSE(zp::fileExists(dir.file("absent.ini"))) << "removing from a missing file creates none";
}

// The file is replaced as a whole: nothing is left beside it, and a reader
// never sees it half written.
TEST(ProfileWrite, LeavesNothingBesideTheFile)
{
    TempDir dir;
    const std::string file = dir.write("only.ini", "[S]\r\nk=1\r\n");
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(zp::writeProfileString("S", "k", std::to_string(i).c_str(), file));
    }
    EXPECT_EQ(readValue(file, "S", "k"), "19");
    EXPECT_EQ(directoryEntries(dir.str()), (Names{"only.ini"}));
}

TEST(ProfileWrite, WritesTheExistingFileWhateverTheLetterCase)
{
    TempDir dir;
    dir.write("Plugins/Zuzuzevo/Zuzuzevo.ini", "[Options]\r\nspeed=1\r\n");
    const std::string path = dir.str() + "\\plugins\\ZUZUZEVO\\zuzuzevo.INI";
    ASSERT_TRUE(zp::writeProfileString("Options", "speed", "2", path));
    EXPECT_EQ(readValue(dir.file("Plugins/Zuzuzevo/Zuzuzevo.ini"), "Options", "speed"), "2");
    EXPECT_EQ(directoryEntries(dir.file("Plugins/Zuzuzevo")), (Names{"Zuzuzevo.ini"}));
}

#ifndef _WIN32
TEST(ProfileWrite, KeepsPermissionsAndSymbolicLinks)
{
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string real = dir.write("real.ini", "[S]\r\nk=1\r\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, dir.path() / "link.ini");
    ASSERT_TRUE(zp::writeProfileString("S", "k", "2", dir.file("link.ini")));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.ini"));
    EXPECT_EQ(dir.read("real.ini"), "[S]\r\nk=2\r\n");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
#endif

// Another program rewrites the file in place with the same length. Where
// the kernel keeps coarse file times such a rewrite keeps the modification
// time too, and only a cache that distrusts fresh stamps sees it. Natively
// only: Wine caches a profile by its modification time and misses exactly
// this; Windows reads the file on every call.
TEST(ProfileWrite, ReadsSeeEveryChangeByOtherWriters)
{
    if (!nativeBuild) {
        GTEST_SKIP() << "Wine's profile cache misses rewrites within one clock tick";
    }
    TempDir dir;
    const std::string file = dir.file("outside.ini");
    for (int round = 0; round < 26; ++round) {
        SCOPED_TRACE(round);
        // Same length and inode every time, usually the same modification time.
        const std::string written(1, static_cast<char>('a' + round));
        dir.write("outside.ini", "[S]\r\nk=" + written + "\r\n");
        EXPECT_EQ(readValue(file, "S", "k"), written);
        const std::string patched(1, static_cast<char>('A' + round));
        std::fstream rewrite(file, std::ios::in | std::ios::out | std::ios::binary);
        rewrite.seekp(7);
        rewrite << patched;
        rewrite.close();
        EXPECT_EQ(readValue(file, "S", "k"), patched);
    }
}

} // namespace
} // namespace zudo::test
