// The game's own best results (SavedGames/pfresult.rst): the records read from
// the file's bytes, each found again and made into a time of its own.

#include <sstream>

#include "FuzzCheck.hpp"
#include "FuzzSupport.hpp"
#include "rally/HostResults.hpp"
#include "rally/StageTime.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zudo::fuzz::ScratchInstallation::instance();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in(bytes);
    zudo::rally::HostResults results;
    results.read(in);
    const std::size_t wholeRecords =
        size < zudo::rally::HostResult::headerSize
            ? 0
            : (size - zudo::rally::HostResult::headerSize) / zudo::rally::HostResult::recordSize;
    ZUDO_FUZZ_CHECK(results.size() <= wholeRecords);
    for (std::int32_t stage = -2; stage < 120; ++stage) {
        if (results.find(stage) != nullptr) {
            ZUDO_FUZZ_CHECK(results.resultFor(stage) != nullptr);
            ZUDO_FUZZ_CHECK(results.find(stage)->driver.size() < zudo::rally::HostResult::driverSize);
        }
    }
    // The same bytes as the game's file, read through the file system.
    zudo::fuzz::ScratchInstallation::instance().write("SavedGames/pfresult.rst", bytes);
    ZUDO_FUZZ_CHECK(zudo::rally::HostResults::instance().reload());
    ZUDO_FUZZ_CHECK(zudo::rally::HostResults::instance().size() == results.size());
    return 0;
}
