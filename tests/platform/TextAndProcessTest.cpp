// UTF-8 conversion with Windows' strict rules, and facts about the process.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Platform.hpp"

namespace zudo::test {
namespace {

namespace zp = zudo::platform;

TEST(Utf8ToUtf16, ValidTextConverts)
{
    const struct {
        const char* label;
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"ASCII", "Track", u"Track"},
        {"two and three bytes", "K\xC3\xB6ln \xE2\x82\xAC", u"K\u00F6ln \u20AC"},
        {"four bytes become a surrogate pair", "\xF0\x9F\x98\x80", std::u16string{0xD83D, 0xDE00}},
        {"the last code point", "\xF4\x8F\xBF\xBF", std::u16string{0xDBFF, 0xDFFF}},
        {"a noncharacter is still valid", "\xEF\xBF\xBE", std::u16string{0xFFFE}},
        {"an embedded NUL", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"nothing", "", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::u16string out = u"stale";
        ASSERT_TRUE(zp::utf8ToUtf16(c.utf8, out));
        EXPECT_EQ(out, c.utf16);
    }
}

TEST(Utf8ToUtf16, InvalidSequencesAreRejected)
{
    const struct {
        const char* label;
        std::string utf8;
    } cases[] = {
        {"overlong two bytes", "\xC0\xAF"},
        {"overlong three bytes", "a\xE0\x80\xAF"},
        {"overlong four bytes", "\xF0\x80\x80\xAF"},
        {"a surrogate encoded in UTF-8", "\xED\xA0\x80"},
        {"above U+10FFFF", "\xF4\x90\x80\x80"},
        {"lead byte F5", "\xF5\x80\x80\x80"},
        {"a cut sequence", "ok\xE2\x82"},
        {"a lone continuation byte", "\x80"},
        {"byte FF", "\xFF"},
        {"a lead byte followed by ASCII", "\xC3("},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::u16string out;
        EXPECT_FALSE(zp::utf8ToUtf16(c.utf8, out));
    }
}

TEST(Process, IdsAndExecutable)
{
    EXPECT_NE(zp::processId(), 0u);
    const std::uint32_t mainThread = zp::threadId();
    std::uint32_t otherThread = mainThread;
    std::uint32_t otherProcess = 0;
    std::thread([&] {
        otherThread = zp::threadId();
        otherProcess = zp::processId();
    }).join();
    EXPECT_NE(otherThread, mainThread);
    EXPECT_EQ(otherProcess, zp::processId());

    const std::string executable = zp::executablePath();
    const std::string name = executable.substr(executable.find_last_of("\\/") + 1);
    EXPECT_TRUE(name == "test_platform" || name == "test_platform.exe") << executable;
    zp::FileStatus status;
    EXPECT_EQ(zp::statFile(executable, status), 0);
}

TEST(Process, TickCountAdvances)
{
    const std::uint32_t start = zp::tickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::uint32_t elapsed = zp::tickCount() - start; // wraps like GetTickCount
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 60'000u);
}

TEST(Process, ProcessorTimeAndPeakMemoryGrowWithTheWork)
{
    const double before = zp::processorSeconds();
    // Work that takes a measurable share of a second on any machine; the
    // volatile sum keeps the compiler from leaving it out.
    volatile std::uint64_t sum = 0;
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(200)) {
        for (int i = 0; i < 10000; ++i) {
            sum = sum + static_cast<std::uint64_t>(i);
        }
    }
    const double used = zp::processorSeconds() - before;
    EXPECT_GT(used, 0.02) << "200 ms of busy work";
    EXPECT_LT(used, 60.0);
    if (const std::optional<double> children = zp::endedChildrenProcessorSeconds()) {
        EXPECT_GE(*children, 0.0);
    }

    // 64 MiB written page by page is resident at once: the peak holds it.
    constexpr std::size_t size = 64u << 20u;
    std::vector<char> block(size);
    for (std::size_t i = 0; i < size; i += 4096) {
        block[i] = static_cast<char>(i);
    }
    EXPECT_GE(zp::peakMemoryBytes(), size);
    EXPECT_LT(zp::peakMemoryBytes(), std::uint64_t{64} << 30u);
}

TEST(Modules, FoundOnlyInTheWindowsBuild)
{
    EXPECT_EQ(zp::loadLibrary("no-such-library.dll"), nullptr);
    EXPECT_EQ(zp::procAddress(nullptr, "GetTickCount"), nullptr);
#ifdef _WIN32
    const zp::ModuleHandle kernel = zp::moduleHandle("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    EXPECT_NE(zp::procAddress(kernel, "GetTickCount"), nullptr);
    EXPECT_EQ(zp::procAddress(kernel, "NoSuchExport"), nullptr);
    EXPECT_NE(zp::moduleHandle(""), nullptr) << "the executable itself";
    for (const bool unresolved : {false, true}) {
        SCOPED_TRACE(unresolved ? "imports unresolved" : "loaded");
        const zp::ModuleHandle library =
            unresolved ? zp::loadLibraryUnresolved("version.dll") : zp::loadLibrary("version.dll");
        ASSERT_NE(library, nullptr);
        EXPECT_NE(zp::procAddress(library, "GetFileVersionInfoSizeA"), nullptr);
        zp::freeLibrary(library);
    }
#else
    EXPECT_EQ(zp::loadLibraryUnresolved("version.dll"), nullptr);
    EXPECT_EQ(zp::moduleHandle("kernel32.dll"), nullptr);
    EXPECT_EQ(zp::moduleHandle(""), nullptr);
#endif
}

} // namespace
} // namespace zudo::test
