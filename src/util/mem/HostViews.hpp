#pragma once
// Typed views of the host objects the system reaches: only the fields it
// relies on, each at its byte offset in the host object. The objects' other
// contents are the host's. Where to find each object is in Bindings.hpp.

#include <cstdint>
#include <string>

#include "util/mem/HostAddress.hpp"
#include "util/mem/MsvcLayout.hpp"

namespace zudo::util::mem {

// The game object (pointer at 0x7EAC48).
class GameObjectView : public HostView {
public:
    using HostView::HostView;
    static constexpr std::uint32_t modeOffset = 0x728; // int32: zudo::GameMode
    std::int32_t mode() const { return field<std::int32_t>(modeOffset); }
};

// The track object (pointer at 0x7EA678).
class TrackObjectView : public HostView {
public:
    using HostView::HostView;
    static constexpr std::uint32_t parametersOffset = 0x70; // pointer: the parameter block
    HostAddress parameters() const { return field<HostAddress>(parametersOffset); }
};

// The language object (at 0x8935E0 itself).
class LanguageObjectView : public HostView {
public:
    using HostView::HostView;
    static constexpr std::uint32_t textAttributeOffset = 16; // int16, copied into text entries
    static constexpr std::uint32_t languageOffset = 20;      // int32; 7 or more counts as 0
    std::int16_t textAttribute() const { return field<std::int16_t>(textAttributeOffset); }
    std::int32_t language() const { return field<std::int32_t>(languageOffset); }
};

// A text entry of the game's menus, which the plug-in fills with a
// translation: the key (pointer to a narrow text; null for an entry without
// text), the text (pointer to UTF-16 characters) and an attribute the game
// takes from its language object.
class HostTextEntryView : public HostView {
public:
    using HostView::HostView;
    static constexpr std::uint32_t keyOffset = 0;       // pointer to char
    static constexpr std::uint32_t textOffset = 4;      // pointer to char16_t
    static constexpr std::uint32_t attributeOffset = 8; // int32
    HostAddress key() const { return field<HostAddress>(keyOffset); }
    HostAddress text() const { return field<HostAddress>(textOffset); }
    std::int32_t attribute() const { return field<std::int32_t>(attributeOffset); }
    void setText(HostAddress text) const { setField(textOffset, text); }
    void setAttribute(std::int32_t attribute) const { setField(attributeOffset, attribute); }
};

// The stage-start record (at 0x16607F8 itself): 32-bit ints.
class StageStartRecordView : public HostView {
public:
    using HostView::HostView;
    static constexpr std::uint32_t stageOffset = 12;
    static constexpr std::uint32_t carSlotOffset = 16;
    static constexpr std::uint32_t tintSetOffset = 24;
    static constexpr std::uint32_t transmissionOffset = 28; // player 0; four per-player ints
    static constexpr std::uint32_t resetToMinusOneOffset = 48;
    static constexpr std::uint32_t tyresOffset = 64;
    static constexpr std::uint32_t weatherModeOffset = 80;
    static constexpr std::uint32_t damageLevelOffset = 88; // 0 to 3
    static constexpr std::uint32_t setupSlotOffset = 240;
    static constexpr std::uint32_t currentSetupFlagOffset = 244;
    static constexpr std::uint32_t furtherSetupSlotOffset = 512;
    static constexpr std::uint32_t gearboxPreferenceOffset = 1700;

