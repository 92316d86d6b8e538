// Against the replacement host no executable is loaded by hand: the game's
// image is only ever loaded into a 32-bit Windows process.

#include <gtest/gtest.h>

#include <sstream>

#include "util/mem/pe/ManualLoader.hpp"

namespace {

namespace mem = zudo::util::mem;

TEST(ManualLoader, IsRefused)
{
    std::ostringstream out;
    const mem::HandLoadedImage image = mem::loadImageByHand("Zoraravi_SSE.exe", out);
    EXPECT_TRUE(image.base.isNull());
    EXPECT_FALSE(image.problem.empty());
    EXPECT_EQ(out.str(), "");
}

} // namespace
