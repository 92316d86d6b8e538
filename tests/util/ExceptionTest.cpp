#include <gtest/gtest.h>

#include "util/Exception.hpp"

using zudo::Exception;

TEST(Exception, FullTextJoinsLocationAndMessage)
{
    Exception located("scan dir failed", "zudo::io::DirList::readDir()");
    EXPECT_EQ(located.fullText(), "zudo::io::DirList::readDir(): scan dir failed");

    Exception unlocated("open stream failed on file: x");
    EXPECT_EQ(unlocated.location(), "<unspecified>");
    EXPECT_EQ(unlocated.fullText(), "<unspecified>: open stream failed on file: x");

    unlocated.setLocation("");
    EXPECT_EQ(unlocated.fullText(), "open stream failed on file: x");
    unlocated.setMessage("other");
    EXPECT_EQ(unlocated.message(), "other");
    EXPECT_EQ(unlocated.fullText(), "other");
}
