#include "util/mem/pe/PeImage.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

namespace zudo::util::mem::pe {

namespace {

// Offsets in the headers of a 32-bit image.
constexpr std::uint32_t dosNewHeaderOffset = 0x3C;
constexpr std::uint32_t fileHeaderSize = 20;
constexpr std::uint32_t optionalMagic32 = 0x10B;
constexpr std::uint32_t sectionHeaderSize = 40;
constexpr std::uint32_t importDescriptorSize = 20;
constexpr std::uint32_t ordinalFlag = 0x80000000u;
constexpr std::uint16_t relocationHighLow = 3;
constexpr std::uint16_t relocationHighAdjust = 4;
constexpr std::size_t maxNameLength = 4096;

template <class T>
bool readAt(std::span<const std::uint8_t> bytes, std::uint64_t offset, T& value)
{
    if (offset + sizeof(T) > bytes.size()) {
        return false;
    }
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return true;
}

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::uint64_t offset)
{
    std::uint32_t value = 0;
    readAt(bytes, offset, value);
    return value;
}

void write32(std::span<std::uint8_t> bytes, std::uint32_t offset, std::uint32_t value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

bool readName(std::span<const std::uint8_t> bytes, std::uint32_t offset, std::string& name)
{
    name.clear();
    for (std::uint64_t at = offset; at < bytes.size(); ++at) {
        if (bytes[at] == 0) {
            return true;
        }
        if (name.size() == maxNameLength) {
            return false;
        }
        name.push_back(static_cast<char>(bytes[at]));
    }
    return false;
}

bool fail(std::string* problem, const std::string& text)
{
    if (problem != nullptr) {
        *problem = text;
    }
    return false;
}

DataDirectory directory(std::span<const std::uint8_t> bytes, std::uint32_t optional,
                        std::uint32_t count, std::uint32_t index)
{
    if (index >= count) {
        return {};
    }
    const std::uint64_t at = std::uint64_t{optional} + 96 + 8 * index;
    return {read32(bytes, at), read32(bytes, at + 4)};
}

} // namespace

std::optional<Headers> parseHeaders(std::span<const std::uint8_t> bytes, std::string* problem)
{
    std::uint16_t dosMagic = 0;
    if (!readAt(bytes, 0, dosMagic) || dosMagic != 0x5A4D) {
        fail(problem, "no MZ header");
        return std::nullopt;
    }
    const std::uint32_t nt = read32(bytes, dosNewHeaderOffset);
    std::uint32_t signature = 0;
    if (!readAt(bytes, nt, signature) || signature != 0x00004550) {
        fail(problem, "no PE signature");
        return std::nullopt;
    }
    Headers headers;
    const std::uint64_t fileHeader = std::uint64_t{nt} + 4;
    std::uint16_t optionalSize = 0;
    std::uint16_t magic = 0;
    const std::uint64_t optional = fileHeader + fileHeaderSize;
    if (!readAt(bytes, fileHeader, headers.machine) ||
        !readAt(bytes, fileHeader + 2, headers.sectionCount) ||
        !readAt(bytes, fileHeader + 16, optionalSize) || !readAt(bytes, optional, magic) ||
        magic != optionalMagic32 || optionalSize < 96 || optional + optionalSize > bytes.size()) {
        fail(problem, "no 32-bit optional header");
        return std::nullopt;
    }
    const auto opt = static_cast<std::uint32_t>(optional);
    headers.entryPointRva = read32(bytes, opt + 16);
    headers.imageBase = read32(bytes, opt + 28);
    headers.sizeOfImage = read32(bytes, opt + 56);
    headers.sizeOfHeaders = read32(bytes, opt + 60);
    const std::uint32_t directoryCount =
        std::min<std::uint32_t>(read32(bytes, opt + 92), (optionalSize - 96) / 8);
    headers.exports = directory(bytes, opt, directoryCount, 0);
    headers.imports = directory(bytes, opt, directoryCount, 1);
    headers.relocations = directory(bytes, opt, directoryCount, 5);
    headers.sectionTableOffset = static_cast<std::uint32_t>(optional + optionalSize);
    if (headers.sectionTableOffset + std::uint64_t{headers.sectionCount} * sectionHeaderSize >
        bytes.size()) {
        fail(problem, "section table outside the file");
        return std::nullopt;
    }
    return headers;
}

std::vector<Section> sections(std::span<const std::uint8_t> bytes, const Headers& headers)
{
    std::vector<Section> result;
    for (std::uint32_t i = 0; i < headers.sectionCount; ++i) {
        const std::uint64_t at = headers.sectionTableOffset + std::uint64_t{i} * sectionHeaderSize;
        if (at + sectionHeaderSize > bytes.size()) {
            break;
        }
        Section section;
        const auto* name = reinterpret_cast<const char*>(bytes.data() + at);
        section.name.assign(name, strnlen(name, 8));
        section.virtualSize = read32(bytes, at + 8);
        section.virtualAddress = read32(bytes, at + 12);
        section.rawSize = read32(bytes, at + 16);
        section.rawOffset = read32(bytes, at + 20);
        result.push_back(section);
    }
    return result;
}

std::optional<std::uint32_t> fileOffset(const std::vector<Section>& sections, std::uint32_t rva)
{
    for (const Section& section : sections) {
        const std::uint32_t span = section.virtualSize != 0 ? section.virtualSize : section.rawSize;
        if (rva >= section.virtualAddress && rva - section.virtualAddress < span) {
            return section.rawOffset + (rva - section.virtualAddress);
        }
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint32_t>> highLowRelocations(std::span<const std::uint8_t> file,
                                                             const Headers& headers,
                                                             std::string* problem)
{
    std::vector<std::uint32_t> result;
    if (headers.relocations.rva == 0 || headers.relocations.size == 0) {
        return result;
    }
    const auto start = fileOffset(sections(file, headers), headers.relocations.rva);
    if (!start) {
        fail(problem, "relocation table outside every section");
        return std::nullopt;
    }
    const std::uint64_t end = std::uint64_t{*start} + headers.relocations.size;
    std::uint64_t block = *start;
    while (block + 8 <= end) {
        std::uint32_t page = 0;
        std::uint32_t blockSize = 0;
        if (!readAt(file, block, page) || !readAt(file, block + 4, blockSize)) {
            fail(problem, "relocation block outside the file");
            return std::nullopt;
        }
        if (page == 0 || blockSize <= 7) {
            break;
        }
        if (block + blockSize > file.size()) {
            fail(problem, "relocation block outside the file");
            return std::nullopt;
        }
        const std::uint32_t entryCount = (blockSize - 8) / 2;
        for (std::uint32_t i = 0; i < entryCount; ++i) {
            std::uint16_t entry = 0;
            readAt(file, block + 8 + 2 * i, entry);
            const auto type = static_cast<std::uint16_t>(entry >> 12);
            if (type == relocationHighLow) {
                result.push_back(page + (entry & 0x0FFFu));
            } else if (type == relocationHighAdjust) {
                ++i; // its second half is the entry after it
            }
        }
        block += blockSize;
    }
    return result;
}

std::optional<std::vector<ImportLibrary>> importLibraries(std::span<const std::uint8_t> image,
                                                          const Headers& headers,
                                                          std::string* problem)
{
    std::vector<ImportLibrary> result;
    if (headers.imports.rva == 0) {
        return result;
    }
    // In a real image every descriptor, address table entry and name has a
    // place of its own, so what is read adds up to less than the image.
    // Tables that overlap (a damaged or crafted file) could otherwise make the
    // reader hold many times the image; they are refused when they exceed it.
    std::uint64_t unread = image.size();
    const auto take = [&unread](std::uint64_t bytes) {
        if (bytes > unread) {
            return false;
        }
        unread -= bytes;
        return true;
    };
    for (std::uint64_t at = headers.imports.rva;; at += importDescriptorSize) {
        if (at + importDescriptorSize > image.size()) {
            fail(problem, "import descriptors run past the image");
            return std::nullopt;
        }
        const std::uint32_t lookup = read32(image, at);
        const std::uint32_t timeStamp = read32(image, at + 4);
        const std::uint32_t nameRva = read32(image, at + 12);
        const std::uint32_t addressTable = read32(image, at + 16);
        if (nameRva == 0 && timeStamp == 0) {
            break;
        }
        ImportLibrary library;
        library.descriptorRva = static_cast<std::uint32_t>(at);
        if (!readName(image, nameRva, library.name)) {
            fail(problem, "import library name outside the image");
            return std::nullopt;
        }
        if (!take(importDescriptorSize + library.name.size())) {
            fail(problem, "import tables larger than the image");
            return std::nullopt;
        }
        const std::uint32_t thunks = lookup != 0 ? lookup : addressTable;
        for (std::uint32_t i = 0;; ++i) {
            std::uint32_t thunk = 0;
            if (!readAt(image, std::uint64_t{thunks} + 4 * i, thunk) ||
                std::uint64_t{addressTable} + 4 * i + 4 > image.size()) {
                fail(problem, "import table of " + library.name + " runs past the image");
                return std::nullopt;
            }
            if (thunk == 0) {
                break;
            }
            ImportThunk entry;
            entry.iatRva = addressTable + 4 * i;
            if ((thunk & ordinalFlag) != 0) {
                entry.byOrdinal = true;
                entry.ordinal = static_cast<std::uint16_t>(thunk & 0xFFFFu);
            } else if (!readName(image, thunk + 2, entry.name)) {
                fail(problem, "import name of " + library.name + " outside the image");
                return std::nullopt;
            }
            if (!take(4 + entry.name.size())) {
                fail(problem, "import tables of " + library.name + " larger than the image");
                return std::nullopt;
            }
            library.thunks.push_back(std::move(entry));
        }
        result.push_back(std::move(library));
    }
    return result;
}

std::optional<std::uint32_t> exportRva(std::span<const std::uint8_t> image, const Headers& headers,
                                       std::string_view name)
{
    const std::uint32_t directoryRva = headers.exports.rva;
    if (directoryRva == 0) {
        return std::nullopt;
    }
    const std::uint32_t functionCount = read32(image, std::uint64_t{directoryRva} + 20);
    const std::uint32_t nameCount = read32(image, std::uint64_t{directoryRva} + 24);
    const std::uint32_t functions = read32(image, std::uint64_t{directoryRva} + 28);
    const std::uint32_t names = read32(image, std::uint64_t{directoryRva} + 32);
    const std::uint32_t ordinals = read32(image, std::uint64_t{directoryRva} + 36);
    std::string candidate;
    for (std::uint32_t i = 0; i < nameCount; ++i) {
        std::uint32_t nameRva = 0;
        std::uint16_t index = 0;
        if (!readAt(image, std::uint64_t{names} + 4 * i, nameRva) ||
            !readAt(image, std::uint64_t{ordinals} + 2 * i, index) ||
            !readName(image, nameRva, candidate)) {
            return std::nullopt;
        }
        std::uint32_t functionRva = 0;
        if (candidate == name && index < functionCount &&
            readAt(image, std::uint64_t{functions} + 4 * index, functionRva)) {
            return functionRva;
        }
    }
    return std::nullopt;
}

bool applyImports(std::span<std::uint8_t> image, const std::vector<ImportLibrary>& libraries,
                  const ImportResolver& resolver, std::string* problem)
{
    for (const ImportLibrary& library : libraries) {
        const std::optional<std::uint32_t> handle = resolver.library(library.name);
        if (!handle) {
            return fail(problem, "cannot load " + library.name);
        }
        for (const ImportThunk& thunk : library.thunks) {
            write32(image, thunk.iatRva, resolver.function(*handle, thunk));
        }
        write32(image, library.descriptorRva + 8, *handle);
        write32(image, library.descriptorRva + 4, resolvedByHandMarker);
    }
    return true;
}

bool applyRelocations(std::span<std::uint8_t> image, const std::vector<std::uint32_t>& rvas,
                      std::uint32_t newBase, std::uint32_t currentBase, std::uint32_t preferredBase,
                      std::ostream& out)
{
    const std::uint32_t delta = newBase - currentBase; // modulo 2^32, as the loader adds it
    const auto size = static_cast<std::uint64_t>(image.size());
    std::set<std::uint32_t> reported;
    bool allInReach = true;
    for (const std::uint32_t rva : rvas) {
        if (std::uint64_t{rva} + 4 > size) {
            allInReach = false;
            continue;
        }
        std::uint32_t value = 0;
        std::memcpy(&value, image.data() + rva, sizeof value);
        const std::uint32_t relocated = value + delta;
        if (relocated < newBase || relocated - newBase >= size) {
            allInReach = false;
            const std::uint32_t original = value - (currentBase - preferredBase);
            if (reported.insert(original).second) {
                char line[48];
                std::snprintf(line, sizeof line, "out of reach: *pdw = 0x%08x",
                              static_cast<unsigned>(original));
                out << line << '\n';
            }
        }
        write32(image, rva, relocated);
    }
    return allInReach;
}

std::optional<std::vector<std::uint8_t>> mapFile(std::span<const std::uint8_t> file)
{
    const std::optional<Headers> headers = parseHeaders(file);
    if (!headers || headers->sizeOfHeaders > headers->sizeOfImage ||
        headers->sizeOfHeaders > file.size()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> image(headers->sizeOfImage, 0);
    std::copy_n(file.begin(), headers->sizeOfHeaders, image.begin());
    for (const Section& section : sections(file, *headers)) {
        const std::uint32_t length = std::min(section.rawSize, section.virtualSize != 0
                                                                   ? section.virtualSize
                                                                   : section.rawSize);
        if (std::uint64_t{section.rawOffset} + length > file.size() ||
            std::uint64_t{section.virtualAddress} + length > image.size()) {
            return std::nullopt;
        }
        std::copy_n(file.begin() + section.rawOffset, length, image.begin() + section.virtualAddress);
    }
    return image;
}

} // namespace zudo::util::mem::pe
