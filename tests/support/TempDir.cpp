#include "support/TempDir.hpp"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace zudo::test {

namespace {
std::atomic<unsigned> counter{0};
}

TempDir::TempDir()
{
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << "zudo-test-" << stamp << '-' << counter++;
        auto candidate = std::filesystem::temp_directory_path() / name.str();
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& relative, const std::string& content) const
{
    const auto target = path_ / relative;
    writeFile(target, content);
    return target.string();
}

std::string TempDir::read(const std::string& relative) const { return readFile(path_ / relative); }

void writeFile(const std::filesystem::path& path, const std::string& content)
{
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

ReadOnly::ReadOnly(std::filesystem::path path) : path_(std::move(path))
{
    std::filesystem::permissions(path_,
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
}

ReadOnly::~ReadOnly()
{
    std::error_code ignored; // a destructor must not throw
    std::filesystem::permissions(path_, std::filesystem::perms::owner_write, std::filesystem::perm_options::add,
                                 ignored);
}

} // namespace zudo::test
