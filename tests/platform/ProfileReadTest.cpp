// Reads of private-profile files. The same expectations hold natively (the
// POSIX emulation) and under Wine (the real GetPrivateProfileStringA).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlatformTestSupport.hpp"
#include "support/TempDir.hpp"

namespace zudo::test {
namespace {

using Names = std::vector<std::string>;

struct ValueCase {
    const char* key;
    const char* expected;
};

TEST(ProfileRead, ValuesAreTrimmedUnquotedAndTakenWhole)
{
    TempDir dir;
    const std::string file = dir.write("values.ini",
                                       "[Values]\r\n"
                                       "blanks =   value with blanks   \r\n"
                                       "tabs=\tvalue\t\r\n"
                                       "quoted=\"quoted value\"\r\n"
                                       "single='single'\r\n"
                                       "inner=  \"  a  \"  \r\n"
                                       "open=\"open only\r\n"
                                       "mixed=\"a'\r\n"
                                       "comment=abc ; x\r\n"
                                       "equals=a=b\r\n"
                                       "  spaced key  = found\r\n"
                                       "#hash=not a comment\r\n"
                                       "; commented=1\r\n");
    const ValueCase cases[] = {
        {"blanks", "value with blanks"}, {"tabs", "value"},         {"quoted", "quoted value"},
        {"single", "single"},            {"inner", "  a  "},        {"open", "\"open only"},
        {"mixed", "\"a'"},               {"comment", "abc ; x"},    {"equals", "a=b"},
        {"spaced key", "found"},         {" spaced key ", "found"}, {"#hash", "not a comment"},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.key);
        const ProfileRead read = readProfile(file, "Values", c.key, "default");
        EXPECT_EQ(read.text, c.expected);
        EXPECT_EQ(read.count, std::string(c.expected).size());
    }
    EXPECT_EQ(names(file, "Values"), (Names{"blanks", "tabs", "quoted", "single", "inner", "open", "mixed",
                                            "comment", "equals", "spaced key", "#hash"}))
        << "a ';' line is a comment, a '#' line is not";
}

TEST(ProfileRead, MissingKeysGiveTheDefaultAndEmptyValuesDoNot)
{
    TempDir dir;
    const std::string file = dir.write("defaults.ini", "[S]\r\nempty=\r\nnoequals\r\n");
    EXPECT_EQ(readValue(file, "S", "empty", "default"), "");
    EXPECT_EQ(readValue(file, "S", "noequals", "default"), "default") << "a line without '=' is no key";
    EXPECT_EQ(readValue(file, "S", "missing", "  def  "), "  def") << "trailing blanks cut, leading kept";
    EXPECT_EQ(readValue(file, "Nowhere", "empty", "x"), "x");
    const ProfileRead noDefault = readProfile(file, "S", "missing", nullptr);
    EXPECT_EQ(noDefault.count, 0u);
    EXPECT_EQ(noDefault.text, "");
    EXPECT_EQ(readValue(dir.file("absent.ini"), "S", "k", "fallback"), "fallback") << "a missing file reads empty";
}

TEST(ProfileRead, NamesIgnoreLetterCaseAndSurroundingBlanks)
{
    TempDir dir;
    const std::string file = dir.write("names.ini", "  [Indented]  \r\nKey=1\r\n[ Padded ]\r\nOther = 2\r\n");
    EXPECT_EQ(readValue(file, "indented", "KEY"), "1");
    EXPECT_EQ(readValue(file, "  PADDED ", " other"), "2");
    EXPECT_EQ(names(file, nullptr), (Names{"Indented", "Padded"}));
}

TEST(ProfileRead, FirstOfDuplicateKeysAndSectionsWins)
{
    TempDir dir;
    const std::string file = dir.write("dup.ini",
                                       "[Dup]\r\nk=first\r\nK=second\r\n"
                                       "[Other]\r\nx=1\r\n"
                                       "[dup]\r\nk=third\r\nonly=in the second\r\n");
    EXPECT_EQ(readValue(file, "DUP", "k"), "first");
    EXPECT_EQ(readValue(file, "Dup", "only", "missing"), "missing") << "duplicate sections are not merged";
    EXPECT_EQ(names(file, nullptr), (Names{"Dup", "Other", "dup"})) << "the section list shows both";
    EXPECT_EQ(names(file, "dup"), (Names{"k", "K"})) << "the keys of the first only";
}

TEST(ProfileRead, HeadersNeedTheirBracketAndKeysMayPrecedeEverySection)
{
    TempDir dir;
    const std::string file = dir.write("headers.ini",
                                       "top=before any section\r\n"
                                       "[Good] trailing text\r\na=1\r\n"
                                       "[Unterminated\r\nb=2\r\n");
    EXPECT_EQ(readValue(file, "", "top"), "before any section");
    EXPECT_EQ(readValue(file, "Good", "b"), "2") << "keys after an unterminated header stay in the section before";
    EXPECT_EQ(readValue(file, "Unterminated", "b", "none"), "none");
    EXPECT_EQ(names(file, nullptr), (Names{"Good"})) << "the unnamed section is never listed";
}

TEST(ProfileRead, LineEndsAndByteOrderMarkReadAlike)
{
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(end == "\n" ? "LF" : end == "\r" ? "CR" : "CRLF");
        TempDir dir;
        const std::string file =
            dir.write("eol.ini", "\xEF\xBB\xBF[A]" + end + "k=1" + end + end + "[B]" + end + "k=2" + end + "j=3");
        EXPECT_EQ(readValue(file, "A", "k"), "1") << "the byte-order mark is no part of the first header";
        EXPECT_EQ(readValue(file, "B", "k"), "2");
        EXPECT_EQ(readValue(file, "B", "j"), "3") << "the last line needs no line end";
        EXPECT_EQ(names(file, nullptr), (Names{"A", "B"}));
    }
}

