#include "tracks/StageCatalogue.hpp"

#include <locale>

#include <boost/algorithm/string/predicate.hpp>

#include "config/SettingFiles.hpp"
#include "config/ValueText.hpp"
#include "io/IniFile.hpp"

namespace zudo::tracks {

namespace {

using WordMap = StageCatalogue::WordMap;

const WordMap& tintSets()
{
    static const WordMap words{{0, "M"}, {1, "N"}, {2, "E"}, {3, "O"}, {4, "S"}};
    return words;
}

const WordMap& skies()
{
    static const WordMap words{{0, "clear"}, {1, "partcloud"}, {2, "lightcloud"}, {3, "heavycloud"}};
    return words;
}

const WordMap& timesOfDay()
{
    static const WordMap words{{0, "morning"}, {1, "noon"}, {2, "evening"}, {3, "default"}};
    return words;
}

const WordMap& conditions()
{
    static const WordMap words{{0, "crisp"},     {1, "hazy"},      {2, "norain"},    {3, "lightrain"},
                               {4, "heavyrain"}, {5, "nosnow"},    {6, "lightsnow"}, {7, "heavysnow"},
                               {8, "lightfog"},  {9, "heavyfog"}};
    return words;
}

const WordMap& surfaces()
{
    static const WordMap words{{0, "dry"}, {1, "damp"}, {2, "wet"}};
    return words;
}

const WordMap& wears()
{
    static const WordMap words{{0, "new"}, {1, "normal"}, {2, "worn"}};
    return words;
}

const WordMap& weatherModes()
{
    static const WordMap words{{0, "Good"}, {1, "Random"}, {2, "Bad"}};
    return words;
}

const WordMap& builtInStageNames()
{
    static const WordMap names{
        {10, "Kaihuavaara"},
        {11, "Mustaselka"},
        {12, "Sikakama"},
        {13, "Autiovaara"},
        {14, "Kaihuavaara II"},
        {15, "Mustaselka II"},
        {16, "Sikakama II"},
        {17, "Autiovaara II"},
        {20, "Harwood Forest"},
        {21, "Falstone"},
        {22, "Chirdonhead"},
        {23, "Shepherds Shield"},
        {24, "Harwood Forest II"},
        {25, "Chirdonhead II"},
        {26, "Falstone II"},
        {27, "Shepherds Shield II"},
        {30, "Greenhills II"},
        {31, "NewBobs"},
        {32, "Greenhills"},
        {33, "Mineshaft"},
        {34, "East-West"},
        {35, "NewBobs II"},
        {36, "East-West II"},
        {37, "Mineshaft II"},
        {41, "Cote D'Arbroz"},
        {42, "Joux Verte"},
        {43, "Bisanne"},
        {44, "Joux Plane"},
        {45, "Joux Verte II"},
        {46, "Cote D'Arbroz II"},
        {47, "Bisanne II"},
        {48, "Joux Plane II"},
        {50, "Sipirkakim II"},
        {51, "Noiker"},
        {52, "Sipirkakim"},
        {53, "Pirka Menoko"},
        {54, "Tanner"},
        {55, "Noiker II"},
        {56, "Tanner II"},
        {57, "Pirka Menoko II"},
        {60, "Fraizer Wells II"},
        {61, "Fraizer Wells"},
        {62, "Prospect Ridge"},
        {63, "Diamond Creek"},
        {64, "Hualapai Nation"},
        {65, "Prospect Ridge II"},
        {66, "Diamond Creek II"},
        {67, "Hualapai Nation II"},
        {68, "Ceremony"},
        {69, "Service Park"},
        {71, "Rally School"},
        {72, "Rally Yard"},
        {73, "Handbrake Turn: Tarmac"},
        {74, "Special Stage Trial"},
        {75, "Scandinavian Flick"},
        {76, "Oversteer: Throttle Control"},
        {77, "Oversteer: Left Foot Braking"},
        {78, "Handbrake Turn: Gravel"},
        {79, "High Speed Passenger Ride"},
        {80, "Qualification Trial"},
        {81, "Start Up And Basic Controls"},
        {82, "Road Positioning and Gears"},
        {83, "Brake Test: Gravel"},
        {84, "Powerslide"},
        {85, "Basic Handling: Tarmac"},
        {86, "Brake Test: Tarmac"},
        {87, "Basic Driving and Changing Gear"},
        {88, "Soft Suspension"},
        {89, "Hard Suspension"},
        {90, "Rally School II"},
        {94, "Stryckovy okruh"},
        {107, "PTD Rally Sprint"},
    };
    return names;
}

std::string wordOf(const WordMap& words, std::int32_t code)
{
    const auto found = words.find(code);
    return found == words.end() ? std::string() : found->second;
}

void appendWords(const WordMap& words, std::deque<std::string>& list)
{
    for (const auto& [code, word] : words) {
        list.push_back(word);
    }
}

// Whether word begins entry, both upper-cased through the current locale's
// facet (looked up once per word: a lookup per character, as Boost's
// comparison makes it, cost more than the comparison).
bool beginsWithIgnoringCase(const std::string& entry, const std::string& word, const std::ctype<char>& letters)
{
    if (word.size() > entry.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (letters.toupper(entry[i]) != letters.toupper(word[i])) {
            return false;
        }
    }
    return true;
}

// The stage number of a Tracks.ini section name ("Map12", "map7b"), or 0 when
// the section names no stage.
std::int32_t stageOfSection(const std::string& section)
{
    if (section.size() < 4 || !boost::algorithm::istarts_with(section, "Map", std::locale::classic())) {
        return 0;
    }
    return config::leadingInteger(section.substr(3));
}

} // namespace

std::int32_t codeOfWord(const WordMap& words, const std::string& word, bool prefix)
{
    const std::locale current;
    const auto& letters = std::use_facet<std::ctype<char>>(current);
    for (const auto& [code, entry] : words) {
        if (prefix ? beginsWithIgnoringCase(entry, word, letters) : entry == word) {
            return code;
        }
    }
    return -1;
}

StageCatalogue& StageCatalogue::instance()
{
    static StageCatalogue catalogue(config::tracksIniPath());
    return catalogue;
}

StageCatalogue::StageCatalogue(const std::string& tracksIni) : stageNames_(builtInStageNames())
{
    completeFromTracksIni(tracksIni);
}

StageCatalogue::~StageCatalogue() = default;

void StageCatalogue::completeFromTracksIni(const std::string& tracksIni)
{
    const io::IniFile file(tracksIni);
    std::deque<std::string> sections;
    file.sectionNames(sections);
    for (const std::string& section : sections) {
        const std::int32_t number = stageOfSection(section);
        if (number <= 0) {
            continue;
        }
        std::string name = file.readString(section, "StageName", "");
        if (!name.empty()) {
            stageNames_[number] = std::move(name);
        }
    }
}

std::string StageCatalogue::tintSetWord(std::int32_t code) const { return wordOf(tintSets(), code); }
std::string StageCatalogue::skyWord(std::int32_t code) const { return wordOf(skies(), code); }
std::string StageCatalogue::timeOfDayWord(std::int32_t code) const { return wordOf(timesOfDay(), code); }
std::string StageCatalogue::conditionsWord(std::int32_t code) const { return wordOf(conditions(), code); }
std::string StageCatalogue::surfaceWord(std::int32_t code) const { return wordOf(surfaces(), code); }
std::string StageCatalogue::trackWord(std::int32_t code) const { return wordOf(wears(), code); }

std::string StageCatalogue::weatherModeWord(std::int32_t code, bool full) const
{
    const std::string word = wordOf(weatherModes(), code);
    return full || word.empty() ? word : word.substr(0, 1);
}

std::string StageCatalogue::stageName(std::int32_t number) const
{
    const std::string name = wordOf(stageNames_, number);
    return name.empty() ? "Stage " + std::to_string(number) : name;
}

std::int32_t StageCatalogue::tintSetCode(const std::string& word) const
{
    return codeOfWord(tintSets(), word, false);
}
std::int32_t StageCatalogue::skyCode(const std::string& word, bool prefix) const
{
    return codeOfWord(skies(), word, prefix);
}
std::int32_t StageCatalogue::timeOfDayCode(const std::string& word, bool prefix) const
{
    return codeOfWord(timesOfDay(), word, prefix);
}
std::int32_t StageCatalogue::conditionsCode(const std::string& word, bool prefix) const
{
    return codeOfWord(conditions(), word, prefix);
}
std::int32_t StageCatalogue::surfaceCode(const std::string& word, bool prefix) const
{
    return codeOfWord(surfaces(), word, prefix);
}
std::int32_t StageCatalogue::trackCode(const std::string& word, bool prefix) const
{
    return codeOfWord(wears(), word, prefix);
}
std::int32_t StageCatalogue::weatherModeCode(const std::string& word, bool prefix) const
{
    return codeOfWord(weatherModes(), word, prefix);
}

void StageCatalogue::tintSetWords(std::deque<std::string>& list) const { appendWords(tintSets(), list); }
void StageCatalogue::surfaceWords(std::deque<std::string>& list) const { appendWords(surfaces(), list); }
void StageCatalogue::trackWords(std::deque<std::string>& list) const { appendWords(wears(), list); }

} // namespace zudo::tracks
