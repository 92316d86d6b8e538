// Reading a rally definition file ("*.srp"): one key and value a line; the
// values a stage line uses are kept pending from line to line.

#include "io/FileStreams.hpp"
#include "config/SettingFiles.hpp"
#include "rally/DefinitionLine.hpp"
#include "rally/Names.hpp"
#include "rally/Rally.hpp"
#include "tracks/StageCatalogue.hpp"
#include "util/ClassicText.hpp"
#include "util/Log.hpp"

#include <algorithm>


namespace zudo::rally {

namespace {

// What the next stage line will use. Most values carry over to the following
// stages; TrackName, Particles and the service minutes hold for one stage.
struct PendingValues {
    int weatherMode = 0;
    int tyres = 3; // Gravel Dry
    int setup = -1;
    int hotlap = 0;
    tracks::TrackCondition condition;
    std::string trackName;
    std::string particles;
    int mechanics = 0;
    int skill = 0;
    int serviceMinutes = 0;
};

bool isKey(const DefinitionLine& line, const char* key)
{
    return util::equalsIgnoringClassicCase(line.key, key);
}

// Applies a line other than a stage line; false when its key is none of them.
bool applyValue(const DefinitionLine& line, PendingValues& pending)
{
    const tracks::StageCatalogue& words = tracks::StageCatalogue::instance();
    tracks::TrackCondition& condition = pending.condition;
    if (isKey(line, "weather")) {
        pending.weatherMode = line.numberOr(std::max(0, words.weatherModeCode(line.value, true)));
    } else if (isKey(line, "tyres")) {
        pending.tyres = line.numberOr(std::max(0, tyreIndexForWords(line.value, line.rest)));
    } else if (isKey(line, "setup")) {
        pending.setup = line.number;
    } else if (isKey(line, "conditions")) {
        condition.conditions = line.numberOr(words.conditionsCode(line.value, true));
    } else if (isKey(line, "sky")) {
        condition.sky = line.numberOr(words.skyCode(line.value, true));
    } else if (isKey(line, "surface")) {
        condition.surface = line.numberOr(words.surfaceCode(line.value, true));
    } else if (isKey(line, "timeOfDay")) {
        condition.timeOfDay = line.numberOr(words.timeOfDayCode(line.value, true));
    } else if (isKey(line, "track")) {
        condition.track = line.numberOr(words.trackCode(line.value, true));
    } else if (isKey(line, "TrackName")) {
        pending.trackName = line.value;
    } else if (isKey(line, "Particles")) {
        pending.particles = line.value;
    } else if (isKey(line, "hotlap")) {
        pending.hotlap = line.number;
    } else if (isKey(line, "mechanics")) {
        pending.mechanics = line.number;
    } else if (isKey(line, "skill")) {
        pending.skill = line.numberOr(skillCodeForText(line.value));
    } else if (isKey(line, "service")) {
        pending.serviceMinutes = line.number;
    } else {
        return false;
    }
    return true;
}

StagePtr buildStage(Rally& rally, const DefinitionLine& line, const PendingValues& pending)
{
    const std::int32_t number = line.number;
    std::string displayName = line.rest;
    util::trimClassicSpace(displayName);
    auto stage = std::make_shared<Stage>(&rally, number, pending.weatherMode, pending.tyres, displayName);
    if (pending.setup >= 0) {
        stage->setSetupSlot(pending.setup);
    }
    if (pending.serviceMinutes > 0 && pending.mechanics > 0 && pending.skill > 0) {
        stage->setService(ServiceInfo(pending.mechanics, pending.skill,
                                      static_cast<float>(pending.serviceMinutes), false));
    }
    auto condition = std::make_shared<tracks::TrackCondition>(pending.condition);
    condition->stage = number;
    stage->setCondition(std::move(condition));
    if (!pending.trackName.empty() || !pending.particles.empty()) {
        auto track = std::make_shared<tracks::TrackOverride>();
        track->map = number;
        track->trackName = pending.trackName;
        track->particles = pending.particles;
        stage->setTrackOverride(std::move(track));
    }
    return stage;
}

} // namespace

bool Rally::loadConfig(const std::string& configPath)
{
    std::ifstream in = io::openInputStream(config::hostPath(configPath));
    if (!in.is_open()) {
        util::Log log;
        if (log.isEnabled()) {
            log << "zudo::rally::Rally::loadConfig() - Could not open config file " << configPath
                << util::endLog;
        }
        return false;
    }
    loadConfig(in);
    return true;
}

void Rally::loadConfig(std::istream& in)
{
    PendingValues pending;
    std::string text;
    while (std::getline(in, text)) {
        const std::optional<DefinitionLine> line = parseDefinitionLine(text);
        if (!line || applyValue(*line, pending) || !isKey(*line, "stage")) {
            continue;
        }
        if (pending.hotlap != 0) {
            isHotlap_ = true;
        }
        StagePtr stage = buildStage(*this, *line, pending);
        if (isHotlap_) {
            // A hotlap is the first stage read while "hotlap" is set, alone.
            clearStages();
            addStage(std::move(stage));
            return;
        }
        addStage(std::move(stage));
        pending.trackName.clear();
        pending.particles.clear();
        pending.serviceMinutes = 0;
    }
}

} // namespace zudo::rally
