// The service manager's rules that need no game: the allowance that applies
// (the rally stage's, or the settings' for hotlaps), when a service is
// offered, where a penalty goes and what an overrun costs. Both builds; the
// game's service park is not there, so nothing is handed to it.

#include <cmath>
#include <limits>
#include <string>

#include "RallyFixture.hpp"
#include "rally/ReplayManager.hpp"
#include "rally/ServiceManager.hpp"

namespace {

using zudo::rally::RallyPtr;
using zudo::rally::ServiceInfo;
using zudo::rally::ServiceManager;

class ServiceRules : public zudo::test::RallyTest {
protected:
    void SetUp() override
    {
        RallyTest::SetUp();
        manager().restart();
    }
    void TearDown() override
    {
        manager().restart();
        RallyTest::TearDown();
    }
    ServiceManager& manager() { return ServiceManager::instance(); }

    // The hotlap allowance after [Service] was written with these lines.
    ServiceInfo allowanceWith(const std::string& lines)
    {
        host.write("Plugins/Zuzuzevo/Zuzuzevo.ini", "[Service]\n" + lines);
        manager().restart();
        manager().setCurrentStage(hotlap->stage(0));
        return manager().currentAllowance();
    }

    RallyPtr hotlap = std::make_shared<zudo::rally::Rally>(20, 0, 0);
};

TEST_F(ServiceRules, PenaltyIsTenSecondsForEveryWholeMinuteOver)
{
    struct Case {
        float remaining;
        float penalty;
    };
    for (const Case c : {Case{0, 0}, Case{300, 0}, Case{-1, 0}, Case{-59, 0}, Case{-59.99F, 0},
                         Case{-60, 10}, Case{-61, 10}, Case{-119, 10}, Case{-120, 20}, Case{-150, 20},
                         Case{-3600, 600}, Case{std::numeric_limits<float>::quiet_NaN(), 0}}) {
        SCOPED_TRACE(c.remaining);
        EXPECT_EQ(ServiceManager::penaltyFor(c.remaining), c.penalty);
    }
}

TEST_F(ServiceRules, HotlapsUseTheAllowanceOfTheSettings)
{
    struct Case {
        const char* lines;
        ServiceInfo expected;
        bool available;
    };
    const Case cases[] = {
        {"", ServiceInfo(4, 3, 40, false), true}, // defaults: 4 Competent mechanics, 40 minutes
        {"AllowedRepairTime=25\nSkill=skil\nMechanics=2\n", ServiceInfo(2, 4, 25, false), true},
        {"Skill=Master\n", ServiceInfo(4, 0, 40, false), false}, // no skill of that name
        {"Skill=EXP\n", ServiceInfo(4, 5, 40, false), true},
        {"AllowedRepairTime=abc\nMechanics=x\n", ServiceInfo(0, 3, 0, false), false},
        {"AllowedRepairTime=-30\nMechanics=-2\n", ServiceInfo(0, 3, 0, false), false},
        {"AllowedRepairTime=99999\nMechanics=99\n", ServiceInfo(6, 3, 720, false), true},
        {"AllowedRepairTime=15 minutes\nMechanics=3 men\n", ServiceInfo(3, 3, 15, false), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        EXPECT_EQ(allowanceWith(c.lines), c.expected);
        EXPECT_EQ(manager().serviceAvailable(), c.available);
        EXPECT_EQ(ServiceManager::allowanceFromSettings(), c.expected);
    }
}

TEST_F(ServiceRules, ARallyStageOffersItsOwnServiceOnceDriven)
{
    const RallyPtr rally = rallyFrom("mechanics 2\nskill Skilled\nservice 30\nstage 20 A\nstage 21 B\n");
    manager().setCurrentStage(rally->stage(0));
    EXPECT_EQ(&manager().currentAllowance(), &rally->stage(0)->service());
    EXPECT_FALSE(manager().serviceAvailable()) << "not driven yet";
    rally->stage(0)->setDriven(true);
    EXPECT_TRUE(manager().serviceAvailable());
    rally->stage(0)->service().setUsed(true);
    EXPECT_FALSE(manager().serviceAvailable()) << "used in this attempt";

    manager().setCurrentStage(rally->stage(1));
    rally->stage(1)->setDriven(true);
    EXPECT_FALSE(manager().serviceAvailable()) << "a stage without service (minutes 0)";

    manager().setCurrentStage(nullptr);
    EXPECT_EQ(manager().currentAllowance(), ServiceInfo(4, 3, 40, false)) << "the settings' allowance";
}

TEST_F(ServiceRules, APenaltyIsAddedToARallyStageButNotToAHotlap)
{
    const RallyPtr rally = rallyFrom("stage 20 A\n");
    manager().setCurrentStage(rally->stage(0));
    manager().setPenalty(10);
    manager().setPenalty(20);
    EXPECT_EQ(manager().penalty(), 20.0F);
    EXPECT_EQ(rally->stage(0)->penalty(), 30.0F);

    manager().setCurrentStage(hotlap->stage(0));
    manager().setPenalty(10);
    EXPECT_EQ(manager().penalty(), 10.0F);
    EXPECT_EQ(hotlap->stage(0)->penalty(), 0.0F);
}

TEST_F(ServiceRules, WithoutTheGamesServiceParkNothingIsOpened)
{
    const RallyPtr rally = rallyFrom("mechanics 2\nskill 3\nservice 30\nstage 20 A\n");
    rally->stage(0)->setDriven(true);
    manager().setCurrentStage(rally->stage(0));
    EXPECT_FALSE(manager().openServicePark());
    EXPECT_EQ(manager().failureText().rfind("The game's service park cannot be reached", 0), 0U)
        << manager().failureText();
    EXPECT_FALSE(rally->stage(0)->service().used());
    EXPECT_FALSE(rally->hasRallyDamage()) << "no damage record was made for it";
}

TEST_F(ServiceRules, ReplaysWithoutTheGameReportFailureAndCallNothing)
{
    auto time = std::make_unique<zudo::rally::StageTime>(nullptr, 20, 0, 0, "A");
    time->setFinishTime(61.5F);
    zudo::rally::ReplayManager& replays = zudo::rally::ReplayManager::instance();
    replays.setLastResult(std::move(time));
    EXPECT_TRUE(replays.hasReplay());
    EXPECT_FALSE(replays.saveReplay());
    EXPECT_EQ(replays.playReplay(), 0);
    zudo::rally::switchReplayMenuEntries(1);
    replays.setLastResult(nullptr);
    EXPECT_FALSE(replays.hasReplay());
}

} // namespace
