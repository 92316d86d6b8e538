// Finding the game executable. Loading one by hand is tested where it can
// happen, inside a 32-bit Windows process: tests/util/mem/game/HandLoadTest.cpp.

#include <gtest/gtest.h>

#include <string>

#include "platform/Platform.hpp"
#include "support/TempDir.hpp"
#include "util/mem/ZudoExeModule.hpp"

namespace {

using zudo::util::mem::ZudoExeModule;
namespace mem = zudo::util::mem;
namespace platform = zudo::platform;

// Runs with the current directory set to a directory of the test.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& directory) : previous_(platform::currentDirectory())
    {
        EXPECT_TRUE(platform::setCurrentDirectory(directory));
    }
    ~CurrentDirectory() { platform::setCurrentDirectory(previous_); }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    std::string previous_;
};

std::string levelsUp(int levels)
{
    std::string prefix;
    for (int i = 0; i < levels; ++i) {
        prefix += "..\\";
    }
    return prefix;
}

TEST(FindExe, TakesTheFirstCandidateThatExists)
{
    const zudo::test::TempDir root;
    root.write("a/b/c/placeholder", "");
    EXPECT_EQ(ZudoExeModule::exeName(), "Zoraravi_SSE.exe") << "no Viduzuz.ini names another";

    root.write("Zoraravi_SSE.exe", "MZ");
    {
        SCOPED_TRACE("two directories up");
        const CurrentDirectory inside(root.file("a/b"));
        EXPECT_EQ(ZudoExeModule::findExe(), "..\\..\\Zoraravi_SSE.exe");
    }
    root.write("a/b/Zoraravi_SSE.exe", "MZ");
    {
        SCOPED_TRACE("in the current directory as well: that one wins");
        const CurrentDirectory inside(root.file("a/b"));
        EXPECT_EQ(ZudoExeModule::findExe(), "Zoraravi_SSE.exe");
    }
}

TEST(FindExe, WithoutAnyCopyTheLastCandidateIsEightLevelsUp)
{
    const zudo::test::TempDir root;
    root.write("a/placeholder", "");
    const CurrentDirectory inside(root.file("a"));
    EXPECT_EQ(ZudoExeModule::findExe(), levelsUp(8) + "Zoraravi_SSE.exe");

    // The listing tool's one call: it reports where it looked and why it failed.
    const mem::HandLoadReport report = ZudoExeModule::instance().loadByHand();
    EXPECT_FALSE(report.loaded);
    EXPECT_FALSE(report.found);
    EXPECT_EQ(report.path, levelsUp(8) + "Zoraravi_SSE.exe");
    EXPECT_FALSE(report.problem.empty());
    EXPECT_TRUE(ZudoExeModule::instance().module().isNull());
}

} // namespace
