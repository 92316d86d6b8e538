// Reading and fixing up executable images, on synthetic files built here
// byte by byte after the published layout of 32-bit Windows images.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "util/mem/pe/PeImage.hpp"

namespace {

namespace pe = zudo::util::mem::pe;
using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    if (bytes.size() < offset + 4) {
        bytes.resize(offset + 4);
    }
    std::memcpy(bytes.data() + offset, &value, 4);
}

void put16(Bytes& bytes, std::size_t offset, std::uint16_t value)
{
    if (bytes.size() < offset + 2) {
        bytes.resize(offset + 2);
    }
    std::memcpy(bytes.data() + offset, &value, 2);
}

void putText(Bytes& bytes, std::size_t offset, const std::string& text)
{
    if (bytes.size() < offset + text.size() + 1) {
        bytes.resize(offset + text.size() + 1);
    }
    std::memcpy(bytes.data() + offset, text.c_str(), text.size() + 1);
}

std::uint32_t get32(const Bytes& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// A file with headers at 0x40 and three sections:
//   .text  VA 0x1000, file 0x200, 0x200 bytes
//   .idata VA 0x2000, file 0x400, 0x200 bytes
//   .reloc VA 0x3000, file 0x600, virtual size 0 (its raw size counts)
// Preferred base 0x00400000, size of image 0x4000.
struct SyntheticImage {
    static constexpr std::size_t nt = 0x40;
    static constexpr std::size_t optional = nt + 24;
    static constexpr std::size_t sectionTable = optional + 224;
    Bytes file = Bytes(0x800, 0);

    SyntheticImage()
    {
        put16(file, 0, 0x5A4D);
        put32(file, 0x3C, nt);
        put32(file, nt, 0x00004550);
        put16(file, nt + 4, 0x14C);
        put16(file, nt + 6, 3);
        put16(file, nt + 20, 224);
        put16(file, optional, 0x10B);
        put32(file, optional + 16, 0x1000);
        put32(file, optional + 28, 0x00400000);
        put32(file, optional + 56, 0x4000);
        put32(file, optional + 60, 0x200);
        put32(file, optional + 92, 16);
        section(0, ".text", 0x1000, 0x200, 0x200, 0x200);
        section(1, ".idata", 0x2000, 0x200, 0x400, 0x200);
        section(2, ".reloc", 0x3000, 0, 0x600, 0x200);
    }

    void section(int index, const std::string& name, std::uint32_t va, std::uint32_t virtualSize,
                 std::uint32_t rawOffset, std::uint32_t rawSize)
    {
        const std::size_t at = sectionTable + 40 * index;
        std::memcpy(file.data() + at, name.data(), name.size());
        put32(file, at + 8, virtualSize);
        put32(file, at + 12, va);
        put32(file, at + 16, rawSize);
        put32(file, at + 20, rawOffset);
    }

    void directory(int index, std::uint32_t rva, std::uint32_t size)
    {
        put32(file, optional + 96 + 8 * index, rva);
        put32(file, optional + 100 + 8 * index, size);
    }

    // File offset of an RVA in one of the three sections.
    static std::size_t at(std::uint32_t rva)
    {
        return rva >= 0x3000 ? rva - 0x3000 + 0x600 : rva >= 0x2000 ? rva - 0x2000 + 0x400
                                                                    : rva - 0x1000 + 0x200;
    }
    void value(std::uint32_t rva, std::uint32_t v) { put32(file, at(rva), v); }
    void word(std::uint32_t rva, std::uint16_t v) { put16(file, at(rva), v); }
    void text(std::uint32_t rva, const std::string& t) { putText(file, at(rva), t); }
};

TEST(PeImage, HeadersAndSections)
{
    SyntheticImage image;
    image.directory(1, 0x2000, 0x28);
    image.directory(5, 0x3000, 0x10);
    const auto headers = pe::parseHeaders(image.file);
    ASSERT_TRUE(headers);
    EXPECT_EQ(headers->machine, 0x14C);
    EXPECT_EQ(headers->imageBase, 0x00400000u);
    EXPECT_EQ(headers->sizeOfImage, 0x4000u);
    EXPECT_EQ(headers->sizeOfHeaders, 0x200u);
    EXPECT_EQ(headers->entryPointRva, 0x1000u);
    EXPECT_EQ(headers->imports.rva, 0x2000u);
    EXPECT_EQ(headers->relocations.size, 0x10u);

    const auto sections = pe::sections(image.file, *headers);
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[1].name, ".idata");
    EXPECT_EQ(sections[1].rawOffset, 0x400u);

    struct Case {
        std::uint32_t rva;
        std::optional<std::uint32_t> offset;
    };
    for (const Case c : {Case{0x1000, 0x200}, Case{0x11FF, 0x3FF}, Case{0x1200, std::nullopt},
                         Case{0x2010, 0x410}, Case{0x31FF, 0x7FF} /* raw size stands in */,
                         Case{0x3200, std::nullopt}, Case{0x0FFF, std::nullopt}}) {
        SCOPED_TRACE(c.rva);
        EXPECT_EQ(pe::fileOffset(sections, c.rva), c.offset);
    }
}

