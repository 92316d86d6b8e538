#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "io/DirList.hpp"
#include "platform/Platform.hpp"
#include "support/TempDir.hpp"
#include "util/Exception.hpp"

using zudo::io::DirList;
using zudo::io::DirListSpec;
using zudo::io::File;

namespace {

// root: a.txt b.TXT c.dat sub/{d.txt deeper/e.txt} other/f.dat
class DirListing : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name :
             {"a.txt", "b.TXT", "c.dat", "sub/d.txt", "sub/deeper/e.txt", "other/f.dat"}) {
            dir.write(name, "x");
        }
    }

    // Paths below the root as the listing writes them ("sub\\d.txt").
    std::vector<std::string> relativePaths(const std::deque<File>& files) const
    {
        std::vector<std::string> result;
        // Listed paths are joined with "\\", also before the root's own name.
        const std::string prefix = dir.path().parent_path().string() + "\\" +
                                   dir.path().filename().string() + "\\";
        for (const File& file : files) {
            const std::string full = file.fullPath();
            EXPECT_EQ(full.rfind(prefix, 0), 0u) << full;
            result.push_back(full.substr(prefix.size()));
        }
        return result;
    }
    std::vector<std::string> sortedRelativePaths(const std::deque<File>& files) const
    {
        auto result = relativePaths(files);
        std::sort(result.begin(), result.end());
        return result;
    }
    std::string root() const { return dir.str(); }

    zudo::test::TempDir dir;
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(DirListing, PatternSelectsFilesIgnoringLetterCase)
{
    DirList list(root() + "\\*.txt");
    EXPECT_EQ(sortedRelativePaths(list.files()), (Names{"a.txt", "b.TXT"}));

    DirList all(root() + "/*.*");
    EXPECT_EQ(sortedRelativePaths(all.files()), (Names{"a.txt", "b.TXT", "c.dat"}));
}

TEST_F(DirListing, DirectoriesOnlyWithoutDotEntries)
{
    DirListSpec spec;
    spec.pattern = root() + "\\*";
    spec.listFiles = false;
    spec.listDirectories = true;
    DirList list(spec);
    EXPECT_EQ(sortedRelativePaths(list.files()), (Names{"other", "sub"}));
}

TEST_F(DirListing, RecursiveListingPutsEachSubdirectoryRightAfterItsEntry)
{
    DirListSpec spec;
    spec.pattern = root() + "\\*";
    spec.recursive = true;
    spec.listDirectories = true;
    DirList list(spec);
    const auto paths = relativePaths(list.files());

    auto sorted = paths;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (Names{"a.txt", "b.TXT", "c.dat", "other", "other\\f.dat", "sub",
                             "sub\\d.txt", "sub\\deeper", "sub\\deeper\\e.txt"}));
    // Depth first: everything below a directory follows its entry as one block.
    for (const char* directory : {"sub", "sub\\deeper", "other"}) {
        SCOPED_TRACE(directory);
        const auto at = std::find(paths.begin(), paths.end(), directory);
        ASSERT_NE(at, paths.end());
        const std::string prefix = std::string(directory) + "\\";
        const auto below = std::count_if(paths.begin(), paths.end(), [&](const std::string& p) {
            return p.rfind(prefix, 0) == 0;
        });
        const auto block = std::find_if(at + 1, paths.end(), [&](const std::string& p) {
            return p.rfind(prefix, 0) != 0;
        });
        EXPECT_EQ(block - (at + 1), below);
    }
}

TEST_F(DirListing, RecursionUsesTheSameWildcard)
{
    DirListSpec spec;
    spec.pattern = root() + "\\*.txt";
    spec.recursive = true;
    // Subdirectories are only entered when their own names match.
    EXPECT_EQ(sortedRelativePaths(DirList(spec).files()), (Names{"a.txt", "b.TXT"}));

    spec.pattern = root() + "\\*";
    spec.excluded = {File("C:\\elsewhere\\SUB"), File("c.DAT")};
    EXPECT_EQ(sortedRelativePaths(DirList(spec).files()),
              (Names{"a.txt", "b.TXT", "other\\f.dat"}));
}

TEST_F(DirListing, ReadsOnceUntilAskedAgain)
{
    DirList list(root() + "\\*.dat");
    ASSERT_EQ(list.files().size(), 1u);
    dir.write("new.dat", "x");
    EXPECT_EQ(list.files().size(), 1u);
    list.readDir();
    EXPECT_EQ(list.files().size(), 2u);
}

TEST_F(DirListing, PatternWithoutDirectoryListsTheCurrentDirectory)
{
    const std::string previous = zudo::platform::currentDirectory();
    ASSERT_TRUE(zudo::platform::setCurrentDirectory(root()));
    DirList list("*.dat");
    const auto files = list.files();
    zudo::platform::setCurrentDirectory(previous);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.front().fullPath(), "c.dat");
}

TEST_F(DirListing, MissingDirectoryOrNoMatchListsNothing)
{
    EXPECT_TRUE(DirList(root() + "\\missing\\*.txt").files().empty());
    EXPECT_TRUE(DirList(root() + "\\*.none").files().empty());
}

TEST_F(DirListing, OtherFailuresThrowWithTheErrorNumber)
{
    // Wildcards belong in the last part of a pattern only.
    const std::string pattern = root() + "\\*\\*.txt";
    DirList list(pattern);
    try {
        list.readDir();
        ADD_FAILURE() << "no exception";
    } catch (const zudo::Exception& e) {
        EXPECT_EQ(e.message(), "scan dir failed: " + pattern + " errno: " +
                                   std::to_string(EINVAL) + " - " +
                                   zudo::platform::errorText(EINVAL));
        EXPECT_EQ(e.location(), "zudo::io::DirList::readDir()");
    }
}
