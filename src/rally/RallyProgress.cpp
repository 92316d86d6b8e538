// Saving and loading the progress of a rally: one line per stage with its
// result, driven flag, setup and service; and resetting stages.

#include <locale>
#include <sstream>

#include "io/FileStreams.hpp"
#include "rally/Rally.hpp"
#include "rally/RallyFile.hpp"

namespace zudo::rally {

bool Rally::hasProgress() const
{
    return !isHotlap_ && ProgressFile(*this).exists();
}

std::optional<platform::CalendarTime> Rally::progressDate() const
{
    if (isHotlap_) {
        return std::nullopt;
    }
    return ProgressFile(*this).lastWriteTime();
}

bool Rally::saveProgress()
{
    lastFileFailure_.clear();
    if (isHotlap_) {
        return fileFailure("A hotlap has no progress to save");
    }
    io::ReplacingFile file(ProgressFile(*this).fullPath());
    std::ostream& out = file.stream();
    out.imbue(std::locale::classic());
    for (const StagePtr& stage : stages_) {
        out << stage->formatVersion() << ' ';
        stage->writeProgress(out);
        out << '\n';
    }
    if (!file.commit()) {
        return fileFailure(file.failure());
    }
    if (damage_) {
        saveDamage(); // the progress stands without it; lastFileFailure() tells
    }
    return true;
}

// Reads the lines into the scratch stages in order. False when a line's
// version is missing or unknown or its stage cannot be read, or when no line
// was read at all; scratch then holds nothing that may be applied.
bool Rally::readProgressLines(std::istream& in, std::vector<StagePtr>& scratch) const
{
    std::size_t filled = 0;
    bool complete = true;
    std::string text;
    while (filled < scratch.size() && io::readTextLine(in, text)) {
        std::istringstream line(text);
        line.imbue(std::locale::classic());
        int version = 0;
        if (!(line >> version) || !StageTime::isKnownFormatVersion(version)) {
            complete = false;
            continue;
        }
        Stage& stage = *scratch[filled];
        stage.setFormatVersion(version);
        stage.readProgress(line);
        complete = complete && !line.fail();
        ++filled;
    }
    scratch.resize(filled);
    return complete && filled > 0;
}

bool Rally::loadProgress()
{
    lastFileFailure_.clear();
    if (!hasProgress()) {
        return fileFailure(isHotlap_ ? "A hotlap has no progress to load" : "No progress of " + name_ + " is saved");
    }
    // Each scratch stage reads into condition and track objects of its own:
    // the rally's stages must not change before the whole file is checked.
    std::vector<StagePtr> scratch;
    for (const StagePtr& stage : stages_) {
        auto copy = std::make_shared<Stage>(*stage);
        copy->detachSharedParts();
        scratch.push_back(std::move(copy));
    }
    const ProgressFile file(*this);
    std::ifstream in = io::openInputStream(file.fullPath(), io::StreamMode::Binary);
    if (!in.is_open()) {
        return fileFailure("Could not read " + file.fileName() + ": the file cannot be opened");
    }
    if (!readProgressLines(in, scratch)) {
        return fileFailure("Could not read " + file.fileName() + ": the file is damaged; nothing was changed");
    }
    for (std::size_t index = 0; index < scratch.size(); ++index) {
        if (scratch[index]->stageNumber() != stages_[index]->stageNumber()) {
            return fileFailure("Could not load " + file.fileName() +
                               ": it was saved for other stages; nothing was changed");
        }
    }
    for (std::size_t index = 0; index < scratch.size(); ++index) {
        stages_[index] = scratch[index];
    }
    ++stageGeneration_;
    loadRecords();
    loadDamage();
    return true;
}

void Rally::resetStage(Stage& stage)
{
    stage.reset();
}

void Rally::resetAll()
{
    for (const StagePtr& stage : stages_) {
        stage->reset();
    }
    rallyDamage();
    resetDamage();
}

} // namespace zudo::rally
