#include "RallyFixture.hpp"
#include "rally/RallyList.hpp"

using zudo::rally::RallyList;
using zudo::rally::RallyPtr;
using zudo::rally::RecordKey;
using zudo::rally::Stage;
using zudo::rally::StagePtr;
using zudo::rally::StageTime;
using zudo::rally::StageTimePtr;
using zudo::test::condition;

namespace {

StageTimePtr timeOn(const zudo::rally::TrackConditionPtr& on, float finish, float penalty = 0.0F,
                    int tyres = 3)
{
    auto time = std::make_shared<StageTime>(nullptr, on->stage, 0, tyres, "Record");
    time->setCondition(on);
    time->setFinishTime(finish);
    time->setPenalty(penalty);
    return time;
}

void drive(Stage& stage, float finish, float penalty = 0.0F)
{
    stage.takeResult(finish / 3, finish / 2, finish, "Driver");
    stage.setPenalty(penalty);
}

} // namespace

class StageModel : public zudo::test::RallyTest {};

TEST_F(StageModel, ConstructionClampsAndCycles)
{
    StageTime time(nullptr, 23, 5, 9, "");
    EXPECT_EQ(time.weatherMode(), 0);
    EXPECT_EQ(time.tyres(), 0);
    EXPECT_EQ(time.displayName(), "Shepherds Shield");
    time.cycleTyres(false);
    EXPECT_EQ(time.tyres(), 6);
    time.cycleTyres(true);
    EXPECT_EQ(time.tyres(), 0);

    time.setCarSlot(4);
    time.setCarSlot(8);
    time.setCarSlot(-1);
    EXPECT_EQ(time.carSlot(), 4);
    time.setSplit(2, 99.0F);
    EXPECT_EQ(time.split(2), 0.0F);

    time.setStageNumber(41);
    EXPECT_EQ(time.condition()->stage, 41);
    EXPECT_EQ(time.trackOverride()->map, 41);
}

TEST_F(StageModel, WeatherModeCyclesAndChoosesTheTracksCondition)
{
    StageTime time(nullptr, 20, 0, 3, "");
    const auto configured = time.condition();
    time.cycleWeatherMode(false);
    EXPECT_EQ(time.weatherMode(), 2);
    EXPECT_EQ(time.condition()->conditions, 12);
    EXPECT_EQ(time.condition()->surface, 2);
    EXPECT_NE(time.condition(), configured);
    time.cycleWeatherMode(false);
    EXPECT_EQ(time.weatherMode(), 1);
    time.cycleWeatherMode(false);
    EXPECT_EQ(time.weatherMode(), 0);
    time.cycleWeatherMode(true);
    EXPECT_EQ(time.weatherMode(), 1);
    EXPECT_EQ(time.condition()->conditions, 11);
    EXPECT_EQ(selections, 4);

    // A track without known conditions keeps what was configured.
    withoutConditions.insert(21);
    StageTime unknown(nullptr, 21, 0, 3, "");
    unknown.condition()->sky = 2;
    unknown.cycleWeatherMode(true);
    EXPECT_EQ(unknown.weatherMode(), 1);
    EXPECT_EQ(unknown.condition()->sky, 2);
}

TEST_F(StageModel, TheResolvedConditionIsWrittenIntoTheSharedObject)
{
    StageTime time(nullptr, 20, 2, 3, "");
    const StageTime copy = time; // shares the condition
    EXPECT_EQ(time.surface(), 2); // no conditions yet: chosen for Bad
    EXPECT_EQ(time.conditions(), 12);
    EXPECT_EQ(copy.condition()->conditions, 12);
    EXPECT_EQ(selections, 1);
    EXPECT_EQ(time.track(), 1);
    EXPECT_EQ(selections, 1); // valid now: nothing more to choose

    StageTime configured(nullptr, 20, 0, 3, "");
    configured.condition()->conditions = 3;
    configured.condition()->surface = 1;
    EXPECT_EQ(configured.recordKey(), (RecordKey{1, 3, 3, -1}));
    EXPECT_EQ(closestQueries, 1);
    EXPECT_TRUE(configured.condition()->valid);

    // Without known conditions the stored condition is kept as it is.
    withoutConditions.insert(22);
    StageTime kept(nullptr, 22, 0, 3, "");
    kept.condition()->conditions = 4;
    kept.condition()->surface = 2;
    kept.condition()->track = 0;
    EXPECT_EQ(kept.recordKey(), (RecordKey{2, 3, 4, 0}));
    EXPECT_FALSE(kept.condition()->valid);

    StageTime none(nullptr, 20, 0, 3, "");
    none.setCondition(nullptr);
    EXPECT_EQ(none.surface(), -1);
    EXPECT_EQ(none.recordKey(), (RecordKey{-1, 3, -1, -1}));
}

