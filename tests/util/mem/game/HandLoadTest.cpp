// Loading an executable by hand, on real executables that this project builds
// for the purpose (Windows build, under Wine): tests/util/mem/game/hostimage/
// HostImage.c, linked at 0x00400000.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <span>
#include <sstream>
#include <string>

#include "platform/Platform.hpp"
#include "support/TempDir.hpp"
#include "util/mem/HostCall.hpp"
#include "util/mem/pe/ManualLoader.hpp"
#include "util/mem/pe/PeImage.hpp"

namespace {

using zudo::util::mem::HostAddress;
namespace mem = zudo::util::mem;
namespace pe = zudo::util::mem::pe;
namespace platform = zudo::platform;


std::string besideTheTest(const std::string& name)
{
    const std::string self = platform::executablePath();
    return self.substr(0, self.find_last_of("\\/") + 1) + name;
}

// The RVA of an export of the file at path (from its bytes, not by loading).
std::uint32_t exportRvaInFile(const std::string& path, const char* name)
{
    const std::string file = zudo::test::readFile(path);
    const auto mapped = pe::mapFile(
        {reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
    EXPECT_TRUE(mapped) << path;
    if (!mapped) {
        return 0;
    }
    const auto rva = pe::exportRva(*mapped, *pe::parseHeaders(*mapped), name);
    EXPECT_TRUE(rva) << name;
    return rva.value_or(0);
}

class ManualLoader : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (image.base) {
            mem::unloadImageByHand(image);
        }
    }
    mem::HandLoadedImage image;
};

TEST_F(ManualLoader, LoadedImageHasItsRelocationsAndImportsApplied)
{
    const std::string path = besideTheTest("zudo_test_hostimage.exe");
    std::ostringstream out;
    image = mem::loadImageByHand(path, out);
    ASSERT_FALSE(image.base.isNull()) << image.problem;
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(image.base.value(), 0x00400000u) << "this program's own image sits there";

    const std::uint32_t value = exportRvaInFile(path, "probeValue");
    const std::uint32_t probeAddress = exportRvaInFile(path, "probeAddress");
    const std::uint32_t probeProcessId = exportRvaInFile(path, "probeProcessId");
    EXPECT_EQ(image.base.read<std::int32_t>(value), 1234);

    const auto address = mem::callHostRoutine<HostAddress>(mem::CallingConvention::Cdecl,
                                                           image.base + probeAddress, HostAddress());
    EXPECT_EQ(address, image.base + value) << "relocated pointer read through relocated code";
    const auto processId = mem::callHostRoutine<std::uint32_t>(
        mem::CallingConvention::Cdecl, image.base + probeProcessId, HostAddress());
    EXPECT_EQ(processId, platform::processId()) << "imported function resolved";

    // The import descriptor of KERNEL32.dll carries the marker and the handle.
    const std::span<const std::uint8_t> bytes(
        reinterpret_cast<const std::uint8_t*>(std::uintptr_t{image.base.value()}), image.size);
    const auto libraries = pe::importLibraries(bytes, *pe::parseHeaders(bytes));
    ASSERT_TRUE(libraries);
    ASSERT_FALSE(libraries->empty());
    const HostAddress descriptor = image.base + libraries->front().descriptorRva;
    EXPECT_EQ(descriptor.read<std::uint32_t>(4), 0xCDC31337u);
    EXPECT_EQ(descriptor.read<std::uint32_t>(8),
              static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(
                  platform::moduleHandle(libraries->front().name))));
}

TEST_F(ManualLoader, RelocatedValueOutsideTheImageFailsTheLoad)
{
    const std::string path = besideTheTest("zudo_test_hostimage_far.exe");
    const std::uint32_t value = exportRvaInFile(path, "probeValue");
    std::ostringstream out;
    image = mem::loadImageByHand(path, out);
    EXPECT_TRUE(image.base.isNull());
    EXPECT_FALSE(image.problem.empty());
    char expected[64];
    std::snprintf(expected, sizeof expected, "out of reach: *pdw = 0x%08x\n",
                  0x00400000u + value + 0x10000000u);
    EXPECT_EQ(out.str(), expected);
}

TEST_F(ManualLoader, ImportedLibraryThatCannotBeLoadedFailsTheLoad)
{
    std::string file = zudo::test::readFile(besideTheTest("zudo_test_hostimage.exe"));
    std::string lower = file;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::size_t name = lower.find("kernel32.dll");
    ASSERT_NE(name, std::string::npos);
    file.replace(name, 12, "KERNEL99.dll");
    const zudo::test::TempDir directory;
    const std::string path = directory.write("broken.exe", file);

    std::ostringstream out;
    image = mem::loadImageByHand(path, out);
    EXPECT_TRUE(image.base.isNull());
    EXPECT_NE(image.problem.find("KERNEL99.dll"), std::string::npos) << image.problem;
}

TEST_F(ManualLoader, MissingOrBrokenFilesFail)
{
    const zudo::test::TempDir directory;
    std::ostringstream out;
    for (const std::string& path :
         {directory.file("missing.exe"), directory.write("text.exe", "not an executable")}) {
        SCOPED_TRACE(path);
        image = mem::loadImageByHand(path, out);
        EXPECT_TRUE(image.base.isNull());
        EXPECT_FALSE(image.problem.empty());
    }
    EXPECT_EQ(out.str(), "");
}

} // namespace
