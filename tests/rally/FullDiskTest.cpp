// A full disk, made by lowering this process's file-size limit: every write
// past it fails (EFBIG) as a write to a full disk fails (ENOSPC). A failed
// write of records, progress or damage says so in words for the player,
// leaves the old file and keeps everything in memory.
//
// POSIX only: Windows has no file-size limit of a process, and a small file
// system would need rights the tests do not have. The damage files need the
// replacement host's fakes, which only the native build has.

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "DamageFixture.hpp"
#include "rally/RallyAction.hpp"

using zudo::rally::Rally;
using zudo::rally::RallyPtr;
using zudo::test::condition;

namespace {

const char* const twoStages = "stage 20 A\nstage 21 B\n";
const std::string full = ": the disk is full";

// Files may grow to at most limit bytes while this lives. Past the limit the
// kernel sends SIGXFSZ, which would end the process: it is ignored meanwhile,
// so that the write fails instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit lowered = previous_;
        lowered.rlim_cur = limit;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    sighandler_t previousHandler_ = SIG_DFL;
};

void drive(Rally& rally, float finish)
{
    for (const auto& stage : rally.stages()) {
        stage->setCondition(condition(stage->stageNumber(), 2, 0, 1));
        stage->takeResult(1.0F, 2.0F, finish, "Ann");
    }
}

} // namespace

class FullDisk : public zudo::test::RallyDamageTest {
protected:
    std::size_t pluginFiles() const
    {
        const auto directory = host.path() / "Plugins" / "Zuzuzevo";
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(directory),
                                                      std::filesystem::directory_iterator()));
    }
};

TEST_F(FullDisk, RecordsAndProgressKeepTheirOldFilesAndEverythingInMemory)
{
    const RallyPtr rally = rallyFrom(twoStages, "Trip.srp");
    drive(*rally, 50.0F);
    ASSERT_TRUE(rally->saveRecords());
    ASSERT_TRUE(rally->saveProgress());
    const std::string oldRecords = pluginFile("Trip.tm2");
    const std::string oldProgress = pluginFile("Trip.prs");
    drive(*rally, 45.0F);
    const auto stages = rally->stages();
    const std::size_t files = pluginFiles();
    {
        const FileSizeLimit limit(10); // smaller than a line of either file
        EXPECT_FALSE(rally->saveRecords());
        EXPECT_EQ(rally->lastFileFailure(), "Could not write Trip.tm2" + full);
        EXPECT_EQ(rally->recordTotal(), 100.0F); // still a new record, to be saved again

        const auto actions = zudo::rally::rallyActions();
        EXPECT_FALSE(actions[1]->run(*rally, nullptr));
        EXPECT_EQ(actions[1]->failureText(), "Could not write Trip.prs" + full);
    }
    EXPECT_EQ(pluginFile("Trip.tm2"), oldRecords);
    EXPECT_EQ(pluginFile("Trip.prs"), oldProgress);
    EXPECT_EQ(pluginFiles(), files); // no unfinished file left beside them
    EXPECT_EQ(rally->stages(), stages);
    EXPECT_EQ(rally->stage(1)->finishTime(), 45.0F);

    ASSERT_TRUE(rally->saveRecords()); // room again: the same attempt is saved
    EXPECT_EQ(rally->recordTotal(), 90.0F);
    ASSERT_TRUE(rally->saveProgress());
    const RallyPtr resumed = rallyFrom(twoStages, "Trip.srp");
    ASSERT_TRUE(resumed->loadProgress());
    EXPECT_EQ(resumed->stage(1)->finishTime(), 45.0F);
}

TEST_F(FullDisk, ADamageFileThatDoesNotFitIsReportedBesideTheSavedProgress)
{
    const RallyPtr rally = rallyFrom(twoStages, "Trip.srp");
    zudo::test::damage(rally->rallyDamage(), 0x42);
    ASSERT_TRUE(rally->saveProgress());
    const std::string oldDamage = pluginFile("Trip.dmg");
    ASSERT_EQ(oldDamage.size(), Rally::damageRecordSize);
    drive(*rally, 45.0F);
    zudo::test::damage(rally->rallyDamage(), 0x43);
    {
        // Room for the progress, not for the damage record.
        const FileSizeLimit limit(Rally::damageRecordSize / 2);
        const auto actions = zudo::rally::rallyActions();
        EXPECT_TRUE(actions[1]->run(*rally, nullptr));
        EXPECT_EQ(actions[1]->failureText(), "Could not write Trip.dmg" + full);
    }
    EXPECT_EQ(pluginFile("Trip.dmg"), oldDamage);
    const RallyPtr resumed = rallyFrom(twoStages, "Trip.srp");
    ASSERT_TRUE(resumed->loadProgress());
    EXPECT_EQ(resumed->stage(1)->finishTime(), 45.0F);
    EXPECT_EQ(resumed->rallyDamage().read<std::uint8_t>(4), 0x42);
}
