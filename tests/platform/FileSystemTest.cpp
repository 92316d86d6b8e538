// Files, directories and paths. Natively the layer must find entries in any
// letter case and with either separator, as Windows does; under Wine the
// same tests run against the C runtime and Win32 functions.
#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PlatformTestSupport.hpp"
#include "platform/Platform.hpp"
#include "support/TempDir.hpp"

namespace zudo::test {
namespace {

namespace zp = zudo::platform;
using Names = std::vector<std::string>;

#ifdef _WIN32
constexpr char separator = '\\';
#else
constexpr char separator = '/';
#endif

std::string readThroughStandardLibrary(const std::string& path)
{
    std::ifstream in(zp::nativePath(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

Names search(const std::string& pattern, int* error = nullptr)
{
    Names found;
    zp::DirectorySearch search;
    zp::FindData entry;
    for (bool more = search.first(pattern, entry); more; more = search.next(entry)) {
        found.push_back(entry.name);
    }
    if (error != nullptr) {
        *error = search.errorNumber();
    }
    return found;
}

TEST(Paths, EitherSeparatorAndAnyLetterCaseFindTheEntry)
{
    TempDir dir;
    dir.write("Maps/Tracks.ini", "[Track0]\r\nName=Forest\r\n");
    const std::string base = dir.str();
    // Other letter case at the end, in the middle, everywhere, and with "."
    // and ".." parts between.
    for (const std::string variant : {"/Maps/Tracks.ini", "\\maps\\TRACKS.INI", "/MAPS\\tracks.ini",
                                      "/Maps/tracks.INI", "/maps/Tracks.ini", "/maps/../MAPS/./tracks.ini"}) {
        SCOPED_TRACE(variant);
        const std::string path = base + variant;
        EXPECT_TRUE(zp::fileExists(path));
        zp::FileStatus status;
        ASSERT_EQ(zp::statFile(path, status), 0);
        EXPECT_FALSE(status.directory);
        EXPECT_EQ(status.size, 23);
        EXPECT_EQ(readThroughStandardLibrary(path), "[Track0]\r\nName=Forest\r\n");
        char value[16] = {};
        EXPECT_EQ(zp::profileString("track0", "name", "", value, sizeof value, path), 6u);
        EXPECT_STREQ(value, "Forest");
    }
}

TEST(Paths, NewFilesGoIntoTheExistingDirectoryUnderTheirOwnName)
{
    TempDir dir;
    dir.write("Plugins/Zuzuzevo/old.ini", "");
    const std::string path = dir.str() + "\\PLUGINS\\zuzuzevo\\New.tm2";
    {
        std::ofstream out(zp::nativePath(path), std::ios::binary);
        out << "record";
    }
    EXPECT_EQ(search(dir.str() + "/*"), (Names{".", "..", "Plugins"})) << "no second directory in other case";
    EXPECT_EQ(search(dir.str() + "/Plugins/Zuzuzevo/*.*"), (Names{".", "..", "New.tm2", "old.ini"}));
    EXPECT_EQ(readThroughStandardLibrary(dir.str() + "/plugins/ZUZUZEVO/new.TM2"), "record");
}

TEST(Paths, EntriesCreatedMomentsAgoAreFoundInAnyCase)
{
    TempDir dir;
    dir.write("Sub/First.txt", "1");
    EXPECT_TRUE(zp::fileExists(dir.str() + "/sub/first.TXT"));
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        const std::string name = "Entry" + std::to_string(i) + ".Txt";
        dir.write("Sub/" + name, "x");
        EXPECT_TRUE(zp::fileExists(dir.str() + "/SUB/entry" + std::to_string(i) + ".txt"));
    }
}

TEST(Paths, StatAndAccessReportTheCRuntimesErrors)
{
    TempDir dir;
    const std::time_t before = std::time(nullptr);
    dir.write("file.txt", "12345");
    const std::time_t after = std::time(nullptr);
    zp::FileStatus status;
    ASSERT_EQ(zp::statFile(dir.file("file.txt"), status), 0);
    EXPECT_EQ(status.size, 5);
    EXPECT_FALSE(status.directory);
    EXPECT_GE(status.modified, static_cast<std::int64_t>(before) - 2);
    EXPECT_LE(status.modified, static_cast<std::int64_t>(after) + 2);
    ASSERT_EQ(zp::statFile(dir.str(), status), 0);
    EXPECT_TRUE(status.directory);

    EXPECT_EQ(zp::statFile(dir.file("missing.txt"), status), ENOENT);
    EXPECT_EQ(zp::statFile(dir.file("missing/deeper.txt"), status), ENOENT);
    EXPECT_EQ(zp::accessFile(dir.file("file.txt"), 0), 0);
    EXPECT_EQ(zp::accessFile(dir.file("file.txt"), 6), 0);
    EXPECT_EQ(zp::accessFile(dir.file("missing.txt"), 0), ENOENT);
    EXPECT_EQ(zp::accessFile(dir.file("missing.txt"), 6), ENOENT);

    EXPECT_EQ(zp::errorText(ENOENT), "No such file or directory");
}

// Windows' read-only attribute; natively a file that nobody may write (the
// tests may run as the superuser, whom POSIX lets write anything).
TEST(Files, ReadOnlyFilesAreNeitherWrittenReplacedNorRemoved)
{
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string readOnly = dir.write("read-only.ini", "[S]\r\nk=1\r\n");
    const std::string other = dir.write("other.ini", "other");
    fs::permissions(readOnly, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(zp::accessFile(readOnly, 0), 0);
    EXPECT_EQ(zp::accessFile(readOnly, 4), 0);
    EXPECT_EQ(zp::accessFile(readOnly, 2), EACCES);
    EXPECT_EQ(zp::accessFile(readOnly, 6), EACCES);
    EXPECT_EQ(zp::removeFile(readOnly), EACCES);
    if (nativeBuild) {
        // Windows refuses both. Wine runs as the superuser here and its POSIX
        // calls pass over the missing permission.
        EXPECT_FALSE(zp::writeProfileString("S", "k", "2", readOnly));
        EXPECT_EQ(zp::replaceFile(other, readOnly), EACCES);
    }
    EXPECT_EQ(dir.read("read-only.ini"), "[S]\r\nk=1\r\n");

    fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(zp::accessFile(readOnly, 2), 0);
    EXPECT_TRUE(zp::writeProfileString("S", "k", "2", readOnly));
    EXPECT_EQ(zp::replaceFile(other, readOnly), 0);
    EXPECT_EQ(dir.read("read-only.ini"), "other");
}

class CurrentDirectory : public ::testing::Test {
protected:
    void SetUp() override { saved_ = zp::currentDirectory(); }
    void TearDown() override { zp::setCurrentDirectory(saved_); }

private:
    std::string saved_;
};

TEST_F(CurrentDirectory, FullPathsAreMadeAgainstIt)
{
    TempDir dir;
    const std::string base = zp::fullPath(dir.str()).value();
    ASSERT_TRUE(zp::setCurrentDirectory(dir.str()));
    EXPECT_EQ(zp::currentDirectory(), base);
    EXPECT_EQ(zp::fullPath("a/./b/../c.ini"), base + separator + "a" + separator + "c.ini");
    EXPECT_EQ(zp::fullPath("a\\b\\"), base + separator + "a" + separator + "b" + separator)
        << "a final separator stays";
    EXPECT_EQ(zp::fullPath(""), base);
    const std::string root = base.substr(0, base.find(separator) + 1); // "C:\" or "/"
    EXPECT_EQ(zp::fullPath(root + "..\\..\\x"), root + "x") << "nothing goes above the root";
    EXPECT_FALSE(zp::fileExists(base + separator + "a")) << "the disk is not touched";
}

TEST(Files, ReplaceRemoveAndCreate)
{
    TempDir dir;
    const std::string from = dir.write("from.tmp", "new");
    const std::string to = dir.write("Target.dat", "old");
    ASSERT_EQ(zp::replaceFile(from, dir.file("TARGET.DAT")), 0);
    EXPECT_FALSE(zp::fileExists(from));
    EXPECT_EQ(search(dir.str() + "/*.dat").size(), 1u) << "the file in other letter case was replaced";
    EXPECT_EQ(readThroughStandardLibrary(dir.file("target.dat")), "new");
    EXPECT_EQ(zp::replaceFile(from, to), ENOENT);

    ASSERT_EQ(zp::createDirectory(dir.file("made")), 0);
    EXPECT_EQ(zp::createDirectory(dir.file("made")), EEXIST);
    EXPECT_EQ(zp::createDirectory(dir.file("none/made")), ENOENT);
    EXPECT_EQ(zp::replaceFile(to, dir.file("made")), EACCES) << "a directory is never replaced";
    EXPECT_EQ(zp::removeFile(to), 0);
    EXPECT_EQ(zp::removeFile(to), ENOENT);
    EXPECT_FALSE(zp::fileExists(to));
}

TEST(Files, TempDirectoryEndsInASeparator)
{
    const std::string temp = zp::tempDirectory();
    ASSERT_FALSE(temp.empty());
    EXPECT_TRUE(temp.back() == '/' || temp.back() == '\\');
    zp::FileStatus status;
    // The C runtime's status query fails for a directory written with a final separator.
    ASSERT_EQ(zp::statFile(temp.substr(0, temp.size() - 1), status), 0);
    EXPECT_TRUE(status.directory);
}

TEST(Files, ReadHandleTellsTheFileApartFromItsReplacement)
{
    TempDir dir;
    const std::string path = dir.write("identity.dat", "first");
    zp::ReadHandle handle;
    ASSERT_TRUE(handle.open(dir.str() + "/IDENTITY.DAT"));
    zp::FileIdentityInfo opened;
    ASSERT_TRUE(handle.info(opened));
    EXPECT_EQ(opened.size, 5u);
    EXPECT_NE(opened.lastWrite, 0u);

    zp::ReadHandle other;
    ASSERT_TRUE(other.open(path));
    zp::FileIdentityInfo same;
    ASSERT_TRUE(other.info(same));
    EXPECT_EQ(same, opened);
    other.close();
    EXPECT_FALSE(other.isOpen());
    EXPECT_FALSE(other.info(same));

    dir.write("replacement.dat", "second file");
    handle.close();
    ASSERT_EQ(zp::replaceFile(dir.file("replacement.dat"), path), 0);
    ASSERT_TRUE(other.open(path));
    zp::FileIdentityInfo replaced;
    ASSERT_TRUE(other.info(replaced));
    EXPECT_EQ(replaced.size, 11u);
    EXPECT_NE(replaced.fileIndex, opened.fileIndex);

    EXPECT_FALSE(handle.open(dir.file("missing.dat")));
    EXPECT_FALSE(handle.open(dir.str())) << "a directory is no file";
}

class DirectorySearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"File.TXT", "noext", "b.srp", "a.srp.bak", "_u", "Zed"}) {
            dir_.write(name, name);
        }
        dir_.write("Sub/inner.srp", "");
    }
    std::string pattern(const std::string& mask) const { return dir_.str() + separator + mask; }
    TempDir dir_;
};

// Names come in NTFS order: upper-case forms compared, so "_" follows the letters.
TEST_F(DirectorySearchTest, WildcardsIgnoreLetterCase)
{
    const Names everything{".", "..", "a.srp.bak", "b.srp", "File.TXT", "noext", "Sub", "Zed", "_u"};
    const struct {
        const char* mask;
        Names expected;
    } cases[] = {
        {"*", everything},
        {"*.*", everything}, // names without a dot too
        {"*.SRP", {"b.srp"}},
        {"file.txt", {"File.TXT"}},
        {"no?xt", {"noext"}},
        {"??", {"..", "_u"}},
        {"*.t?t", {"File.TXT"}},
        {"*.srp*", {"a.srp.bak", "b.srp"}},
        {"noext.*", {"noext"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        int error = -1;
        EXPECT_EQ(search(pattern(c.mask), &error), c.expected);
        EXPECT_EQ(error, ENOENT) << "the end of a search";
    }
}

TEST_F(DirectorySearchTest, EntriesCarryTypeSizeAndTime)
{
    zp::DirectorySearch search;
    zp::FindData entry;
    ASSERT_TRUE(search.first(dir_.str() + "/SUB/../file.*", entry));
    EXPECT_EQ(entry.name, "File.TXT");
    EXPECT_FALSE(entry.directory);
    EXPECT_EQ(entry.size, 8);
    zp::FileStatus status;
    ASSERT_EQ(zp::statFile(pattern("File.TXT"), status), 0);
    EXPECT_EQ(entry.modified, status.modified);
    EXPECT_FALSE(search.next(entry));

    ASSERT_TRUE(search.first(pattern("s*"), entry));
    EXPECT_EQ(entry.name, "Sub");
    EXPECT_TRUE(entry.directory);
    EXPECT_EQ(Names{"inner.srp"}, ::zudo::test::search(dir_.str() + "/sub/*.srp"));
}

TEST_F(DirectorySearchTest, FailuresTellMissingFromInvalid)
{
    const struct {
        std::string pattern;
        int error;
    } cases[] = {
        {pattern("missing") + separator + "*", ENOENT},
        {pattern("*.none"), ENOENT},
        {pattern("S*") + separator + "*", EINVAL},        // a wildcard outside the last component
        {pattern("File.TXT") + separator + "*", EINVAL},  // a file is no directory
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        zp::DirectorySearch search;
        zp::FindData entry;
        EXPECT_FALSE(search.first(c.pattern, entry));
        EXPECT_EQ(search.errorNumber(), c.error);
    }
}

} // namespace
} // namespace zudo::test
