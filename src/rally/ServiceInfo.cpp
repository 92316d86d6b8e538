#include "rally/ServiceInfo.hpp"

#include <algorithm>
#include <cmath>

#include "rally/Names.hpp"
#include "rally/Times.hpp"
#include "tracks/TextForms.hpp"

namespace zudo::rally {

namespace {

// Wraps a stepped value back into first..last: below first to last, above
// last to first.
int wrapped(int value, int first, int last)
{
    if (value < first) {
        return last;
    }
    if (value > last) {
        return first;
    }
    return value;
}

int minutesStep(int minutes, bool forward)
{
    // Going back uses the step that going forward would have used to arrive.
    const int scale = forward ? 2 : 3;
    if (minutes >= 60 * scale) {
        return 60;
    }
    if (minutes >= 30 * scale) {
        return 30;
    }
    if (minutes >= 10 * scale) {
        return 10;
    }
    return 5;
}

} // namespace

ServiceInfo::ServiceInfo(int mechanics, int skill, float minutes, bool used) : used_(used)
{
    setMechanics(mechanics);
    setSkill(skill);
    setMinutes(minutes);
}

void ServiceInfo::setMechanics(int mechanics)
{
    mechanics_ = std::clamp(mechanics, 0, mostMechanics);
}

void ServiceInfo::setSkill(int skill)
{
    skill_ = std::clamp(skill, 0, highestSkill);
}

void ServiceInfo::setMinutes(float minutes)
{
    minutes_ = std::isnan(minutes) ? 0.0F : std::clamp(minutes, 0.0F, float(longestMinutes));
}

bool ServiceInfo::isAvailable() const
{
    return minutes_ > 0.0F && mechanics_ > 0 && skill_ > 0 && !used_;
}

void ServiceInfo::cycleMinutes(bool forward)
{
    const int minutes = wholeSeconds(minutes_);
    const int step = minutesStep(minutes, forward);
    const int next = forward ? minutes + step : minutes - step;
    minutes_ = float(next <= 0 ? longestMinutes : next > longestMinutes ? 5 : next);
}

void ServiceInfo::cycleMechanics(bool forward)
{
    mechanics_ = wrapped(mechanics_ + (forward ? 1 : -1), 1, mostMechanics);
}

void ServiceInfo::cycleSkill(bool forward)
{
    skill_ = wrapped(skill_ + (forward ? 1 : -1), lowestSkill, highestSkill);
}

std::ostream& operator<<(std::ostream& out, const ServiceInfo& service)
{
    out << ' ' << service.mechanics() << ' ' << service.skill() << ' '
        << wholeSeconds(service.minutes()) << ' ' << (service.used() ? 1 : 0) << ' ';
    return out;
}

std::istream& operator>>(std::istream& in, ServiceInfo& service)
{
    tracks::readThrowing(
        in, "operator>>(istream,ServiceInfo)",
        [](const std::string& error) { return "failed to de-serialize ServiceInfo: " + error; },
        [&] {
            int mechanics = 0;
            int skill = 0;
            int minutes = 0;
            int used = 0;
            in >> mechanics;
            service.setMechanics(mechanics);
            in >> skill;
            service.setSkill(skill);
            in >> minutes;
            service.setMinutes(float(minutes));
            in >> used;
            service.setUsed(used != 0);
        });
    return in;
}

} // namespace zudo::rally
