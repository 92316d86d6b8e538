// Best-times files (*.tm2): a rally's file and a hotlap's, loaded into their
// stages, then the records' sums and a new record written back.

#include "FuzzCheck.hpp"
#include "RallySupport.hpp"
#include "rally/RallyFile.hpp"
#include "rally/RecordKey.hpp"

namespace {

using zudo::rally::RallyPtr;
using zudo::rally::RecordFile;
using zudo::rally::RecordKey;

void exerciseRecords(const RallyPtr& rally)
{
    rally->recordTotal();
    rally->isNewRecord();
    rally->sumOfRecordDifferences();
    for (const zudo::rally::StagePtr& stage : rally->stages()) {
        stage->currentRecord();
        stage->recordDifference();
        stage->bestRecordDifference(RecordKey{RecordKey::any, RecordKey::any, 0, 0});
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = (zudo::fuzz::usePlainConditionChoice(), true);
    (void)ready;
    const auto& scratch = zudo::fuzz::ScratchInstallation::instance();
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const RallyPtr rally = zudo::fuzz::rallyFrom("Fuzz Rally", "stage 20 A\nstage 21 B\nstage 22 C\n");
    scratch.write(RecordFile(*rally, RecordKey{RecordKey::any, RecordKey::any, 0, 0}).path(), bytes);
    rally->loadRecords();
    exerciseRecords(rally);
    for (const zudo::rally::StagePtr& stage : rally->stages()) {
        stage->setFinishTime(1.0F);
        stage->setDriven(true);
    }
    if (rally->saveRecords()) {
        // What the plug-in wrote, it reads back.
        const RallyPtr reread = zudo::fuzz::rallyFrom("Fuzz Rally", "stage 20 A\nstage 21 B\nstage 22 C\n");
        ZUDO_FUZZ_CHECK(reread->loadRecords());
    }

    const RallyPtr hotlap = zudo::fuzz::rallyFrom("Fuzz Hotlap", "hotlap 1\nstage 20 A\n");
    scratch.write(RecordFile(*hotlap, RecordKey{1, 3, 0, 0}).path(), bytes);
    hotlap->loadRecords();
    exerciseRecords(hotlap);
    return 0;
}
