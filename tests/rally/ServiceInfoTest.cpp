#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "rally/ServiceInfo.hpp"

using zudo::rally::ServiceInfo;

namespace {

std::vector<int> minutesCycle(float start, bool forward, int steps)
{
    ServiceInfo service(4, 3, start, false);
    std::vector<int> seen;
    for (int i = 0; i < steps; ++i) {
        service.cycleMinutes(forward);
        seen.push_back(static_cast<int>(service.minutes()));
    }
    return seen;
}

} // namespace

TEST(ServiceInfo, MinutesStepByTheirSizeAndWrap)
{
    EXPECT_EQ(minutesCycle(5, true, 9), (std::vector<int>{10, 15, 20, 30, 40, 50, 60, 90, 120}));
    EXPECT_EQ(minutesCycle(120, true, 2), (std::vector<int>{180, 240}));
    EXPECT_EQ(minutesCycle(700, true, 2), (std::vector<int>{5, 10})); // 760 is beyond 720
    EXPECT_EQ(minutesCycle(720, true, 1), (std::vector<int>{5}));
    EXPECT_EQ(minutesCycle(60, true, 1), (std::vector<int>{90}));

    EXPECT_EQ(minutesCycle(30, false, 3), (std::vector<int>{20, 15, 10}));
    EXPECT_EQ(minutesCycle(5, false, 3), (std::vector<int>{720, 660, 600}));
    EXPECT_EQ(minutesCycle(180, false, 3), (std::vector<int>{120, 90, 60}));
    EXPECT_EQ(minutesCycle(0, false, 1), (std::vector<int>{720}));
    EXPECT_EQ(minutesCycle(0, true, 1), (std::vector<int>{5}));
}

TEST(ServiceInfo, MechanicsAndSkillWrap)
{
    ServiceInfo service(6, 1, 30, false);
    service.cycleMechanics(true);
    EXPECT_EQ(service.mechanics(), 1);
    service.cycleMechanics(false);
    EXPECT_EQ(service.mechanics(), 6);
    service.cycleSkill(false);
    EXPECT_EQ(service.skill(), 5);
    service.cycleSkill(true);
    EXPECT_EQ(service.skill(), 1);

    ServiceInfo none;
    none.cycleSkill(true);
    EXPECT_EQ(none.skill(), 1);
    none.cycleMechanics(false);
    EXPECT_EQ(none.mechanics(), 6);
}

TEST(ServiceInfo, HeldInRangeAndAvailableOnlyWhenComplete)
{
    EXPECT_EQ(ServiceInfo(100, 9, 5000.0F, false), ServiceInfo(6, 5, 720.0F, false));
    EXPECT_EQ(ServiceInfo(-1, -1, -1.0F, false), ServiceInfo());
    EXPECT_TRUE(ServiceInfo(4, 3, 30, false).isAvailable());
    EXPECT_FALSE(ServiceInfo(4, 3, 0, false).isAvailable());
    EXPECT_FALSE(ServiceInfo(0, 3, 30, false).isAvailable());
    EXPECT_FALSE(ServiceInfo(4, 0, 30, false).isAvailable());
    EXPECT_FALSE(ServiceInfo(4, 3, 30, true).isAvailable());
}

TEST(ServiceInfo, TextFormRoundTrips)
{
    std::ostringstream out;
    out << ServiceInfo(4, 5, 40.9F, true) << ServiceInfo();
    EXPECT_EQ(out.str(), " 4 5 40 1  0 0 0 0 ");

    std::istringstream in(out.str());
    ServiceInfo first;
    ServiceInfo second(1, 1, 5, true);
    in >> first >> second;
    EXPECT_FALSE(in.fail());
    EXPECT_EQ(first, ServiceInfo(4, 5, 40, true));
    EXPECT_EQ(second, ServiceInfo());

    std::istringstream used(" 2 2 10 7 ");
    ServiceInfo anyNonZero;
    used >> anyNonZero;
    EXPECT_TRUE(anyNonZero.used());
}

TEST(ServiceInfo, ATruncatedFormFailsTheStreamAndKeepsWhatWasRead)
{
    std::istringstream in(" 3 4 x 1 ");
    in.exceptions(std::ios::goodbit);
    ServiceInfo service(1, 1, 60, true);
    in >> service;
    EXPECT_TRUE(in.fail());
    EXPECT_EQ(in.exceptions(), std::ios::goodbit); // restored, nothing thrown
    EXPECT_EQ(service.mechanics(), 3);
    EXPECT_EQ(service.skill(), 4);
    EXPECT_EQ(service.minutes(), 60.0F);
    EXPECT_TRUE(service.used());
}
