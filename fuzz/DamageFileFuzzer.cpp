// Car damage files (*.dmg): read into the rally's damage record in host
// memory through the host's copy routine (the replacement host's fakes).
//
// Beyond not crashing: a file of a whole record is taken, a shorter one
// changes nothing.

#include "FuzzCheck.hpp"
#include "HostSupport.hpp"
#include "RallySupport.hpp"
#include "rally/RallyFile.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const zudo::rally::RallyPtr rally = [] {
        zudo::fuzz::usePlainConditionChoice();
        zudo::fuzz::useReplacementHost();
        return zudo::fuzz::rallyFrom("Fuzz Damage", "stage 20 A\nstage 21 B\n");
    }();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    zudo::fuzz::ScratchInstallation::instance().write(zudo::rally::DamageFile(*rally).path(), bytes);
    const bool loaded = rally->loadDamage();
    ZUDO_FUZZ_CHECK(loaded == (size >= zudo::rally::Rally::damageRecordSize));
    return 0;
}
