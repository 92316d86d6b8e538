#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "io/File.hpp"
#include "io/FileIdentity.hpp"
#include "platform/Platform.hpp"
#include "support/TempDir.hpp"
#include "util/Exception.hpp"

using zudo::io::File;

namespace {

// Bit by bit, independently of the table-driven code: reflected 0x04C11DB7,
// initial value and final mask all ones.
std::uint32_t referenceCrc32(const std::string& data)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return ~crc;
}

std::string errnoText(int error)
{
    return std::to_string(error) + " - " + zudo::platform::errorText(error);
}

} // namespace

TEST(File, SplitsAtTheLastSeparatorAfterDroppingTrailingOnes)
{
    struct Case {
        const char* path;
        const char* directory;
        const char* name;
        const char* fullPath;
    };
    const Case cases[] = {
        {"C:\\Games\\Host\\", "C:\\Games", "Host", "C:\\Games\\Host"},
        {"readme.txt", "", "readme.txt", "readme.txt"},
        {"a/b\\c//\\", "a/b", "c", "a/b\\c"},
        {"Maps/Tracks.ini", "Maps", "Tracks.ini", "Maps\\Tracks.ini"},
        // One leading separator before the name leaves no directory.
        {"\\readme.txt", "", "readme.txt", "readme.txt"},
        {"C:", "", "C:", "C:"},
        {"", "", "", ""},
        {"\\/\\", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const File file(c.path);
        EXPECT_EQ(file.directory(), c.directory);
        EXPECT_EQ(file.name(), c.name);
        EXPECT_EQ(file.fullPath(), c.fullPath);
    }
}

TEST(File, ChildJoinsWithBackslashAndKeepsSeparatorsFurtherLeft)
{
    const File child(File("C:\\Games\\Host\\"), "\\Maps/Tracks.ini");
    EXPECT_EQ(child.directory(), "C:\\Games\\Host\\Maps");
    EXPECT_EQ(child.name(), "Tracks.ini");
    EXPECT_EQ(child.fullPath(), "C:\\Games\\Host\\Maps\\Tracks.ini");

    const File nested(File("C:/Games/Host"), "//Plugins\\Zuzuzevo/Zuzuzevo.ini");
    EXPECT_EQ(nested.directory(), "C:/Games\\Host\\Plugins\\Zuzuzevo");
    EXPECT_EQ(nested.fullPath(), "C:/Games\\Host\\Plugins\\Zuzuzevo\\Zuzuzevo.ini");

    const File underNothing(File(""), "\\Viduzuz.ini");
    EXPECT_EQ(underNothing.directory(), "");
    EXPECT_EQ(underNothing.fullPath(), "Viduzuz.ini");

    const File emptyChild(File("C:\\Games\\Host"), "");
    EXPECT_EQ(emptyChild.fullPath(), "C:\\Games\\Host");
}

TEST(File, ExtensionAndBaseNameSplitAtTheLastPoint)
{
    struct Case {
        const char* path;
        const char* extension;
        const char* baseName;
    };
    const Case cases[] = {
        {"archive.tar.gz", "gz", "archive.tar"},
        {"README", "", "README"},
        {"name.", "", "name"},
        {".profile", "profile", ""},
        {"dir.d\\file", "", "file"},
        {"C:\\x\\Rally.SRP", "SRP", "Rally"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(File(c.path).extension(), c.extension);
        EXPECT_EQ(File(c.path).baseName(), c.baseName);
    }
}

TEST(SanitizeFileName, ReplacesExactlyTheNineForbiddenCharacters)
{
    using zudo::io::sanitizeFileName;
    EXPECT_EQ(sanitizeFileName("Stage: Harju? (dry, new)", '_'), "Stage_ Harju_ (dry, new)");
    EXPECT_EQ(sanitizeFileName("\\/:*?\"<>|"), "_________");
    EXPECT_EQ(sanitizeFileName("a.b-c_d e'f[1]{2}+=;,\xc3\xa9", '_'),
              "a.b-c_d e'f[1]{2}+=;,\xc3\xa9");
    EXPECT_EQ(sanitizeFileName("01:23.456", '-'), "01-23.456");
}

TEST(File, StatusOfExistingAndMissingFiles)
{
    zudo::test::TempDir dir;
    const File present(dir.write("ten.bin", "0123456789"));
    const File missing(dir.file("missing.bin"));
    const File directory(dir.str());

    EXPECT_TRUE(present.exists());
    EXPECT_TRUE(directory.exists());
    EXPECT_FALSE(missing.exists());
    EXPECT_EQ(present.size(), 10);
    EXPECT_EQ(missing.size(), -1);

    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    EXPECT_NEAR(static_cast<double>(present.lastModified()), static_cast<double>(now), 120.0);
    try {
        (void)missing.lastModified();
        ADD_FAILURE() << "no exception";
    } catch (const zudo::Exception& e) {
        EXPECT_EQ(e.message(),
                  "_stat failed on file " + missing.fullPath() + "errno: " + errnoText(ENOENT));
        EXPECT_EQ(e.location(), "zudo::io::File::lastModified()");
    }
}

TEST(File, AbsolutePathOfARelativeNameIsBelowTheCurrentDirectory)
{
    zudo::test::TempDir dir;
    dir.write("Maps/Tracks.ini", "[Map01]\n");
    const std::string previous = zudo::platform::currentDirectory();
    ASSERT_TRUE(zudo::platform::setCurrentDirectory(dir.str()));
    const std::string absolute = File("Maps\\Tracks.ini").absolutePath();
    zudo::platform::setCurrentDirectory(previous);

    EXPECT_EQ(File(absolute).name(), "Tracks.ini");
    EXPECT_TRUE(std::filesystem::equivalent(zudo::platform::nativePath(absolute),
                                            dir.path() / "Maps" / "Tracks.ini"));
}

TEST(File, ChecksumIsTheZipCrc32)
{
    zudo::test::TempDir dir;
    EXPECT_EQ(File(dir.write("check.txt", "123456789")).checksum(), 0xCBF43926u);
    EXPECT_EQ(File(dir.write("empty.txt", "")).checksum(), 0u);
    EXPECT_EQ(File(dir.str()).checksum(), 0u);

    // Several read blocks, every byte value.
    std::string large;
    for (int i = 0; i < 10000; ++i) {
        large.push_back(static_cast<char>((i * 7 + i / 256) & 0xFF));
    }
    EXPECT_EQ(File(dir.write("large.bin", large)).checksum(), referenceCrc32(large));
}

TEST(File, ChecksumIsKeptOnceComputed)
{
    zudo::test::TempDir dir;
    const File file(dir.write("data.txt", "123456789"));
    ASSERT_EQ(file.checksum(), 0xCBF43926u);
    dir.write("data.txt", "changed");
    EXPECT_EQ(file.checksum(), 0xCBF43926u);
    EXPECT_EQ(File(file.fullPath()).checksum(), referenceCrc32("changed"));
}

TEST(File, ChecksumOfAMissingFileThrows)
{
    zudo::test::TempDir dir;
    const File missing(dir.file("missing.bin"));
    try {
        (void)missing.checksum();
        ADD_FAILURE() << "no exception";
    } catch (const zudo::Exception& e) {
        EXPECT_EQ(e.message(),
                  "_stat failed on file: " + missing.fullPath() + " errno: " + errnoText(ENOENT));
        EXPECT_EQ(e.location(), "<unspecified>");
    }
}

TEST(HostDirectory, IsTheDirectoryOfTheHostExecutable)
{
    zudo::test::TempDir dir;
    zudo::platform::setExecutablePath(dir.str() + "\\Zoraravi_SSE.exe");
    EXPECT_EQ(zudo::io::hostDirectory(), dir.str());
    zudo::platform::setExecutablePath("C:\\Games\\Zudo/Zoraravi_SSE.exe");
    EXPECT_EQ(zudo::io::hostDirectory(), "C:\\Games\\Zudo");
    zudo::platform::setExecutablePath("");
}

TEST(FileIdentity, SeesTheFileItOpened)
{
    zudo::test::TempDir dir;
    zudo::io::FileIdentity identity;
    EXPECT_FALSE(identity.open(dir.file("missing.txt")));
    EXPECT_FALSE(identity.isValid());
    EXPECT_FALSE(identity.isUnchanged());

    const std::string path = dir.write("watched.txt", "first");
    ASSERT_TRUE(identity.open(path));
    EXPECT_TRUE(identity.isValid());
    EXPECT_TRUE(identity.isUnchanged());

    // Windows refuses writers while the file is open for reading; where the
    // write goes through, the change must show.
    bool rewritten = false;
    {
        std::ofstream out(zudo::platform::nativePath(path), std::ios::app | std::ios::binary);
        rewritten = static_cast<bool>(out << "and more") && static_cast<bool>(out.flush());
    }
    EXPECT_EQ(identity.isUnchanged(), !rewritten);

    identity.close();
    EXPECT_FALSE(identity.isValid());
    EXPECT_FALSE(identity.isUnchanged());
}
