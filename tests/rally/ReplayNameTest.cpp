// The name a replay is saved under: what was driven, by whom, how fast and
// when, safe as a file name.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "io/File.hpp"
#include "rally/ReplayManager.hpp"
#include "util/TimeText.hpp"

namespace {

using zudo::rally::ReplayManager;
using zudo::rally::StageTime;

std::unique_ptr<StageTime> result(float finish, const std::string& stageName = "Col de Turini",
                                  const std::string& driver = "Ann")
{
    auto time = std::make_unique<StageTime>(nullptr, 20, 0, 0, stageName);
    time->setCarSlot(3);
    time->setCarName("Car A");
    time->setDriver(driver);
    time->setFinishTime(finish);
    zudo::platform::CalendarTime date{};
    date.year = 2026;
    date.month = 12;
    date.day = 8;
    date.hour = 21;
    date.minute = 5;
    date.second = 9;
    time->setDate(date);
    return time;
}

// What the date part of a name becomes: the date and time text, made safe.
std::string datePart(const StageTime& time)
{
    return zudo::io::sanitizeFileName(zudo::util::formatDateTime(time.date()), '_');
}

TEST(ReplayName, DescribesTheDriveAndIsSafeAsAFileName)
{
    const auto finished = result(65.25F);
    // 65.25 s: the unsigned time text has a blank in its sign column.
    EXPECT_EQ(ReplayManager::replayName(*finished),
              "Col de Turini_Car A_slot3_Ann_ 01_05.250_" + datePart(*finished));

    const auto retired = result(0.0F);
    EXPECT_EQ(ReplayManager::replayName(*retired),
              "Col de Turini_Car A_slot3_Ann_DNF_" + datePart(*retired));

    const auto odd = result(0.0F, "Pass: Up/Down", "A:B/C\\D");
    const std::string name = ReplayManager::replayName(*odd);
    EXPECT_EQ(name.rfind("Pass_ Up_Down_Car A_slot3_A_B_C_D_DNF_", 0), 0U) << name;
    EXPECT_EQ(name.find_first_of(":/\\*?\"<>|"), std::string::npos) << "date and time too: " << name;
}

} // namespace
