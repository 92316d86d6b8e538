#pragma once
// Reading and fixing up a 32-bit Windows executable image, over bytes. The
// manual loader of the game executable (ManualLoader.hpp) uses these on the
// file it read and on the copy of the image it made; being plain functions
// over bytes, they are tested on synthetic images in both builds.
//
// Two layouts appear: the file as it is on disk (sections at their raw
// offsets), and the image as the library loader maps it (sections at their
// relative virtual addresses, "RVA", from the image's start).

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zudo::util::mem::pe {

struct DataDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

struct Headers {
    std::uint16_t machine = 0;
    std::uint16_t sectionCount = 0;
    std::uint32_t sectionTableOffset = 0; // in the file (and in the image)
    std::uint32_t entryPointRva = 0;
    std::uint32_t imageBase = 0;         // the preferred load address
    std::uint32_t sizeOfImage = 0;
    std::uint32_t sizeOfHeaders = 0;
    DataDirectory exports;
    DataDirectory imports;
    DataDirectory relocations;
};

struct Section {
    std::string name;
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
};

// The headers of a 32-bit image ("MZ", "PE\0\0", optional header magic 0x10B),
// from the file or from a mapped image (they lie at the same place in both).
// Nothing when the bytes are not such an image; problem then says why.
std::optional<Headers> parseHeaders(std::span<const std::uint8_t> bytes, std::string* problem = nullptr);

std::vector<Section> sections(std::span<const std::uint8_t> bytes, const Headers& headers);

// Where rva lies in the file: in the section whose range starts at its
// virtual address and spans its virtual size (its raw size when the virtual
// size is 0), at the same distance from the section's raw offset. Nothing when
// no section holds it.
std::optional<std::uint32_t> fileOffset(const std::vector<Section>& sections, std::uint32_t rva);

// The RVAs of the 32-bit values to relocate (entries of type 3, "high-low"),
// read from the file's relocation table: blocks follow one another until a
// block with page address 0 or a block size of 7 or less, or the end of the
// table; an entry of type 4 takes the entry after it along; other types are
// skipped. Nothing when the table lies outside the file. An image without a
// relocation table gives an empty list.
std::optional<std::vector<std::uint32_t>> highLowRelocations(std::span<const std::uint8_t> file,
                                                             const Headers& headers,
                                                             std::string* problem = nullptr);

struct ImportThunk {
    std::uint32_t iatRva = 0; // where the import address table entry lies
    bool byOrdinal = false;
    std::uint16_t ordinal = 0;
    std::string name;
};

struct ImportLibrary {
    std::uint32_t descriptorRva = 0;
    std::string name;
    std::vector<ImportThunk> thunks;
};

// The import descriptors of a mapped image, up to the one whose name and time
// stamp are both 0. The thunks come from the import lookup table, or from the
// import address table itself when there is no lookup table. A thunk with the
// top bit set imports by ordinal (its low 16 bits); otherwise it points at a
// hint (2 bytes) and a name. Nothing when anything lies outside the image, or
// when the descriptors, thunks and names read add up to more bytes than the
// image has (tables that overlap).
std::optional<std::vector<ImportLibrary>> importLibraries(std::span<const std::uint8_t> image,
                                                          const Headers& headers,
                                                          std::string* problem = nullptr);

// The RVA of an export by name in a mapped image; nothing when not exported.
std::optional<std::uint32_t> exportRva(std::span<const std::uint8_t> image, const Headers& headers,
                                       std::string_view name);

// Marks an import descriptor that was resolved by hand (in its time stamp).
inline constexpr std::uint32_t resolvedByHandMarker = 0xCDC31337;

// Finds what the imports need: the handle of a library (loading it when
// needed; nothing when it cannot be loaded), and the address of one of its
// exports (0 when missing).
struct ImportResolver {
    std::function<std::optional<std::uint32_t>(const std::string& library)> library;
    std::function<std::uint32_t(std::uint32_t library, const ImportThunk& thunk)> function;
};

// Stores every import's address in the import address table of the image and,
// in each processed descriptor, the library handle in the forwarder-chain
// field and resolvedByHandMarker in the time-stamp field. False (problem says
// which library) when a library cannot be loaded; the load then fails.
bool applyImports(std::span<std::uint8_t> image, const std::vector<ImportLibrary>& libraries,
                  const ImportResolver& resolver, std::string* problem = nullptr);

// Relocates the image that now lies at newBase. Its values currently hold
// addresses for an image at currentBase (the preferred base, or where the
// library loader put it if that already relocated it). When a relocated value
// falls outside [newBase, newBase + image size), "out of reach: *pdw = 0x%08x"
// is written to out with the value as it was at the preferred base, once per
// distinct value, and the result is false; the value is written all the same.
// False as well when an entry lies outside the image.
bool applyRelocations(std::span<std::uint8_t> image, const std::vector<std::uint32_t>& rvas,
                      std::uint32_t newBase, std::uint32_t currentBase, std::uint32_t preferredBase,
                      std::ostream& out);

// Lays out a file as the library loader maps it: headers, then each section's
// raw bytes at its virtual address, the rest zero (for tests and tools).
std::optional<std::vector<std::uint8_t>> mapFile(std::span<const std::uint8_t> file);

} // namespace zudo::util::mem::pe
