// Progress files (*.prs), with the records file they bring along: loaded all
// or nothing into a rally's stages, then saved and loaded again. Input: the
// progress file, then the best-times file, separated by a line "%%".
//
// Beyond not crashing: a progress file the plug-in wrote loads again.

#include "FuzzCheck.hpp"
#include "HostSupport.hpp"
#include "RallySupport.hpp"
#include "rally/RallyFile.hpp"
#include "rally/RecordKey.hpp"

namespace {

using zudo::rally::RallyPtr;

const char* const definition = "mechanics 4\nskill 3\nstage 20 A\nservice 30\nstage 21 B\nstage 22 C\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = (zudo::fuzz::usePlainConditionChoice(), zudo::fuzz::useReplacementHost(), true);
    (void)ready;
    const auto& scratch = zudo::fuzz::ScratchInstallation::instance();
    const std::vector<std::string> parts = zudo::fuzz::splitInput(data, size, 2);

    const RallyPtr rally = zudo::fuzz::rallyFrom("Fuzz Progress", definition);
    scratch.remove(zudo::rally::DamageFile(*rally).path());
    scratch.write(zudo::rally::ProgressFile(*rally).path(), parts[0]);
    using zudo::rally::RecordKey;
    scratch.write(zudo::rally::RecordFile(*rally, RecordKey{RecordKey::any, RecordKey::any, 0, 0}).path(),
                  parts[1]);
    if (!rally->loadProgress()) {
        return 0;
    }
    rally->totalTime();
    rally->drivenCount();
    ZUDO_FUZZ_CHECK(rally->saveProgress());
    const RallyPtr reread = zudo::fuzz::rallyFrom("Fuzz Progress", definition);
    ZUDO_FUZZ_CHECK(reread->loadProgress());
    return 0;
}
