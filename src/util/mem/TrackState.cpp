#include "util/mem/TrackState.hpp"

#include <sstream>

#include "util/mem/Bindings.hpp"

namespace zudo::util::mem {

TrackParameters trackParameters()
{
    const TrackObjectView track(bindings::trackObject.object());
    if (track.isNull()) {
        return TrackParameters();
    }
    return TrackParameters(track.parameters());
}

std::string trackIniValue(const std::string& section, const std::string& key)
{
    const TrackParameters parameters = trackParameters();
    if (parameters.isNull()) {
        return {};
    }
    return TrackIniHandler(parameters.trackIniHandler()).value(section, key);
}

std::string TrackParameters::describe() const
{
    std::ostringstream text;
    text << "  phase = " << phase() << "  carIndex = " << carIndex() << "  stage = " << stage()
         << "  tintSet = " << tintSet() << "  trackExt = " << trackExt()
         << "  physicsExt = " << physicsExt() << "  collisionExt = " << collisionExt()
         << "  driveLineExt = " << driveLineExt() << "  materialExt = " << materialExt()
         << "  brakeWallExt = " << brakeWallExt() << "  scriptExt = " << scriptExt()
         << "  fenceDataExt = " << fenceDataExt() << "  cloudsFilename = " << cloudsFilename()
         << "  skyBoxesFilename = " << skyBoxesFilename() << "  trackIniHandler: " << '\n'
         << TrackIniHandler(trackIniHandler()).describe();
    return text.str();
}

std::string TrackIniHandler::value(const std::string& section, const std::string& key) const
{
    if (isNull() || values().isNull()) {
        return {};
    }
    const msvc::MapReader sections(values() + Record::sectionsOffset, sectionValueSize);
    const HostAddress sectionValue = sections.findStringKey(section);
    if (sectionValue.isNull()) {
        return {};
    }
    const HostAddress keys = sectionValue + msvc::string_layout::size + sectionKeysOffset;
    const HostAddress entry = msvc::MapReader(keys, msvc::stringPairSize).findStringKey(key);
    if (entry.isNull()) {
        return {};
    }
    return msvc::readString(entry + msvc::mappedOffsetAfterStringKey);
}

namespace {

void describeRecord(std::ostringstream& text, const char* label, HostAddress record)
{
    using Record = TrackIniHandler::Record;
    text << label;
    if (record.isNull()) {
        text << "  (none)\n";
        return;
    }
    text << "  mode = " << record.read<std::int32_t>(Record::modeOffset)
         << "  fileName = " << msvc::readString(record + Record::fileNameOffset)
         << "  fileMode = " << record.read<std::int32_t>(Record::fileModeOffset)
         << "  isFileIsReadOnly = " << record.read<std::int32_t>(Record::readOnlyOffset) << '\n';
}

} // namespace

std::string TrackIniHandler::describe() const
{
    std::ostringstream text;
    if (isNull()) {
        text << "backup:  (none)\nvalues:  (none)\n";
        return text.str();
    }
    describeRecord(text, "backup:", backup());
    describeRecord(text, "values:", values());
    return text.str();
}

bool openSavedGame(HostAddress file, const std::string& name)
{
    const std::optional<std::int32_t> result = bindings::savedGameOpen(file, name.c_str());
    return result.has_value() && *result == 1;
}

} // namespace zudo::util::mem
