#pragma once
// The service allowance of a stage: how many mechanics of which skill may work
// on the car for how many minutes before the stage, and whether the service
// has been taken in the current attempt. All zero: the stage has no service.

#include <istream>
#include <ostream>

namespace zudo::rally {

class ServiceInfo {
public:
    static constexpr int mostMechanics = 6;
    static constexpr int longestMinutes = 720;

    ServiceInfo() = default;
    // Values out of range are held at the nearest allowed one (see setters).
    ServiceInfo(int mechanics, int skill, float minutes, bool used);

    int mechanics() const { return mechanics_; }
    int skill() const { return skill_; }
    float minutes() const { return minutes_; }
    bool used() const { return used_; }

    // 0 (none) to 6.
    void setMechanics(int mechanics);
    // 0 (none) to 5.
    void setSkill(int skill);
    // 0 (none) to 720; a value that is not a number counts as 0.
    void setMinutes(float minutes);
    void setUsed(bool used) { used_ = used; }

    // Time, mechanics and skill granted, and not used yet.
    bool isAvailable() const;

    // The steps the dialogs offer. Minutes move by 5, 10, 30 or 60 depending
    // on the value and wrap between 5 and 720; mechanics wrap in 1..6, skill
    // in 1..5.
    void cycleMinutes(bool forward);
    void cycleMechanics(bool forward);
    void cycleSkill(bool forward);

    bool operator==(const ServiceInfo&) const = default;

private:
    int mechanics_ = 0;
    int skill_ = 0;
    float minutes_ = 0.0F;
    bool used_ = false;
};

// Saved text form: " mechanics skill minutes used " (minutes cut to whole
// minutes, used as 1 or 0).
std::ostream& operator<<(std::ostream& out, const ServiceInfo& service);
// Reads the saved form; a failure is logged and leaves the stream failed. The
// values read before the failure are kept.
std::istream& operator>>(std::istream& in, ServiceInfo& service);

} // namespace zudo::rally