TEST(PeImage, RejectsWhatIsNotA32BitImage)
{
    struct Case {
        const char* what;
        std::size_t offset;
        std::uint16_t value;
    };
    for (const Case c : {Case{"no MZ", 0, 0x4D5A}, Case{"no PE signature", 0x40, 0x4550 + 1},
                         Case{"64-bit optional header", 0x40 + 24, 0x20B}}) {
        SCOPED_TRACE(c.what);
        SyntheticImage image;
        put16(image.file, c.offset, c.value);
        std::string problem;
        EXPECT_FALSE(pe::parseHeaders(image.file, &problem));
        EXPECT_FALSE(problem.empty());
    }
    EXPECT_FALSE(pe::parseHeaders(Bytes{0x4D, 0x5A}));
    SyntheticImage truncated;
    truncated.file.resize(0x100); // the section table is cut off
    EXPECT_FALSE(pe::parseHeaders(truncated.file));
}

TEST(PeImage, RelocationBlocksAndEntryTypes)
{
    SyntheticImage image;
    image.directory(5, 0x3000, 0x40);
    // Block 1: page 0x1000, 6 entries.
    image.value(0x3000, 0x1000);
    image.value(0x3004, 8 + 2 * 6);
    image.word(0x3008, 0x3010);  // high-low at 0x1010
    image.word(0x300A, 0x0000);  // padding, skipped
    image.word(0x300C, 0x4020);  // high-adjust: takes the next entry along
    image.word(0x300E, 0x3024);  // ...which is therefore not a high-low entry
    image.word(0x3010, 0xA030);  // 64-bit entry: skipped
    image.word(0x3012, 0x3FFC);  // high-low at 0x1FFC
    // Block 2: page 0x2000, 1 entry (and 2 bytes of padding).
    image.value(0x3014, 0x2000);
    image.value(0x3018, 12);
    image.word(0x301C, 0x3004);
    // Block 3: page 0 ends the table although the directory says more follows.
    image.value(0x3020, 0);
    image.value(0x3024, 12);
    image.word(0x3028, 0x3100);

    EXPECT_EQ(pe::highLowRelocations(image.file, *pe::parseHeaders(image.file)),
              (std::vector<std::uint32_t>{0x1010, 0x1FFC, 0x2004}));

    SCOPED_TRACE("a block of size 7 or less ends the table as well");
    image.value(0x3020, 0x1000);
    image.value(0x3024, 7);
    EXPECT_EQ(pe::highLowRelocations(image.file, *pe::parseHeaders(image.file)),
              (std::vector<std::uint32_t>{0x1010, 0x1FFC, 0x2004}));
}

TEST(PeImage, RelocationTableEdges)
{
    SyntheticImage image;
    EXPECT_EQ(pe::highLowRelocations(image.file, *pe::parseHeaders(image.file)),
              std::vector<std::uint32_t>{})
        << "no relocation table";

    image.directory(5, 0x5000, 0x10);
    std::string problem;
    EXPECT_FALSE(pe::highLowRelocations(image.file, *pe::parseHeaders(image.file), &problem))
        << "table in no section";

    image.directory(5, 0x3000, 0x100);
    image.value(0x3000, 0x1000);
    image.value(0x3004, 0x1000); // runs past the end of the file
    EXPECT_FALSE(pe::highLowRelocations(image.file, *pe::parseHeaders(image.file)));
}

// Imports: KERNEL32.dll with a lookup table (a name and an ordinal), and
// USER32.dll without one (its address table holds the thunks).
SyntheticImage withImports()
{
    SyntheticImage image;
    image.directory(1, 0x2000, 60);
    // Descriptor 1 at 0x2000: lookup 0x2100, name 0x2180, address table 0x2140.
    image.value(0x2000, 0x2100);
    image.value(0x200C, 0x2180);
    image.value(0x2010, 0x2140);
    // Descriptor 2 at 0x2014: no lookup table, name 0x2190, address table 0x2150.
    image.value(0x2020, 0x2190);
    image.value(0x2024, 0x2150);
    // Descriptor 3 at 0x2028: all zero, ends the list.
    image.value(0x2100, 0x21A0);      // by name: hint, then "GetTickCount"
    image.value(0x2104, 0x80000010u); // by ordinal 16
    image.value(0x2140, 0x21A0);
    image.value(0x2144, 0x80000010u);
    image.value(0x2150, 0x21C0);      // by name: "MessageBoxA"
    image.text(0x2180, "KERNEL32.dll");
    image.text(0x2190, "USER32.dll");
    image.word(0x21A0, 7);
    image.text(0x21A2, "GetTickCount");
    image.word(0x21C0, 0);
    image.text(0x21C2, "MessageBoxA");
    return image;
}

