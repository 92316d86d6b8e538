#include <algorithm>
#include <filesystem>
#include <sstream>

#include "RallyFixture.hpp"
#include "rally/RallyFile.hpp"

using zudo::rally::ProgressFile;
using zudo::rally::RallyPtr;
using zudo::rally::RecordFile;
using zudo::rally::RecordKey;
using zudo::rally::StageTimePtr;
using zudo::test::condition;

namespace {

using namespace std::string_literals;

// A best-times line for a stage: version, blank, the time's form, line feed.
std::string line(int version, int stage, int finishMilliseconds, int conditions = 2, int surface = 0,
                 int track = 1, const std::string& name = "Forest")
{
    std::ostringstream out;
    out << version << ' ' << stage << " 0 1000 2000 " << finishMilliseconds << ' ';
    if (version >= 3) {
        out << "0 ";
    }
    out << "3 0 1 Car\0Default\0"s << name << "\0Ann\0"s;
    if (version >= 2) {
        out << "0 0 0 " << conditions << ' ' << surface << ' ' << track << ' ';
    }
    out << '\n';
    return out.str();
}

} // namespace

class RecordsStore : public zudo::test::RallyTest {};

TEST_F(RecordsStore, FileNames)
{
    const RallyPtr hotlap = rallyFrom("hotlap 1\nstage 23 Forest\n");
    EXPECT_EQ(RecordFile(*hotlap, RecordKey{0, 3, 0, 0}).path(), "Plugins\\Zuzuzevo\\Forest (dry, Gravel Dry).tm2");
    EXPECT_EQ(RecordFile(*hotlap, RecordKey{2, 6, 0, 0}, 0).path(), "Plugins\\Zuzuzevo\\Forest (wet, Snow).tim");
    host.write("Plugins/Zuzuzevo/plain.srp", "stage 20\n");
    const zudo::rally::Rally slashed("A/B:*", "Plugins/Zuzuzevo/plain.srp");
    EXPECT_EQ(RecordFile(slashed, RecordKey{}).path(), "Plugins\\Zuzuzevo\\A_B__.tm2");
    EXPECT_EQ(ProgressFile(slashed).path(), "Plugins\\Zuzuzevo\\A_B__.prs");
    EXPECT_EQ(zudo::rally::DamageFile(slashed).path(), "Plugins\\Zuzuzevo\\A_B__.dmg");
    // Stage names may hold what file names may not.
    const zudo::rally::Rally builtIn(73, 0, 0);
    EXPECT_EQ(RecordFile(builtIn, RecordKey{1, 0, 0, 0}).path(),
              "Plugins\\Zuzuzevo\\Handbrake Turn_ Tarmac (damp, Tarmac Dry).tm2");
}

TEST_F(RecordsStore, ReadingStopsAtALineWithoutAKnownVersion)
{
    const RallyPtr rally = rallyFrom("stage 20\n", "Stops.srp");
    host.write("Plugins/Zuzuzevo/Stops.tm2", line(3, 20, 90000) + line(1, 21, 80000) +
                                                  line(4, 22, 70000) + line(3, 23, 60000));
    std::vector<StageTimePtr> times;
    EXPECT_FALSE(rally->readBestTimes(RecordKey{}, times));
    ASSERT_EQ(times.size(), 2U);
    EXPECT_EQ(times[0]->stageNumber(), 20);
    EXPECT_EQ(times[0]->formatVersion(), 3);
    EXPECT_EQ(times[1]->formatVersion(), 1);
    EXPECT_EQ(times[1]->finishTime(), 80.0F);

    host.write("Plugins/Zuzuzevo/Stops.tm2", line(2, 20, 1) + "garbage\n" + line(2, 21, 1));
    times.clear();
    EXPECT_FALSE(rally->readBestTimes(RecordKey{}, times));
    EXPECT_EQ(times.size(), 1U);

    // A broken time is kept with what was read; the next line is read again.
    host.write("Plugins/Zuzuzevo/Stops.tm2", "3 20 0 1000 x\n" + line(2, 21, 5000));
    times.clear();
    EXPECT_TRUE(rally->readBestTimes(RecordKey{}, times));
    ASSERT_EQ(times.size(), 2U);
    EXPECT_EQ(times[0]->split(0), 1.0F);
    EXPECT_EQ(times[1]->finishTime(), 5.0F);

    std::filesystem::remove(host.path() / "Plugins/Zuzuzevo/Stops.tm2");
    times.clear();
    EXPECT_TRUE(rally->readBestTimes(RecordKey{}, times));
    EXPECT_TRUE(times.empty());
}

TEST_F(RecordsStore, RallyRecordsPairWithTheStagesInOrder)
{
    host.write("Plugins/Zuzuzevo/Two.tm2", line(3, 20, 90000) + line(3, 21, 80000) + line(3, 22, 70000));
    const RallyPtr two = rallyFrom("stage 20\nstage 21\n", "Two.srp");
    EXPECT_TRUE(two->loadRecords());
    EXPECT_EQ(two->stage(0)->recordTotal(), 90.0F);
    EXPECT_EQ(two->stage(1)->recordTotal(), 80.0F);

    host.write("Plugins/Zuzuzevo/One.tm2", line(3, 20, 90000));
    const RallyPtr one = rallyFrom("stage 20\nstage 21\n", "One.srp");
    EXPECT_TRUE(one->loadRecords());
    EXPECT_EQ(one->stage(0)->recordTotal(), 90.0F);
    EXPECT_EQ(one->stage(1)->currentRecord(), nullptr);
    EXPECT_EQ(one->recordTotal(), 0.0F);

    host.write("Plugins/Zuzuzevo/Other.tm2", line(3, 20, 90000) + line(3, 29, 80000));
    const RallyPtr other = rallyFrom("stage 20\nstage 21\n", "Other.srp");
    EXPECT_FALSE(other->loadRecords());
    EXPECT_EQ(other->stage(0)->recordTotal(), 90.0F);
    EXPECT_EQ(other->stage(1)->currentRecord(), nullptr);
}