    std::int32_t get(std::uint32_t offset) const { return field<std::int32_t>(offset); }
    void set(std::uint32_t offset, std::int32_t value) const { setField(offset, value); }
};

// The weather control object (pointer at 0x7C36A8).
class WeatherControlView : public HostView {
public:
    using HostView::HostView;
    static constexpr std::uint32_t stageOffset = 16;            // int32
    static constexpr std::uint32_t goodIndexesOffset = 72;      // pointer to int16 indexes
    static constexpr std::uint32_t badIndexesOffset = 76;       // pointer to int16 indexes
    static constexpr std::uint32_t goodCountOffset = 80;        // int32
    static constexpr std::uint32_t badCountOffset = 84;         // int32
    static constexpr std::uint32_t clearedForReplayOffset = 92; // int32, set to 0 before a replay
};

// The game-state object (pointer at 0x165FA90).
class GameStateView : public HostView {
public:
    using HostView::HostView;
    static constexpr std::uint32_t setupScreenFlagOffset = 1940; // int32, 0 before the setup screen
    static constexpr std::uint32_t subObjectOffset = 3224;       // pointer; its first int cleared too
};

// The object prepared for driving (pointer at 0x7CF398).
class StagePreparationView : public HostView {
public:
    using HostView::HostView;
    static constexpr std::uint32_t innerObjectOffset = 4;  // pointer (its second 32-bit word)
    static constexpr std::uint32_t innerClearedOffset = 35328; // int32 in the inner object
};

// The track-loading parameter block (track object +0x70). Strings are MSVC
// strings (28 bytes) and are copied.
class TrackParameters : public HostView {
public:
    using HostView::HostView;
    static constexpr std::uint32_t phaseOffset = 0x10;
    static constexpr std::uint32_t carIndexOffset = 0x1C;
    static constexpr std::uint32_t stageOffset = 0x20;
    static constexpr std::uint32_t tintSetOffset = 0x24;
    static constexpr std::uint32_t trackIniHandlerOffset = 0x2C; // pointer
    static constexpr std::uint32_t trackExtOffset = 0x30;
    static constexpr std::uint32_t physicsExtOffset = 0x4C;
    static constexpr std::uint32_t collisionExtOffset = 0x68;
    static constexpr std::uint32_t driveLineExtOffset = 0x84;
    static constexpr std::uint32_t materialExtOffset = 0xA0;
    static constexpr std::uint32_t brakeWallExtOffset = 0xBC;
    static constexpr std::uint32_t scriptExtOffset = 0xD8;
    static constexpr std::uint32_t fenceDataExtOffset = 0xF4;
    static constexpr std::uint32_t cloudsFilenameOffset = 0x110;
    static constexpr std::uint32_t skyBoxesFilenameOffset = 0x12C;
    static constexpr std::uint32_t size = skyBoxesFilenameOffset + msvc::string_layout::size;

    std::int32_t phase() const { return field<std::int32_t>(phaseOffset); }
    std::int32_t carIndex() const { return field<std::int32_t>(carIndexOffset); }
    std::int32_t stage() const { return field<std::int32_t>(stageOffset); }
    std::int32_t tintSet() const { return field<std::int32_t>(tintSetOffset); }
    HostAddress trackIniHandler() const { return field<HostAddress>(trackIniHandlerOffset); }
    std::string trackExt() const { return text(trackExtOffset); }
    std::string physicsExt() const { return text(physicsExtOffset); }
    std::string collisionExt() const { return text(collisionExtOffset); }
    std::string driveLineExt() const { return text(driveLineExtOffset); }
    std::string materialExt() const { return text(materialExtOffset); }
    std::string brakeWallExt() const { return text(brakeWallExtOffset); }
    std::string scriptExt() const { return text(scriptExtOffset); }
    std::string fenceDataExt() const { return text(fenceDataExtOffset); }
    std::string cloudsFilename() const { return text(cloudsFilenameOffset); }
    std::string skyBoxesFilename() const { return text(skyBoxesFilenameOffset); }

    // One line: "  phase = ..." through "  skyBoxesFilename = ...", then
    // "  trackIniHandler: ", an end of line and the handler's own text.
    std::string describe() const;

private:
    std::string text(std::uint32_t offset) const { return msvc::readString(address() + offset); }
};
static_assert(TrackParameters::size == 0x148, "the last string ends the block");

// The track ini handler (parameter block +0x2C): the values of the track's
// ini file and a backup copy, each in a record of this layout:
//   +0   mode (int32)
//   +4   map from section name (string) to section record
//   +16  file name (string)
//   +44  file mode (int32)
//   +48  read-only flag (int32, 0 or 1)
// A section record holds the map from key to value (both strings) at +0.
class TrackIniHandler : public HostView {
public:
    using HostView::HostView;
    static constexpr std::uint32_t valuesOffset = 0; // pointer to the values record
    static constexpr std::uint32_t backupOffset = 4; // pointer to the backup record

    struct Record {
        static constexpr std::uint32_t modeOffset = 0;
        static constexpr std::uint32_t sectionsOffset = 4;
        static constexpr std::uint32_t fileNameOffset = 16;
        static constexpr std::uint32_t fileModeOffset = 44;
        static constexpr std::uint32_t readOnlyOffset = 48;
        static constexpr std::uint32_t size = 52;
    };
    static constexpr std::uint32_t sectionValueSize =
        msvc::string_layout::size + msvc::map_layout::size; // key, then the section record
    static constexpr std::uint32_t sectionKeysOffset = 0;  // in the section record

    HostAddress values() const { return field<HostAddress>(valuesOffset); }
    HostAddress backup() const { return field<HostAddress>(backupOffset); }

    // The value of key in section; empty when either is missing.
    std::string value(const std::string& section, const std::string& key) const;

    // "backup:" and "values:", each with "  mode = ", "  fileName = ",
    // "  fileMode = " and "  isFileIsReadOnly = ", one line each.
    std::string describe() const;
};
static_assert(TrackIniHandler::Record::fileModeOffset ==
              TrackIniHandler::Record::fileNameOffset + msvc::string_layout::size);
static_assert(TrackIniHandler::sectionValueSize == 40);

} // namespace zudo::util::mem