TEST(PeImage, ImportDescriptorsOfAMappedImage)
{
    const SyntheticImage image = withImports();
    const auto mapped = pe::mapFile(image.file);
    ASSERT_TRUE(mapped);
    ASSERT_EQ(mapped->size(), 0x4000u);
    EXPECT_EQ(get32(*mapped, 0x2000), 0x2100u) << "sections at their virtual addresses";

    const auto libraries = pe::importLibraries(*mapped, *pe::parseHeaders(*mapped));
    ASSERT_TRUE(libraries);
    ASSERT_EQ(libraries->size(), 2u);
    const pe::ImportLibrary& kernel = (*libraries)[0];
    EXPECT_EQ(kernel.name, "KERNEL32.dll");
    EXPECT_EQ(kernel.descriptorRva, 0x2000u);
    ASSERT_EQ(kernel.thunks.size(), 2u);
    EXPECT_FALSE(kernel.thunks[0].byOrdinal);
    EXPECT_EQ(kernel.thunks[0].name, "GetTickCount");
    EXPECT_EQ(kernel.thunks[0].iatRva, 0x2140u);
    EXPECT_TRUE(kernel.thunks[1].byOrdinal);
    EXPECT_EQ(kernel.thunks[1].ordinal, 16);
    EXPECT_EQ(kernel.thunks[1].iatRva, 0x2144u);
    const pe::ImportLibrary& user = (*libraries)[1];
    EXPECT_EQ(user.name, "USER32.dll");
    ASSERT_EQ(user.thunks.size(), 1u);
    EXPECT_EQ(user.thunks[0].name, "MessageBoxA");
    EXPECT_EQ(user.thunks[0].iatRva, 0x2150u);
}

TEST(PeImage, AppliedImportsFillTheAddressTableAndMarkTheDescriptors)
{
    const SyntheticImage image = withImports();
    Bytes mapped = *pe::mapFile(image.file);
    const auto libraries = *pe::importLibraries(mapped, *pe::parseHeaders(mapped));

    pe::ImportResolver resolver;
    resolver.library = [](const std::string& name) -> std::optional<std::uint32_t> {
        return name == "KERNEL32.dll" ? 0x70000000u : 0x71000000u;
    };
    resolver.function = [](std::uint32_t library, const pe::ImportThunk& thunk) {
        return library + (thunk.byOrdinal ? thunk.ordinal : static_cast<std::uint32_t>(thunk.name.size()));
    };
    ASSERT_TRUE(pe::applyImports(mapped, libraries, resolver));
    EXPECT_EQ(get32(mapped, 0x2140), 0x70000000u + 12); // "GetTickCount"
    EXPECT_EQ(get32(mapped, 0x2144), 0x70000000u + 16); // ordinal 16
    EXPECT_EQ(get32(mapped, 0x2150), 0x71000000u + 11); // "MessageBoxA"
    EXPECT_EQ(get32(mapped, 0x2004), 0xCDC31337u);
    EXPECT_EQ(get32(mapped, 0x2008), 0x70000000u);
    EXPECT_EQ(get32(mapped, 0x2018), 0xCDC31337u);
    EXPECT_EQ(get32(mapped, 0x201C), 0x71000000u);
    EXPECT_EQ(get32(mapped, 0x2100), 0x21A0u) << "the lookup table stays as it was";
}

TEST(PeImage, ALibraryThatCannotBeLoadedFailsTheImports)
{
    const SyntheticImage image = withImports();
    Bytes mapped = *pe::mapFile(image.file);
    const auto libraries = *pe::importLibraries(mapped, *pe::parseHeaders(mapped));
    pe::ImportResolver resolver;
    resolver.library = [](const std::string& name) -> std::optional<std::uint32_t> {
        if (name == "USER32.dll") {
            return std::nullopt;
        }
        return 0x70000000u;
    };
    resolver.function = [](std::uint32_t, const pe::ImportThunk&) { return 1u; };
    std::string problem;
    EXPECT_FALSE(pe::applyImports(mapped, libraries, resolver, &problem));
    EXPECT_NE(problem.find("USER32.dll"), std::string::npos);
}

