#include "tracks/TextureFilenameMap.hpp"

#include <iostream>
#include <locale>
#include <vector>

#include "util/LowerCase.hpp"
#include "tracks/ReportLine.hpp"
#include "tracks/TextureHost.hpp"

namespace zudo::tracks {

namespace {

constexpr std::size_t headerSize = 4;


} // namespace

TextureFilenameMap& TextureFilenameMap::instance()
{
    static TextureFilenameMap map = load(textureHost());
    return map;
}

TextureFilenameMap::TextureFilenameMap(const std::string& fileBytes)
{
    if (fileBytes.size() <= headerSize) {
        return;
    }
    // A string that runs to the end of the file ends there: the bytes are
    // copied into a buffer with one zero byte more.
    std::vector<char> buffer(fileBytes.begin(), fileBytes.end());
    buffer.push_back('\0');
    const char* next = buffer.data() + headerSize;
    const char* const end = buffer.data() + fileBytes.size();
    while (next < end) {
        const std::string source = next;
        next += source.size() + 1;
        if (source.empty() || next >= end) {
            break;
        }
        const std::string target = next;
        next += target.size() + 1;
        if (target.empty()) {
            break;
        }
        pairs_.emplace(util::lowerCase(source, std::locale()), util::lowerCase(target, std::locale()));
    }
}

TextureFilenameMap::~TextureFilenameMap() = default;

TextureFilenameMap TextureFilenameMap::load(TextureHost& host)
{
    const std::int64_t size = host.fileSize(fileName);
    if (size <= static_cast<std::int64_t>(headerSize)) {
        return {};
    }
    if (size > largestFile) {
        tracks::reportLine(std::cerr, "texture filename map '", fileName, "' is too large (", size, " bytes), no texture names are mapped");
        return {};
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const std::int64_t read = host.readFile(fileName, bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(read > 0 ? read : 0));
    return TextureFilenameMap(bytes);
}

std::string TextureFilenameMap::translate(const std::string& path) const
{
    std::string lowered = util::lowerCase(path, std::locale());
    const auto found = pairs_.find(lowered);
    return found == pairs_.end() ? lowered : found->second;
}

} // namespace zudo::tracks
