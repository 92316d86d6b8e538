#include <random>
#include <sstream>

#include "RallyFixture.hpp"

using zudo::rally::ServiceInfo;
using zudo::rally::Stage;
using zudo::rally::StageTime;

namespace {

using namespace std::string_literals;

// 2024-03-07 17:10:41.500 as a file time: 133543050415000000.
zudo::platform::CalendarTime sampleDate()
{
    zudo::platform::CalendarTime date;
    date.year = 2024;
    date.month = 3;
    date.day = 7;
    date.dayOfWeek = 4;
    date.hour = 17;
    date.minute = 10;
    date.second = 41;
    date.milliseconds = 500;
    return date;
}

void fillSample(StageTime& time)
{
    time.setWeatherMode(2);
    time.setSplit(0, 30.5F);
    time.setSplit(1, 61.2345F);
    time.setFinishTime(95.125F);
    time.setPenalty(10.7F);
    time.setTyres(3);
    time.setDate(sampleDate());
    time.setCarSlot(5);
    time.setCarName("Subaru Impreza 2003");
    time.setSetupName("Default");
    time.setDisplayName("Shepherds Shield");
    time.setDriver("Ann");
    auto& condition = *time.condition();
    condition.tintSet = 0;
    condition.sky = 1;
    condition.timeOfDay = 2;
    condition.conditions = 3;
    condition.surface = 1;
    condition.track = 2;
}

const std::string head = "23 2 30500 61234 95125 ";
const std::string middle = "3 133543050415000000 5 Subaru Impreza 2003\0Default\0Shepherds Shield\0Ann\0"s;

std::string written(const StageTime& time)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << time;
    return out.str();
}

StageTime readBack(const std::string& text, int version)
{
    StageTime time;
    time.setFormatVersion(version);
    std::istringstream in(text);
    in >> time;
    EXPECT_FALSE(in.fail()) << text;
    return time;
}

} // namespace

class TextForms : public zudo::test::RallyTest {};

TEST_F(TextForms, StageTimesAreWrittenForTheirVersion)
{
    StageTime time(nullptr, 23, 0, 0, "");
    fillSample(time);
    time.setFormatVersion(1);
    EXPECT_EQ(written(time), head + middle);
    time.setFormatVersion(2);
    EXPECT_EQ(written(time), head + middle + "0 1 2 3 1 2 ");
    time.setFormatVersion(3);
    EXPECT_EQ(written(time), head + "10 " + middle + "0 1 2 3 1 2 ");
}

TEST_F(TextForms, StageTimesReadBackAsWritten)
{
    for (int version = 1; version <= 3; ++version) {
        SCOPED_TRACE(version);
        StageTime time(nullptr, 23, 0, 0, "");
        fillSample(time);
        time.setFormatVersion(version);
        const std::string text = written(time);
        const StageTime back = readBack(text, version);
        EXPECT_EQ(written(back), text); // every written field came back
        EXPECT_EQ(back.trackOverride()->map, 23);
        EXPECT_EQ(back.condition()->stage, 23);
        EXPECT_EQ(back.condition()->conditions, version >= 2 ? 3 : -1);
        EXPECT_FALSE(back.condition()->valid);
        EXPECT_EQ(back.date(), sampleDate());
        EXPECT_FLOAT_EQ(back.split(1), 61.234F);
    }
}

TEST_F(TextForms, AStageWithoutResultHasNoDate)
{
    StageTime time(nullptr, 20, 0, 3, "Plain");
    time.setFormatVersion(1);
    const std::string text = written(time);
    EXPECT_EQ(text, "20 0 0 0 0 3 0 -1 \0\0Plain\0\0"s);
    EXPECT_EQ(readBack(text, 1).date(), zudo::platform::CalendarTime());
}

TEST_F(TextForms, NamesWithLineEndsNulsOrCtrlZStayOnTheirLine)
{
    StageTime time(nullptr, 20, 0, 3, "Two\nLines");
    time.setDriver("A\0B"s);
    time.setCarName("Car\x1AZ");
    time.setSetupName("Set\rup\x1A");
    time.setFormatVersion(1);
    const std::string text = written(time);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    // A Ctrl-Z ends a text-mode read in the Windows C runtime.
    EXPECT_EQ(text.find('\x1A'), std::string::npos);
    const StageTime back = readBack(text, 1);
    EXPECT_EQ(back.displayName(), "Two Lines");
    EXPECT_EQ(back.driver(), "A B");
    EXPECT_EQ(back.carName(), "Car Z");
    EXPECT_EQ(back.setupName(), "Set up"); // the blank at the end is trimmed
}

