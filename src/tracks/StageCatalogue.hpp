#pragma once
// The vocabulary of stages, weather and track settings: the small integer
// codes the game uses and their words, in both directions, and the names of
// the stages. Built once from fixed tables and completed with the
// "StageName" keys of Maps/Tracks.ini; immutable afterwards.

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace zudo::tracks {

class StageCatalogue {
public:
    using WordMap = std::map<std::int32_t, std::string>;

    // The catalogue of the process, completed from Maps/Tracks.ini in the
    // current directory on the first call.
    static StageCatalogue& instance();

    // A catalogue completed from the given Tracks.ini (tests, tools that look
    // at another installation). A missing file leaves the built-in names.
    explicit StageCatalogue(const std::string& tracksIni);
    virtual ~StageCatalogue();
    StageCatalogue(const StageCatalogue&) = delete;
    StageCatalogue& operator=(const StageCatalogue&) = delete;

    // Words by code; empty when the domain has no such code.
    std::string tintSetWord(std::int32_t code) const;
    std::string skyWord(std::int32_t code) const;
    std::string timeOfDayWord(std::int32_t code) const;
    std::string conditionsWord(std::int32_t code) const;
    std::string surfaceWord(std::int32_t code) const;
    std::string trackWord(std::int32_t code) const;
    // "Good", "Random", "Bad"; only the first letter when full is false.
    std::string weatherModeWord(std::int32_t code, bool full = true) const;
    // The stage's name, or "Stage " and the number when it has none.
    std::string stageName(std::int32_t number) const;

    // Codes by word; -1 when nothing matches. Exact matching compares case
    // sensitively; prefix matching accepts a word that begins the entry's
    // word, letter case ignored, and takes the lowest such code.
    std::int32_t tintSetCode(const std::string& word) const; // always exact
    std::int32_t skyCode(const std::string& word, bool prefix = false) const;
    std::int32_t timeOfDayCode(const std::string& word, bool prefix = false) const;
    std::int32_t conditionsCode(const std::string& word, bool prefix = false) const;
    std::int32_t surfaceCode(const std::string& word, bool prefix = false) const;
    std::int32_t trackCode(const std::string& word, bool prefix = false) const;
    std::int32_t weatherModeCode(const std::string& word, bool prefix = false) const;

    // Append the domain's words in ascending code order.
    void tintSetWords(std::deque<std::string>& list) const;
    void surfaceWords(std::deque<std::string>& list) const;
    void trackWords(std::deque<std::string>& list) const;

    // All stage names (built-in and from Tracks.ini), by number.
    const WordMap& stageNames() const { return stageNames_; }

private:
    void completeFromTracksIni(const std::string& tracksIni);

    WordMap stageNames_;
};

// The code of the first entry in ascending code order whose word matches
// (see StageCatalogue), or -1.
std::int32_t codeOfWord(const StageCatalogue::WordMap& words, const std::string& word, bool prefix);

} // namespace zudo::tracks