TEST(ProfileRead, Utf8ValuesPassThroughByteForByte)
{
    TempDir dir;
    const std::string value = "K\xC3\xB6ln \xE2\x82\xAC";
    const std::string file = dir.write("utf8.ini", "[S]\r\nk=" + value + "\r\n");
    EXPECT_EQ(readValue(file, "S", "k"), value);
}

TEST(ProfileRead, ListingsEndInTwoNuls)
{
    TempDir dir;
    const std::string file = dir.write("list.ini", "[One]\r\nk1=1\r\nk2=2\r\n[Two]\r\n[Three]\r\n");
    std::uint32_t count = 0;
    EXPECT_EQ(listingBuffer(file, nullptr, 100, count), std::string("One\0Two\0Three\0\0", 15));
    EXPECT_EQ(count, 14u);
    EXPECT_EQ(listingBuffer(file, "one", 100, count), std::string("k1\0k2\0\0", 7));
    EXPECT_EQ(count, 6u);
    EXPECT_EQ(listingBuffer(dir.file("absent.ini"), nullptr, 100, count), std::string("\0", 1));
    EXPECT_EQ(count, 0u);
}

struct CutListing {
    std::uint32_t size;
    std::uint32_t count;
    std::string buffer; // the whole buffer of size characters
};

// A listing that does not fit is cut in its last name, ended with two NULs,
// and reports size - 2, even when only the final NUL is missing. (Windows
// documents this; Wine's ANSI function leaves the last byte alone, which the
// platform layer writes.)
TEST(ProfileRead, ListingsThatDoNotFitAreCutAndReportSizeMinusTwo)
{
    TempDir dir;
    const std::string file = dir.write("cut.ini", "[One]\r\nk1=1\r\nk2=2\r\n[Two]\r\n[Three]\r\n");
    const CutListing sections[] = {
        {16, 14, std::string("One\0Two\0Three\0\0\0", 16)}, // fits, the last byte unused
        {15, 13, std::string("One\0Two\0Three\0\0", 15)},   // fits exactly: still reported as cut
        {14, 12, std::string("One\0Two\0Thre\0\0", 14)},
        {9, 7, std::string("One\0Two\0\0", 9)},
        {8, 6, std::string("One\0Tw\0\0", 8)},
        {6, 4, std::string("One\0\0\0", 6)},
        {3, 1, std::string("O\0\0", 3)},
        {2, 0, std::string("\0\0", 2)},
        {1, 0, std::string("\0", 1)},
    };
    for (const CutListing& c : sections) {
        SCOPED_TRACE("size " + std::to_string(c.size));
        std::vector<char> buffer(c.size, '\0');
        const auto count = platform::profileString(nullptr, nullptr, "", buffer.data(), c.size, file);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(std::string(buffer.data(), c.size), c.buffer);
    }
    std::vector<char> keys(6, '\0');
    EXPECT_EQ(platform::profileString("One", nullptr, "", keys.data(), 6, file), 4u);
    EXPECT_EQ(std::string(keys.data(), 6), std::string("k1\0k\0\0", 6));
}

