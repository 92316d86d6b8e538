#include "FuzzSupport.hpp"

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/Platform.hpp"

namespace zudo::fuzz {

std::vector<std::string> splitInput(const std::uint8_t* data, std::size_t size, std::size_t count)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    constexpr std::string_view separator = "\n%%\n";
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (parts.size() + 1 < count) {
        const std::size_t found = input.find(separator, start);
        if (found == std::string_view::npos) {
            break;
        }
        parts.emplace_back(input.substr(start, found - start));
        start = found + separator.size();
    }
    parts.emplace_back(input.substr(std::min(start, input.size())));
    parts.resize(count);
    return parts;
}

ScratchInstallation& ScratchInstallation::instance()
{
    static ScratchInstallation installation;
    return installation;
}

ScratchInstallation::ScratchInstallation()
{
    namespace fs = std::filesystem;
    // A file system in memory where there is one: the targets write and
    // flush files on every input.
    std::error_code noShm;
    const fs::path parent = fs::is_directory("/dev/shm", noShm) ? fs::path("/dev/shm") : fs::temp_directory_path();
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; root_.empty(); ++attempt) {
        const fs::path candidate =
            parent / ("zudo-fuzz-" + std::to_string(stamp) + "-" + std::to_string(attempt));
        if (fs::create_directory(candidate)) {
            root_ = candidate.string();
        }
    }
    fs::create_directories(fs::path(root_) / "Maps");
    fs::create_directories(fs::path(root_) / "Plugins" / "Zuzuzevo");
    fs::create_directories(fs::path(root_) / "SavedGames");
    fs::current_path(root_);
    platform::setExecutablePath((fs::path(root_) / "Zoraravi_SSE.exe").string());
}

ScratchInstallation::~ScratchInstallation()
{
    std::error_code ignored;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
    std::filesystem::remove_all(root_, ignored);
}

namespace {

// The system's paths below the game directory use '\\' as Windows does; the
// scratch directory lives on a POSIX file system, where only '/' separates.
std::filesystem::path onDisk(const std::string& root, std::string relative)
{
    for (char& c : relative) {
        if (c == '\\') {
            c = '/';
        }
    }
    return std::filesystem::path(root) / relative;
}

} // namespace

std::string ScratchInstallation::write(const std::string& relative, std::string_view content) const
{
    const std::filesystem::path path = onDisk(root_, relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return path.string();
}

void ScratchInstallation::remove(const std::string& relative) const
{
    std::error_code ignored;
    std::filesystem::remove(onDisk(root_, relative), ignored);
}

} // namespace zudo::fuzz