TEST(PeImage, ImportTablesThatOverlapAreRefused)
{
    // USER32.dll's address table moved to 0x1000: count thunks there, each
    // naming the same import of 100 characters at 0x3000 (hint, then name).
    const auto importsWith = [](std::uint32_t count) {
        Bytes mapped = *pe::mapFile(withImports().file);
        put32(mapped, 0x2024, 0x1000);
        for (std::uint32_t i = 0; i < count; ++i) {
            put32(mapped, 0x1000 + 4 * i, 0x3000);
        }
        put32(mapped, 0x1000 + 4 * count, 0);
        putText(mapped, 0x3002, std::string(100, 'n'));
        std::string problem;
        const auto libraries = pe::importLibraries(mapped, *pe::parseHeaders(mapped), &problem);
        return std::make_pair(libraries, problem);
    };
    // 20 thunks: 20 x (4 + 100) bytes, well inside the image of 0x4000.
    const auto [few, fewProblem] = importsWith(20);
    ASSERT_TRUE(few) << fewProblem;
    EXPECT_EQ((*few)[1].thunks.size(), 20u);
    // 1000 thunks would hold 104,000 bytes for an image of 16,384.
    const auto [many, problem] = importsWith(1000);
    EXPECT_FALSE(many);
    EXPECT_EQ(problem, "import tables of USER32.dll larger than the image");
}

TEST(PeImage, RelocationsMoveValuesAndReportThoseOutOfReachOnce)
{
    Bytes image(0x4000, 0);
    put32(image, 0x1010, 0x00401234); // inside the image at the preferred base
    put32(image, 0x1020, 0x00403FFC); // last word of the image
    put32(image, 0x1030, 0x00404000); // just past its end
    put32(image, 0x1040, 0x00404000); // the same value again: reported once
    put32(image, 0x1050, 0x003FFFFF); // just before its start
    std::ostringstream out;
    const bool inReach = pe::applyRelocations(image, {0x1010, 0x1020, 0x1030, 0x1040, 0x1050},
                                              0x10000000, 0x00400000, 0x00400000, out);
    EXPECT_FALSE(inReach);
    EXPECT_EQ(out.str(), "out of reach: *pdw = 0x00404000\nout of reach: *pdw = 0x003fffff\n");
    EXPECT_EQ(get32(image, 0x1010), 0x10001234u);
    EXPECT_EQ(get32(image, 0x1020), 0x10003FFCu);
    EXPECT_EQ(get32(image, 0x1030), 0x10004000u) << "written all the same";
    EXPECT_EQ(get32(image, 0x1050), 0x0FFFFFFFu);
}

TEST(PeImage, RelocationsOfAnImageTheLoaderHadAlreadyMoved)
{
    // The library loader put the image at 0x00800000 and relocated it there;
    // it now lies at 0x02000000.
    Bytes image(0x4000, 0);
    put32(image, 0x1010, 0x00801234);
    put32(image, 0x1020, 0x00900000);
    std::ostringstream out;
    EXPECT_FALSE(pe::applyRelocations(image, {0x1010, 0x1020}, 0x02000000, 0x00800000, 0x00400000, out));
    EXPECT_EQ(get32(image, 0x1010), 0x02001234u);
    EXPECT_EQ(out.str(), "out of reach: *pdw = 0x00500000\n") << "the value at the preferred base";

    std::ostringstream none;
    Bytes clean(0x100, 0);
    put32(clean, 0x10, 0x00400010);
    EXPECT_TRUE(pe::applyRelocations(clean, {0x10}, 0x00400000, 0x00400000, 0x00400000, none));
    EXPECT_EQ(get32(clean, 0x10), 0x00400010u);
    EXPECT_EQ(none.str(), "");
    EXPECT_FALSE(pe::applyRelocations(clean, {0xFE}, 0x00400000, 0x00400000, 0x00400000, none))
        << "an entry outside the image";
}

TEST(PeImage, ExportsByName)
{
    SyntheticImage image;
    image.directory(0, 0x2000, 0x60);
    image.value(0x2014, 2);      // functions
    image.value(0x2018, 2);      // names
    image.value(0x201C, 0x2040); // function table
    image.value(0x2020, 0x2048); // name table
    image.value(0x2024, 0x2050); // ordinal table
    image.value(0x2040, 0x1100);
    image.value(0x2044, 0x1200);
    image.value(0x2048, 0x2060);
    image.value(0x204C, 0x2070);
    image.word(0x2050, 1);
    image.word(0x2052, 0);
    image.text(0x2060, "alpha");
    image.text(0x2070, "beta");
    const Bytes mapped = *pe::mapFile(image.file);
    const pe::Headers headers = *pe::parseHeaders(mapped);
    EXPECT_EQ(pe::exportRva(mapped, headers, "alpha"), 0x1200u);
    EXPECT_EQ(pe::exportRva(mapped, headers, "beta"), 0x1100u);
    EXPECT_EQ(pe::exportRva(mapped, headers, "gamma"), std::nullopt);
}

} // namespace