TEST(ProfileRead, ValuesAreCutToTheBuffer)
{
    TempDir dir;
    const std::string file = dir.write("cut.ini", "[S]\r\nk=abcdefgh\r\n");
    const struct {
        std::uint32_t size;
        const char* expected;
    } cases[] = {{100, "abcdefgh"}, {9, "abcdefgh"}, {8, "abcdefg"}, {4, "abc"}, {1, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE("size " + std::to_string(c.size));
        const ProfileRead read = readProfile(file, "S", "k", "", c.size);
        EXPECT_EQ(read.text, c.expected);
        EXPECT_EQ(read.count, std::string(c.expected).size());
    }
    EXPECT_EQ(readProfile(file, "S", "missing", "defaultvalue", 5).text, "defa") << "defaults are cut alike";
}

TEST(ProfileRead, EmptyAndBinaryFilesReadSanely)
{
    TempDir dir;
    const std::string empty = dir.write("empty.ini", "");
    EXPECT_EQ(readValue(empty, "S", "k", "d"), "d");
    EXPECT_TRUE(names(empty, nullptr).empty());

    std::string bytes(64 * 1024, '\0');
    std::uint32_t state = 12345;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 24);
    }
    const std::string binary = dir.write("binary.ini", bytes);
    EXPECT_EQ(readValue(binary, "Settings", "carsIniName", "Cars.ini"), "Cars.ini");
    std::uint32_t count = 0;
    const std::string listing = listingBuffer(binary, nullptr, 4096, count);
    ASSERT_LT(count, 4096u);
    EXPECT_EQ(listing[count], '\0');
}

// Ten megabytes with a line of one megabyte: the long value is cut to the
// buffer and everything after it is still found.
TEST(ProfileRead, LargeFileWithOneMegabyteLine)
{
    TempDir dir;
    std::string content;
    content.reserve(11u << 20);
    content += "[Long]\r\nvalue=" + std::string(1u << 20, 'x') + "\r\nafter=found\r\n";
    int sections = 0;
    char line[64];
    while (content.size() < (10u << 20)) {
        std::snprintf(line, sizeof line, "[Section%05d]\r\n", sections);
        content += line;
        for (int key = 0; key < 10; ++key) {
            std::snprintf(line, sizeof line, "key%d=value %d of %05d\r\n", key, key, sections);
            content += line;
        }
        ++sections;
    }
    const std::string file = dir.write("large.ini", content);

    const ProfileRead value = readProfile(file, "Long", "value");
    EXPECT_EQ(value.count, 4095u);
    EXPECT_EQ(value.text, std::string(4095, 'x'));
    EXPECT_EQ(readValue(file, "Long", "after"), "found");
    std::snprintf(line, sizeof line, "Section%05d", sections - 1);
    EXPECT_EQ(readValue(file, line, "key7"), "value 7 of " + std::string(line + 7));
    const Names listed = names(file, nullptr);
    ASSERT_EQ(listed.size(), static_cast<std::size_t>(sections) + 1);
    EXPECT_EQ(listed.front(), "Long");
    EXPECT_EQ(listed.back(), line);
}

} // namespace
} // namespace zudo::test