TEST_F(StageModel, StageResultsAndResets)
{
    Stage stage(nullptr, 23, 0, 3, "");
    EXPECT_FALSE(stage.isDnf());
    EXPECT_FALSE(stage.isFinished());
    stage.service() = zudo::rally::ServiceInfo(4, 3, 30.0F, true);
    stage.setCarName("Earlier");
    drive(stage, 0.0F);
    EXPECT_TRUE(stage.isDnf());
    drive(stage, 95.5F, 10.0F);
    EXPECT_TRUE(stage.isFinished());
    EXPECT_EQ(stage.carSlot(), 0);
    EXPECT_EQ(stage.carName(), "Citroen Xsara");
    EXPECT_EQ(stage.setupName(), "Default");
    EXPECT_EQ(stage.driver(), "Driver");
    EXPECT_NE(stage.date().year, 0);

    const auto date = stage.date();
    stage.reset();
    EXPECT_FALSE(stage.driven());
    EXPECT_EQ(stage.finishTime(), 0.0F);
    EXPECT_EQ(stage.split(0), 0.0F);
    EXPECT_EQ(stage.penalty(), 0.0F);
    EXPECT_FALSE(stage.service().used());
    EXPECT_EQ(stage.service().minutes(), 30.0F);
    EXPECT_EQ(stage.date(), date);
    EXPECT_EQ(stage.driver(), "Driver");
}

TEST_F(StageModel, HotlapRecordsAreKeptPerKeyAndQueried)
{
    const RallyPtr hotlap = rallyFrom("hotlap 1\nstage 23\n");
    Stage& stage = *hotlap->stage(0);
    const StageTimePtr rainy = timeOn(condition(23, 2, 0, 1), 80.0F);
    const StageTimePtr heavy = timeOn(condition(23, 4, 0, 1), 75.0F);
    const StageTimePtr wet = timeOn(condition(23, 2, 2, 1), 70.0F);
    const StageTimePtr unfinished = timeOn(condition(23, 1, 0, 1), 0.0F);
    for (const StageTimePtr& time : {rainy, heavy, wet, unfinished}) {
        stage.addRecord(time);
    }
    EXPECT_EQ(stage.records().size(), 4U);
    EXPECT_EQ(stage.bestRecord(RecordKey{0, 3, -1, -1}), heavy);
    EXPECT_EQ(stage.bestRecord(RecordKey{0, 3, 2, 1}), rainy);
    EXPECT_EQ(stage.bestRecord(RecordKey{-1, -1, -1, -1}), wet);
    EXPECT_EQ(stage.bestRecord(RecordKey{0, 3, 1, -1}), nullptr); // only a time of 0
    EXPECT_EQ(stage.bestRecord(RecordKey{0, 3, 1, 1}), unfinished); // exact: as it is
    EXPECT_EQ(stage.bestRecord(RecordKey{1, -1, -1, -1}), nullptr);
    EXPECT_EQ(stage.recordsMatching(RecordKey{0, 3, -1, -1}),
              (std::vector<StageTimePtr>{unfinished, rainy, heavy}));

    const StageTimePtr faster = timeOn(condition(23, 2, 0, 1), 79.0F);
    stage.addRecord(faster);
    EXPECT_EQ(stage.records().size(), 4U);
    EXPECT_EQ(stage.bestRecord(RecordKey{0, 3, 2, 1}), faster);

    // The current record is the best one on the stage's own key.
    stage.setCondition(condition(23, 4, 0, 1));
    EXPECT_EQ(stage.currentRecord(), heavy);
    EXPECT_EQ(stage.recordTotal(), 75.0F);
    EXPECT_EQ(stage.recordDifference(), 0.0F); // not driven
    drive(stage, 76.25F);
    EXPECT_FLOAT_EQ(stage.recordDifference(), 1.25F);
    EXPECT_FLOAT_EQ(stage.bestRecordDifference(RecordKey{-1, -1, -1, -1}), 6.25F);

    // Equal finish times: the first in key order stays.
    const StageTimePtr tie = timeOn(condition(23, 5, 0, 1), 75.0F);
    stage.addRecord(tie);
    EXPECT_EQ(stage.bestRecord(RecordKey{0, 3, -1, -1}), heavy);
}

TEST_F(StageModel, ARallyStageKeepsOneRecord)
{
    const RallyPtr rally = rallyFrom("stage 20\nstage 21\n");
    Stage& stage = *rally->stage(0);
    const StageTimePtr first = timeOn(condition(20, 2, 0, 1), 80.0F);
    const StageTimePtr second = timeOn(condition(20, 4, 1, 0), 90.0F);
    stage.addRecord(first);
    stage.addRecord(second);
    ASSERT_EQ(stage.records().size(), 1U);
    EXPECT_EQ(stage.currentRecord(), second);
}

