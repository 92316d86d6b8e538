#pragma once
// Small helpers for the platform tests: which build runs, and reads of
// private-profile files that turn the platform's buffers into strings.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.hpp"

namespace zudo::test {

#ifdef _WIN32
constexpr bool nativeBuild = false; // the real Windows functions, under Wine
#else
constexpr bool nativeBuild = true;
#endif

struct ProfileRead {
    std::uint32_t count = 0; // what the platform returned
    std::string text;        // the characters before the first NUL
};

// One value (or a listing's raw buffer, see names()) read with a buffer of size characters.
inline ProfileRead readProfile(const std::string& file, const char* section, const char* key,
                               const char* defaultValue = "", std::uint32_t size = 4096)
{
    std::vector<char> buffer(size + 1u, '#');
    ProfileRead result;
    result.count = platform::profileString(section, key, defaultValue, buffer.data(), size, file);
    result.text = std::string(buffer.data());
    return result;
}

inline std::string readValue(const std::string& file, const char* section, const char* key,
                             const char* defaultValue = "")
{
    return readProfile(file, section, key, defaultValue).text;
}

// A listing: its names and the final NUL (count + 1 characters) from a
// buffer of size characters, zero-filled before the call as the system's
// callers do.
inline std::string listingBuffer(const std::string& file, const char* section, std::uint32_t size,
                                 std::uint32_t& count)
{
    std::vector<char> buffer(size + 2u, '\0');
    count = platform::profileString(section, nullptr, "", buffer.data(), size, file);
    return std::string(buffer.data(), count + 1u);
}

// The names of a listing: section names when section is null.
inline std::vector<std::string> names(const std::string& file, const char* section, std::uint32_t size = 1u << 20)
{
    std::uint32_t count = 0;
    const std::string buffer = listingBuffer(file, section, size, count);
    std::vector<std::string> result;
    for (std::size_t start = 0; start < count;) {
        const std::size_t end = buffer.find('\0', start);
        result.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

} // namespace zudo::test