TEST_F(TextForms, ANameBlankedAtItsEdgeIsWrittenAsItReadsBack)
{
    // Saving what was loaded must give the same line again: a blanked
    // character at a name's edge would otherwise be written as a blank that
    // the reader trims, and the line would change at every save.
    StageTime time(nullptr, 20, 0, 3, "\x1A" "Plain\n");
    time.setDriver("\r\x1A Ann \n");
    time.setCarName("\x1A");
    time.setFormatVersion(1);
    const std::string text = written(time);
    EXPECT_EQ(text, "20 0 0 0 0 3 0 -1 \0\0Plain\0Ann\0"s);
    EXPECT_EQ(written(readBack(text, 1)), text);
}

TEST_F(TextForms, TruncatedOrGarbledLinesFailAndKeepWhatWasRead)
{
    StageTime sample(nullptr, 23, 0, 0, "");
    fillSample(sample);
    const std::string full = written(sample);
    // Every cut short of the whole line fails (version 3 ends with the
    // condition's numbers; a cut inside the last number still reads one).
    for (std::size_t length = 0; length + 3 < full.size(); ++length) {
        SCOPED_TRACE(length);
        StageTime time;
        std::istringstream in(full.substr(0, length));
        in >> time;
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(in.exceptions(), std::ios::goodbit);
    }
    StageTime partial;
    std::istringstream in("41 1 1000 2000 x");
    in >> partial;
    EXPECT_TRUE(in.fail());
    EXPECT_EQ(partial.stageNumber(), 41);
    EXPECT_EQ(partial.weatherMode(), 1);
    EXPECT_EQ(partial.split(1), 2.0F);

    std::istringstream noNuls("23 0 1 2 3 0 0 0 1 no nul characters at all");
    StageTime unterminated;
    noNuls >> unterminated;
    EXPECT_TRUE(noNuls.fail());

    std::mt19937 random(1234);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::string garbage = full;
        for (int flips = 0; flips < 1 + round % 8; ++flips) {
            garbage[static_cast<std::size_t>(byte(random)) % garbage.size()] = static_cast<char>(byte(random));
        }
        StageTime time;
        time.setFormatVersion(1 + round % 3);
        std::istringstream garbled(garbage);
        garbled >> time;
        EXPECT_EQ(garbled.exceptions(), std::ios::goodbit);
    }
}

TEST_F(TextForms, StageProgressFormsForEachVersion)
{
    Stage stage(nullptr, 23, 0, 0, "");
    fillSample(stage);
    stage.setDriven(true);
    stage.setSetupSlot(-1);
    stage.setService(ServiceInfo(4, 5, 40.0F, true));
    const std::string condition = "0 1 2 3 1 2 ";
    struct Case {
        int version;
        std::string text;
    };
    const Case cases[] = {
        {1, head + middle + " 1 -1 "},
        {2, head + middle + condition + " 1 -1 "},
        {3, head + "10 " + middle + condition + " 1 -1  4 5 40 1 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        stage.setFormatVersion(c.version);
        std::ostringstream out;
        stage.writeProgress(out);
        EXPECT_EQ(out.str(), c.text);

        Stage back(nullptr, 23, 0, 0, "");
        back.setPenalty(7.0F);
        back.setService(ServiceInfo(1, 1, 5.0F, false));
        back.setFormatVersion(c.version);
        std::istringstream in(c.text);
        back.readProgress(in);
        EXPECT_FALSE(in.fail());
        EXPECT_TRUE(back.driven());
        EXPECT_EQ(back.setupSlot(), -1);
        EXPECT_EQ(back.finishTime(), 95.125F);
        // Versions 1 and 2 carry no penalty and no service: both stay.
        EXPECT_EQ(back.penalty(), c.version == 3 ? 10.0F : 7.0F);
        EXPECT_EQ(back.service(), c.version == 3 ? ServiceInfo(4, 5, 40.0F, true)
                                                 : ServiceInfo(1, 1, 5.0F, false));
    }

    Stage notDriven(nullptr, 23, 0, 0, "");
    notDriven.setFormatVersion(3);
    std::istringstream two(head + "10 " + middle + condition + " 2 0  1 1 5 0 ");
    notDriven.readProgress(two);
    EXPECT_FALSE(two.fail());
    EXPECT_FALSE(notDriven.driven()); // only 1 means driven

    std::istringstream cut(head + "10 " + middle + condition + " 1");
    Stage truncated(nullptr, 23, 0, 0, "");
    truncated.readProgress(cut);
    EXPECT_TRUE(cut.fail());
}
