#include "rally/HostResults.hpp"

#include <array>
#include <cstring>

#include "config/SettingFiles.hpp"
#include "io/FileStreams.hpp"

namespace zudo::rally {

namespace {

using RecordBytes = std::array<unsigned char, HostResult::recordSize>;

std::uint32_t littleEndianWord(const RecordBytes& bytes, std::size_t offset)
{
    return std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8U |
           std::uint32_t(bytes[offset + 2]) << 16U | std::uint32_t(bytes[offset + 3]) << 24U;
}

std::int32_t intAt(const RecordBytes& bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(littleEndianWord(bytes, offset));
}

float floatAt(const RecordBytes& bytes, std::size_t offset)
{
    const std::uint32_t word = littleEndianWord(bytes, offset);
    float value = 0.0F;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

std::string driverAt(const RecordBytes& bytes, std::size_t offset)
{
    const auto* first = reinterpret_cast<const char*>(bytes.data() + offset);
    // The host's field may lack its NUL: only the first 19 characters count.
    const std::size_t limit = HostResult::driverSize - 1;
    std::size_t length = 0;
    while (length < limit && first[length] != '\0') {
        ++length;
    }
    return std::string(first, length);
}

HostResult decode(const RecordBytes& bytes)
{
    HostResult result;
    result.stage = intAt(bytes, 0);
    result.carSlot = intAt(bytes, 4);
    result.split1 = floatAt(bytes, 8);
    result.split2 = floatAt(bytes, 12);
    result.finish = floatAt(bytes, 16);
    result.driver = driverAt(bytes, 20);
    return result;
}

bool readRecord(std::istream& in, RecordBytes& bytes)
{
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return in.gcount() == std::streamsize(bytes.size());
}

} // namespace

HostResults& HostResults::instance()
{
    static HostResults results;
    return results;
}

std::string HostResults::filePath()
{
    return config::hostPath("SavedGames\\pfresult.rst");
}

bool HostResults::reload()
{
    results_.clear();
    std::ifstream in = io::openInputStream(filePath(), io::StreamMode::Binary);
    if (!in.is_open()) {
        return false;
    }
    read(in);
    return true;
}

void HostResults::read(std::istream& in)
{
    results_.clear();
    in.ignore(HostResult::headerSize);
    if (in.gcount() != std::streamsize(HostResult::headerSize)) {
        return;
    }
    RecordBytes bytes{};
    while (readRecord(in, bytes)) {
        HostResult result = decode(bytes);
        if (result.stage == 0) {
            break;
        }
        results_.emplace(result.stage, std::move(result));
    }
}

const HostResult* HostResults::find(std::int32_t stage) const
{
    const auto found = results_.find(stage);
    return found == results_.end() ? nullptr : &found->second;
}

} // namespace zudo::rally