TEST_F(RecordsStore, ANewRecordRewritesTheRallyFile)
{
    const RallyPtr rally = rallyFrom("stage 20 A\nstage 21 B\nstage 22 C\n", "Three.srp");
    const float finishes[] = {61.2345F, 70.0F, 80.5F};
    for (std::size_t i = 0; i < 3; ++i) {
        auto& stage = *rally->stage(i);
        stage.setCondition(condition(stage.stageNumber(), 2, 0, 1));
        stage.takeResult(1.0F, 2.0F, finishes[i], "Ann");
        stage.setPenalty(i == 1 ? 10.7F : 0.0F);
    }
    EXPECT_FALSE(rally->recordDate().has_value());
    EXPECT_TRUE(rally->saveRecords());
    std::istringstream saved(pluginFile("Three.tm2"));
    std::vector<std::string> lines;
    for (std::string text; std::getline(saved, text);) {
        lines.push_back(text);
    }
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[0].substr(0, 25), "3 20 0 1000 2000 61234 0 ");
    EXPECT_EQ(lines[1].substr(0, 25), "3 21 0 1000 2000 70000 10");
    EXPECT_TRUE(rally->recordDate().has_value());

    // The records now stand; the same times again are no new record.
    EXPECT_FALSE(rally->saveRecords());
    rally->stage(2)->setFinishTime(80.0F);
    EXPECT_TRUE(rally->saveRecords());

    const RallyPtr again = rallyFrom("stage 20 A\nstage 21 B\nstage 22 C\n", "Three.srp");
    EXPECT_TRUE(again->loadRecords());
    EXPECT_FLOAT_EQ(again->recordTotal(), 61.234F + 80.0F + 80.0F);
    // Read and written again, the milliseconds stay.
    for (const auto& stage : again->stages()) {
        stage->takeResult(0.0F, 0.0F, stage->currentRecord()->finishTime() - 1.0F, "Bo");
    }
    ASSERT_TRUE(again->saveRecords());
    EXPECT_NE(pluginFile("Three.tm2").find(" 60234 "), std::string::npos);
}

TEST_F(RecordsStore, AFailedWriteKeepsTheAttemptANewRecord)
{
    const RallyPtr rally = rallyFrom("stage 20 A\nstage 21 B\n", "Blocked.srp");
    host.write("Plugins/Zuzuzevo/Blocked.tm2", line(3, 20, 90000) + line(3, 21, 90000));
    ASSERT_TRUE(rally->loadRecords());
    for (const auto& stage : rally->stages()) {
        stage->setCondition(condition(stage->stageNumber(), 2, 0, 1));
        stage->takeResult(1.0F, 2.0F, 80.0F, "Ann");
    }
    ASSERT_TRUE(rally->isNewRecord());
    // A directory where the new file would have to go: it cannot take its place.
    const std::filesystem::path blocked = host.path() / "Plugins/Zuzuzevo/Blocked.tm2";
    std::filesystem::remove(blocked);
    std::filesystem::create_directory(blocked);

    EXPECT_FALSE(rally->saveRecords());
    EXPECT_TRUE(rally->isNewRecord()) << "the attempt can still be saved";
    EXPECT_FLOAT_EQ(rally->recordTotal(), 180.0F) << "the old records stand";

    std::filesystem::remove(blocked);
    EXPECT_TRUE(rally->saveRecords());
    EXPECT_FLOAT_EQ(rally->recordTotal(), 160.0F);
    const std::string saved = pluginFile("Blocked.tm2");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 2);
    EXPECT_NE(saved.find(" 80000 "), std::string::npos);
}

TEST_F(RecordsStore, HotlapRecordsComeFromAndGoToTheFileOfTheirSurfaceAndTyres)
{
    const RallyPtr hotlap = rallyFrom("hotlap 1\nstage 23 Forest\n");
    host.write("Plugins/Zuzuzevo/Forest (dry, Gravel Dry).tm2",
               line(2, 23, 80000, 2, 0, 1) + line(2, 23, 75000, 4, 0, 1) + line(2, 23, 85000, 2, 0, 1));
    host.write("Plugins/Zuzuzevo/Forest (wet, Snow).tm2", line(3, 23, 70000, 2, 2, 1));
    ASSERT_TRUE(hotlap->loadRecords());
    auto& stage = *hotlap->stage(0);
    ASSERT_EQ(stage.records().size(), 3U); // the same key twice: the later line stays
    EXPECT_EQ(stage.bestRecord(RecordKey{0, 3, 2, 1})->finishTime(), 85.0F);
    // The file names the tyres, whatever the line says.
    EXPECT_EQ(stage.bestRecord(RecordKey{2, 6, 2, 1})->finishTime(), 70.0F);

    stage.setCondition(condition(23, 2, 0, 1));
    stage.takeResult(1.0F, 2.0F, 79.0F, "Ann");
    EXPECT_TRUE(hotlap->saveRecords());
    const std::string saved = pluginFile("Forest (dry, Gravel Dry).tm2");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 2);
    EXPECT_NE(saved.find(" 79000 "), std::string::npos);
    EXPECT_NE(saved.find(" 75000 "), std::string::npos);
    EXPECT_EQ(saved.find(" 85000 "), std::string::npos);
    EXPECT_FALSE(hotlap->recordDate().has_value());
}
