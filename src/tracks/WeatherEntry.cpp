#include "tracks/WeatherEntry.hpp"

#include <istream>
#include <ostream>
#include <sstream>
#include <tuple>

#include "tracks/StageCatalogue.hpp"
#include "tracks/TextForms.hpp"

namespace zudo::legacy::support {

namespace {

auto orderKey(const WeatherEntry& e)
{
    return std::tie(e.stage, e.conditions, e.sky, e.timeOfDay, e.surface, e.tintSet);
}

void describeCode(std::ostream& out, const char* label, std::int32_t code, const std::string& word)
{
    out << "  " << label << " = " << code << " / " << word;
}

} // namespace

bool WeatherEntry::isGoodWeather() const
{
    return conditions == 0 || conditions == 1 || conditions == 2 || conditions == 5;
}

bool WeatherEntry::isHeavyWeather() const
{
    return conditions == 4 || conditions == 7 || conditions == 9;
}

std::string WeatherEntry::describe() const
{
    const tracks::StageCatalogue& catalogue = tracks::StageCatalogue::instance();
    std::ostringstream out;
    out.imbue(std::locale::classic());
    describeCode(out, "stage", stage, catalogue.stageName(stage));
    describeCode(out, "tintSet", tintSet, catalogue.tintSetWord(tintSet));
    describeCode(out, "sky", sky, catalogue.skyWord(sky));
    describeCode(out, "timeOfDay", timeOfDay, catalogue.timeOfDayWord(timeOfDay));
    describeCode(out, "conditions", conditions, catalogue.conditionsWord(conditions));
    describeCode(out, "surface", surface, catalogue.surfaceWord(surface));
    out << "  good weather = " << (isGoodWeather() ? "true" : "false");
    return out.str();
}

bool operator<(const WeatherEntry& a, const WeatherEntry& b) { return orderKey(a) < orderKey(b); }

bool operator==(const WeatherEntry& a, const WeatherEntry& b)
{
    return a.stage == b.stage && a.tintSet == b.tintSet && a.sky == b.sky &&
           a.timeOfDay == b.timeOfDay && a.conditions == b.conditions && a.surface == b.surface;
}

std::ostream& operator<<(std::ostream& out, const WeatherEntry& entry)
{
    tracks::writeCodes(out, {entry.tintSet, entry.sky, entry.timeOfDay, entry.conditions, entry.surface});
    return out;
}

std::istream& operator>>(std::istream& in, WeatherEntry& entry)
{
    tracks::readCodes(in, {&entry.tintSet, &entry.sky, &entry.timeOfDay, &entry.conditions, &entry.surface},
                      "operator>>(istream,WeatherEntry)", [&](const std::string& error) {
                          return "failed to de-serialize WeatherEntry " + std::to_string(entry.stage) + ": " +
                                 error;
                      });
    return in;
}

} // namespace zudo::legacy::support
