#pragma once
// Rallies for the fuzz targets of the rally engine's files: read from a
// definition in the scratch installation, with a condition choice that needs
// no track data (every track has one valid condition per weather mode).

#include <memory>
#include <string>

#include "FuzzSupport.hpp"
#include "rally/ConditionChoice.hpp"
#include "rally/Rally.hpp"
#include "tracks/TrackCondition.hpp"

namespace zudo::fuzz {

inline rally::TrackConditionPtr plainCondition(const tracks::TrackOverride& spec, int mode)
{
    auto chosen = std::make_shared<tracks::TrackCondition>(spec.map);
    chosen->conditions = mode;
    chosen->surface = mode;
    chosen->track = 1;
    chosen->valid = true;
    return chosen;
}

inline void usePlainConditionChoice()
{
    rally::useConditionChoice(rally::ConditionChoice{
        plainCondition,
        [](const tracks::TrackOverride&, const rally::TrackConditionPtr& wanted) {
            if (!wanted) {
                return rally::TrackConditionPtr();
            }
            auto closest = std::make_shared<tracks::TrackCondition>(*wanted);
            closest->valid = true;
            return closest;
        },
        [](const tracks::TrackOverride& spec) {
            return tracks::TrackConditionList{plainCondition(spec, 0), plainCondition(spec, 1),
                                              plainCondition(spec, 2)};
        },
    });
}

// The rally of Plugins/Zuzuzevo/<name>.srp holding definition.
inline rally::RallyPtr rallyFrom(const std::string& name, const std::string& definition)
{
    const std::string relative = "Plugins/Zuzuzevo/" + name + ".srp";
    ScratchInstallation::instance().write(relative, definition);
    return std::make_shared<rally::Rally>(name, relative);
}

} // namespace zudo::fuzz
