#pragma once
// Service between stages: the allowance that applies (the stage's in a rally,
// the settings' for hotlaps), the car damage record serviced, the game's
// service park with the repair clock, and the penalty for running over.

#include <cstdint>
#include <memory>
#include <string>

#include "rally/ServiceInfo.hpp"
#include "rally/Stage.hpp"
#include "util/mem/HostAddress.hpp"

namespace zudo::rally {

class ServiceManager {
public:
    static ServiceManager& instance();

    // The stage about to be driven (or serviced); sets pending.
    void setCurrentStage(const StagePtr& stage);
    const StagePtr& currentStage() const;
    void setCarSlot(int slot);
    int carSlot() const;

    // The current stage's allowance in a rally, else the settings' allowance
    // (the one the service park dialog edits for hotlaps).
    ServiceInfo& currentAllowance();
    // The rally's damage record, or the manager's own for hotlaps; null when
    // the game cannot make one.
    util::mem::HostAddress currentDamageRecord();
    // The allowance is available, and the stage is a hotlap's or already
    // driven (or there is no stage).
    bool serviceAvailable();

    float penalty() const;
    // Stores the penalty; adds it to the current stage when it is a rally's.
    void setPenalty(float seconds);

    // Repairs the current damage record; false when that failed.
    bool resetCarDamage();
    // Opens the game's service park. False, with a reason in failureText()
    // and no call into the game, when the game's service park cannot be
    // reached in this build.
    bool openServicePark();
    const std::string& failureText() const;
    // Called when the player leaves the service park.
    void endService();

    // From setCurrentStage until the game reports the end of the service.
    bool pending() const;
    // The state of a new manager, for a new game (the simulator's runs,
    // tests): settings read again, no stage, no penalty, nothing held in the
    // game, and the game's listeners registered anew.
    void restart();

    // "Inexperienced" ... "Expert"; the name of 1 for codes outside 1..5.
    static std::string skillName(int skill);
    // Penalty seconds for a remaining repair time (negative: over): 10 for
    // every whole minute over the allowance.
    static float penaltyFor(float remainingSeconds);
    // The allowance of hotlaps as [Service] of Zuzuzevo.ini gives it.
    static ServiceInfo allowanceFromSettings();

private:
    friend struct ServiceHostCalls; // the routines the game calls
    struct State;

    ServiceManager();
    ~ServiceManager();

    bool buildServiceMenu();
    void prepareHostForService(util::mem::HostAddress record);
    // The service menu's action; 0 or the game's error code.
    std::int32_t startRepair();
    // A frame of the service screen's repair clock.
    void clockFrame(util::mem::HostAddress clock, float seconds);
    // The game raised the service's end event while the repair ran.
    void serviceEnded();
    void chargeRepair(float remainingSeconds);
    void damageChanged(std::int32_t value);
    void hostReports(std::int32_t value, bool endsOnAbandon);

    std::unique_ptr<State> state_;
};

} // namespace zudo::rally
