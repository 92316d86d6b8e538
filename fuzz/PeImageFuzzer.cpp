// The reader of 32-bit Windows executable images (the manual loader of the
// game's executable): headers, sections, relocations, imports and exports of
// the file's bytes and of the image mapped from them, and the fix-ups applied
// to that image.

#include <sstream>

#include "FuzzCheck.hpp"
#include "util/mem/pe/PeImage.hpp"

namespace pe = zudo::util::mem::pe;

namespace {

void readMappedImage(std::vector<std::uint8_t>& image, const pe::Headers& headers,
                     const std::vector<std::uint32_t>& relocations)
{
    pe::exportRva(image, headers, "ZUDO_CreatePlugin");
    pe::exportRva(image, headers, "");
    const auto libraries = pe::importLibraries(image, headers);
    if (libraries) {
        pe::ImportResolver resolver{
            [](const std::string& library) -> std::optional<std::uint32_t> {
                if (library.empty()) {
                    return std::nullopt;
                }
                return 0x10000000u;
            },
            [](std::uint32_t, const pe::ImportThunk& thunk) { return thunk.byOrdinal ? thunk.ordinal : 0x1234u; },
        };
        pe::applyImports(image, *libraries, resolver);
    }
    std::ostringstream messages;
    pe::applyRelocations(image, relocations, 0x00500000, headers.imageBase, headers.imageBase, messages);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    std::string problem;
    const std::optional<pe::Headers> headers = pe::parseHeaders(file, &problem);
    if (!headers) {
        ZUDO_FUZZ_CHECK(!problem.empty());
        return 0;
    }
    const std::vector<pe::Section> sections = pe::sections(file, *headers);
    pe::fileOffset(sections, headers->entryPointRva);
    pe::fileOffset(sections, headers->imports.rva);
    const auto relocations = pe::highLowRelocations(file, *headers);
    // Images above 64 MiB are not worth mapping here.
    if (headers->sizeOfImage > 64u * 1024 * 1024) {
        return 0;
    }
    std::optional<std::vector<std::uint8_t>> image = pe::mapFile(file);
    if (image) {
        readMappedImage(*image, *headers, relocations.value_or(std::vector<std::uint32_t>{}));
    }
    return 0;
}
