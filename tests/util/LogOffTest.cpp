// With logging switched off (as delivered), records are composed and cleared
// but nothing reaches a file.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.hpp"
#include "util/Log.hpp"

using namespace zudo::util;

TEST(LogSwitchedOff, WritesNothing)
{
    if (loggingSwitchedOn()) {
        GTEST_SKIP() << "built with ZUDO_LOGGING=ON";
    }
    zudo::test::TempDir directory;
    setLogDirectory(directory.str() + "/");

    Log log;
    EXPECT_FALSE(log.isEnabled());
    log << "zudo::f() - " << "value = " << 1 << endLog;
    EXPECT_TRUE(log.str().empty());
    useListingToolLog();
    Log other;
    other << "text" << endLog;

    EXPECT_TRUE(std::filesystem::is_empty(directory.path()));
    setLogDirectory("");
}
