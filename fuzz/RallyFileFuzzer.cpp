// Rally definition files (*.srp): a rally read from the file, then what the
// lists and the standings ask of it.

#include "RallySupport.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = (zudo::fuzz::usePlainConditionChoice(), true);
    (void)ready;
    const std::string definition(reinterpret_cast<const char*>(data), size);
    const zudo::rally::RallyPtr rally = zudo::fuzz::rallyFrom("Fuzz Rally", definition);
    rally->stageNumbers();
    rally->recordKey();
    rally->totalTime();
    rally->isNewRecord();
    for (const zudo::rally::StagePtr& stage : rally->stages()) {
        stage->resolvedCondition();
        stage->recordKey();
        stage->displayName();
    }
    return 0;
}