TEST_F(StageModel, RallyTotalsAndTheNewRecordDecision)
{
    const RallyPtr rally = rallyFrom("stage 20\nstage 21\nstage 22\n");
    EXPECT_TRUE(rally->noneDriven());
    EXPECT_FALSE(rally->isNewRecord());
    drive(*rally->stage(0), 100.0F, 10.0F);
    drive(*rally->stage(1), 0.0F);
    EXPECT_EQ(rally->drivenCount(), 2U);
    EXPECT_TRUE(rally->anyDnf());
    EXPECT_EQ(rally->totalTime(), 0.0F);
    EXPECT_EQ(rally->sumOfTotals(), 110.0F);
    drive(*rally->stage(1), 200.0F);
    drive(*rally->stage(2), 300.0F);
    EXPECT_TRUE(rally->allDriven());
    EXPECT_FALSE(rally->anyDnf());
    EXPECT_EQ(rally->totalTime(), 610.0F);
    EXPECT_EQ(rally->recordTotal(), 0.0F);
    EXPECT_TRUE(rally->isNewRecord()); // no record yet

    const float records[] = {110.0F, 200.0F, 300.0F};
    for (std::size_t i = 0; i < 3; ++i) {
        auto& stage = *rally->stage(i);
        stage.addRecord(timeOn(condition(stage.stageNumber(), 0, 0, 0), records[i]));
    }
    EXPECT_EQ(rally->recordTotal(), 610.0F);
    EXPECT_FALSE(rally->isNewRecord()); // equal is not better
    rally->stage(2)->setFinishTime(299.999F);
    EXPECT_TRUE(rally->isNewRecord());
    EXPECT_FLOAT_EQ(rally->sumOfRecordDifferences(), -0.001F);
    EXPECT_EQ(rally->sumOfRecordTotals(), 610.0F);

    rally->stage(1)->reset();
    EXPECT_FALSE(rally->isNewRecord());
    EXPECT_EQ(rally->recordKey(), RecordKey{});
}

TEST_F(StageModel, BestTimesAcrossRallies)
{
    RallyList list;
    const RallyPtr a = rallyFrom("stage 20 Forest\nstage 21 Hills\n", "A.srp");
    const RallyPtr b = rallyFrom("stage 30 FOREST\nstage 31 Hills\n", "B.srp");
    list.add(a);
    list.add(b);
    a->stage(0)->addRecord(timeOn(condition(20, 0, 0, 0), 90.0F, 30.0F));
    b->stage(0)->addRecord(timeOn(condition(30, 0, 2, 0), 85.0F));
    b->stage(1)->addRecord(timeOn(condition(31, 0, 0, 0), 0.0F));

    EXPECT_EQ(list.bestTimeOnStage("forest", -1)->finishTime(), 85.0F);
    EXPECT_EQ(list.bestTimeOnStage("Forest", 0)->finishTime(), 90.0F);
    EXPECT_EQ(list.bestTimeOnStage("Forest", 1), nullptr);
    EXPECT_EQ(list.bestTimeOnStage("Hills", -1), nullptr); // a time of 0 never counts
    EXPECT_EQ(list.bestTimeOnStage("Nowhere", -1), nullptr);

    // The rally's stages run on surface 0 (weather mode Good, see the fixture).
    EXPECT_EQ(a->sumOfBestTotals(true, list), 85.0F);
    EXPECT_EQ(a->sumOfBestTotals(false, list), 120.0F); // 90 + 30 penalty
    EXPECT_EQ(a->sumOfBestDifferences(true, list), 0.0F); // nothing driven
    drive(*a->stage(0), 86.5F, 0.0F);
    drive(*a->stage(1), 60.0F, 0.0F);
    EXPECT_FLOAT_EQ(a->sumOfBestDifferences(true, list), 1.5F);
    EXPECT_FLOAT_EQ(a->sumOfBestDifferences(false, list), -33.5F);

    // Rallies and stages that join after a query are seen by the next one.
    const RallyPtr c = rallyFrom("stage 40 forest\n", "C.srp");
    c->stage(0)->addRecord(timeOn(condition(40, 0, 1, 0), 84.0F));
    list.add(c);
    EXPECT_EQ(list.bestTimeOnStage("Forest", -1)->finishTime(), 84.0F);
    auto late = std::make_shared<Stage>(nullptr, 41, 0, 3, "Nowhere");
    late->addRecord(timeOn(condition(41, 0, 1, 0), 50.0F));
    c->addStage(late);
    EXPECT_EQ(list.bestTimeOnStage("nowhere", 1)->finishTime(), 50.0F);

    // A record that replaces another after a query is seen by the next one,
    // better or worse.
    b->stage(0)->addRecord(timeOn(condition(30, 0, 2, 0), 83.0F));
    EXPECT_EQ(list.bestTimeOnStage("Forest", -1)->finishTime(), 83.0F);
    b->stage(0)->addRecord(timeOn(condition(30, 0, 2, 0), 99.0F));
    c->stage(0)->addRecord(timeOn(condition(40, 0, 1, 0), 98.0F));
    EXPECT_EQ(list.bestTimeOnStage("Forest", -1)->finishTime(), 90.0F);
}
