#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "io/FileStreams.hpp"
#include "support/TempDir.hpp"

using zudo::io::ReplacingFile;
using zudo::io::StreamMode;

TEST(ReplacingFile, CommitPutsTheNewContentsInPlace)
{
    zudo::test::TempDir dir;
    const std::string path = dir.write("records.tm2", "old contents that are longer");
    {
        ReplacingFile out(path, StreamMode::Binary);
        out.stream() << "new\n";
        EXPECT_EQ(dir.read("records.tm2"), "old contents that are longer");
        EXPECT_TRUE(out.commit());
    }
    EXPECT_EQ(dir.read("records.tm2"), "new\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "records.tm2.new"));

    EXPECT_TRUE(zudo::io::replaceFileContents(dir.file("fresh.prs"), std::string("a\0b", 3)));
    EXPECT_EQ(dir.read("fresh.prs"), std::string("a\0b", 3));
}

TEST(ReplacingFile, AnUnfinishedOrFailedWriteLeavesTheOldFile)
{
    zudo::test::TempDir dir;
    const std::string path = dir.write("progress.prs", "old");
    {
        ReplacingFile abandoned(path);
        abandoned.stream() << "half written";
    }
    EXPECT_EQ(dir.read("progress.prs"), "old");
    {
        ReplacingFile failing(path);
        failing.stream() << "whatever";
        failing.stream().setstate(std::ios::badbit); // as a full disk would
        EXPECT_FALSE(failing.commit());
    }
    EXPECT_EQ(dir.read("progress.prs"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ReplacingFile, AMissingDirectoryFails)
{
    zudo::test::TempDir dir;
    ReplacingFile out(dir.file("missing/damage.dmg"));
    out.stream() << "x";
    EXPECT_EQ(out.failure(), "");
    EXPECT_FALSE(out.commit());
    EXPECT_EQ(out.failure(), "Could not write damage.dmg: its folder does not exist");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

TEST(FileStreams, TextLinesReadInBinaryEndAtLineEndsOnly)
{
    zudo::test::TempDir dir;
    // A Ctrl-Z would end a text-mode read of the Windows C runtime.
    const std::string path = dir.write("t.prs", "a\x1A" "b\r\nc\n\r\nlast");
    std::ifstream in = zudo::io::openInputStream(path, StreamMode::Binary);
    std::vector<std::string> lines;
    for (std::string line; zudo::io::readTextLine(in, line);) {
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"a\x1A" "b", "c", "", "last"}));
}

TEST(FileStreams, TextModeUsesThePlatformsLineEnds)
{
    zudo::test::TempDir dir;
    ASSERT_TRUE(zudo::io::replaceFileContents(dir.file("t.txt"), "a\nb\n", StreamMode::Text));
#ifdef _WIN32
    EXPECT_EQ(dir.read("t.txt"), "a\r\nb\r\n");
#else
    EXPECT_EQ(dir.read("t.txt"), "a\nb\n");
#endif
    std::ifstream in = zudo::io::openInputStream(dir.file("t.txt"));
    std::string first, second;
    EXPECT_TRUE(std::getline(in, first) && std::getline(in, second));
    EXPECT_EQ(first, "a");
    EXPECT_EQ(second, "b");

    std::string whole;
    EXPECT_TRUE(zudo::io::readWholeFile(dir.file("t.txt"), whole));
    EXPECT_EQ(whole, dir.read("t.txt"));
    EXPECT_FALSE(zudo::io::readWholeFile(dir.file("none.txt"), whole));
}
