#include "util/mem/pe/ManualLoader.hpp"

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "io/FileStreams.hpp"
#include "platform/Platform.hpp"
#include "util/mem/pe/PeImage.hpp"

namespace zudo::util::mem {

namespace {

std::uint32_t addressOf(const void* pointer)
{
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

pe::ImportResolver platformResolver()
{
    pe::ImportResolver resolver;
    resolver.library = [](const std::string& name) -> std::optional<std::uint32_t> {
        platform::ModuleHandle handle = platform::moduleHandle(name);
        if (handle == nullptr) {
            handle = platform::loadLibrary(name);
        }
        if (handle == nullptr) {
            return std::nullopt;
        }
        return addressOf(handle);
    };
    resolver.function = [](std::uint32_t library, const pe::ImportThunk& thunk) {
        auto* handle = reinterpret_cast<platform::ModuleHandle>(std::uintptr_t{library});
        return addressOf(thunk.byOrdinal ? platform::procAddress(handle, thunk.ordinal)
                                         : platform::procAddress(handle, thunk.name));
    };
    return resolver;
}

HandLoadedImage failed(std::string problem)
{
    HandLoadedImage result;
    result.problem = std::move(problem);
    return result;
}

// Step 2: the mapped image copied into a block of its own.
void* copyOfMappedImage(const std::string& path, std::uint32_t sizeOfImage,
                        std::uint32_t& mappedBase, std::string& problem)
{
    platform::ModuleHandle mapped = platform::loadLibraryUnresolved(path);
    if (mapped == nullptr) {
        problem = "the library loader cannot map " + path;
        return nullptr;
    }
    mappedBase = addressOf(mapped);
    platform::protectPages(mapped, sizeOfImage, platform::Protection::ExecuteReadWrite, nullptr);
    void* block = platform::allocatePages(sizeOfImage, platform::Protection::ExecuteReadWrite);
    if (block == nullptr) {
        problem = "no memory for an image of " + std::to_string(sizeOfImage) + " bytes";
    } else if (!platform::copyMemoryChecked(block, mapped, sizeOfImage)) {
        problem = "the mapped image of " + path + " cannot be read";
        platform::freePages(block, sizeOfImage);
        block = nullptr;
    }
    platform::freeLibrary(mapped);
    return block;
}

// The base that the copy's relocatable values are relative to: the library
// loader relocates the mapping on some systems and not on others (Wine maps
// an executable without relocating it), so the copy is compared with the file.
std::optional<std::uint32_t> valuesBase(std::span<const std::uint8_t> file, const pe::Headers& headers,
                                        std::span<const std::uint8_t> image,
                                        const std::vector<std::uint32_t>& relocations,
                                        std::uint32_t mappedBase)
{
    const std::uint32_t preferredBase = headers.imageBase;
    const std::vector<pe::Section> sections = pe::sections(file, headers);
    for (const std::uint32_t rva : relocations) {
        const std::optional<std::uint32_t> offset = pe::fileOffset(sections, rva);
        if (!offset || std::uint64_t{*offset} + 4 > file.size() ||
            std::uint64_t{rva} + 4 > image.size()) {
            continue;
        }
        std::uint32_t inFile = 0;
        std::uint32_t inImage = 0;
        std::memcpy(&inFile, file.data() + *offset, 4);
        std::memcpy(&inImage, image.data() + rva, 4);
        if (inImage == inFile) {
            return preferredBase;
        }
        if (inImage == inFile + (mappedBase - preferredBase)) {
            return mappedBase;
        }
        return std::nullopt;
    }
    return preferredBase;
}

} // namespace

HandLoadedImage loadImageByHand(const std::string& path, std::ostream& out)
{
    if (!hostIsThisProcess()) {
        // Native images and host addresses differ in size: the game's image
        // is only ever loaded into a 32-bit Windows process.
        return failed("the game executable can be loaded by hand only in the Windows build");
    }
    std::string contents;
    if (!io::readWholeFile(path, contents)) {
        return failed("cannot read " + path);
    }
    const std::span<const std::uint8_t> file(reinterpret_cast<const std::uint8_t*>(contents.data()),
                                             contents.size());
    std::string problem;
    const std::optional<pe::Headers> headers = pe::parseHeaders(file, &problem);
    if (!headers || headers->sizeOfImage == 0) {
        return failed(path + " is not a 32-bit executable: " + problem);
    }
    const std::optional<std::vector<std::uint32_t>> relocations =
        pe::highLowRelocations(file, *headers, &problem);
    if (!relocations) {
        return failed(path + ": " + problem);
    }
    std::uint32_t mappedBase = 0;
    void* block = copyOfMappedImage(path, headers->sizeOfImage, mappedBase, problem);
    if (block == nullptr) {
        return failed(problem);
    }
    HandLoadedImage result;
    result.base = HostAddress(addressOf(block));
    result.size = headers->sizeOfImage;
    const std::span<std::uint8_t> image(static_cast<std::uint8_t*>(block), headers->sizeOfImage);

    const auto imports = pe::importLibraries(image, *headers, &problem);
    bool loaded = imports && pe::applyImports(image, *imports, platformResolver(), &problem);
    const std::optional<std::uint32_t> currentBase =
        valuesBase(file, *headers, image, *relocations, mappedBase);
    if (loaded && !currentBase) {
        problem = "the mapped image of " + path + " differs from the file";
        loaded = false;
    }
    if (loaded && !pe::applyRelocations(image, *relocations, result.base.value(), *currentBase,
                                        headers->imageBase, out)) {
        problem = "relocated values of " + path + " fall outside the image";
        loaded = false;
    }
    if (!loaded) {
        unloadImageByHand(result);
        return failed(problem);
    }
    return result;
}

void unloadImageByHand(const HandLoadedImage& image)
{
    if (image.base) {
        platform::freePages(reinterpret_cast<void*>(std::uintptr_t{image.base.value()}), image.size);
    }
}

} // namespace zudo::util::mem
