// The rally's files when something goes wrong: names with a Ctrl-Z written by
// older versions, and writes refused by a read-only file, a file held open or
// a missing folder. A failed write keeps the old file and everything in
// memory, and says why in words the status line can show.

#include <filesystem>
#include <sstream>

#include "RallyFixture.hpp"
#include "platform/Platform.hpp"
#include "rally/RallyAction.hpp"

using zudo::rally::RallyPtr;
using zudo::test::condition;
using zudo::test::ReadOnly;

namespace {

using namespace std::string_literals;

const char* const twoStages = "stage 20 A\nstage 21 B\n";
const std::string refused = ": the file is read-only or in use by another program";

void drive(zudo::rally::Rally& rally, float finish)
{
    for (const auto& stage : rally.stages()) {
        stage->setCondition(condition(stage->stageNumber(), 2, 0, 1));
        stage->takeResult(1.0F, 2.0F, finish, "Ann");
    }
}

std::size_t filesIn(const std::filesystem::path& directory)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(directory),
                                                  std::filesystem::directory_iterator()));
}

} // namespace

class FileFailures : public zudo::test::RallyTest {
protected:
    std::filesystem::path pluginPath(const std::string& name) const
    {
        return host.path() / "Plugins" / "Zuzuzevo" / name;
    }
};

TEST_F(FileFailures, ACtrlZInASavedNameNeitherEndsTheFileNorIsWrittenAgain)
{
    // Written by an older version: a Ctrl-Z in the first line's names, and
    // Windows line ends.
    const std::string first = "3 20 0 1000 2000 90000 0 3 0 1 Car\x1A\0Default\0A\0Ann\x1A" "Bo\0" "0 0 0 2 0 1 \r\n"s;
    const std::string second = "3 21 0 1000 2000 80000 0 3 0 1 Car\0Default\0B\0Ann\0" "0 0 0 2 0 1 \r\n"s;
    host.write("Plugins/Zuzuzevo/Trip.tm2", first + second);
    const RallyPtr rally = rallyFrom(twoStages, "Trip.srp");
    EXPECT_TRUE(rally->loadRecords());
    ASSERT_NE(rally->stage(1)->currentRecord(), nullptr); // the line after the Ctrl-Z
    EXPECT_EQ(rally->stage(1)->recordTotal(), 80.0F);
    EXPECT_EQ(rally->stage(0)->currentRecord()->driver(), "Ann\x1A" "Bo");

    drive(*rally, 70.0F);
    rally->stage(0)->setDriver("Cy\x1A" "Dee");
    ASSERT_TRUE(rally->saveRecords());
    EXPECT_EQ(pluginFile("Trip.tm2").find('\x1A'), std::string::npos);
    const RallyPtr again = rallyFrom(twoStages, "Trip.srp");
    EXPECT_TRUE(again->loadRecords());
    EXPECT_EQ(again->stage(0)->currentRecord()->driver(), "Cy Dee");
    EXPECT_EQ(again->recordTotal(), 140.0F);

    const std::string progress = "3 20 0 1000 2000 90000 0 3 0 1 Car\x1A\0Default\0A\0Ann\0"
                                 "0 0 0 2 0 1  1 -1  0 0 0 0 \r\n"
                                 "3 21 0 1000 2000 80000 0 3 0 1 Car\0Default\0B\0Ann\0"
                                 "0 0 0 2 0 1  1 -1  0 0 0 0 \r\n"s;
    host.write("Plugins/Zuzuzevo/Trip.prs", progress);
    const RallyPtr resumed = rallyFrom(twoStages, "Trip.srp");
    ASSERT_TRUE(resumed->loadProgress()) << resumed->lastFileFailure();
    EXPECT_TRUE(resumed->stage(1)->driven());
    EXPECT_EQ(resumed->stage(1)->finishTime(), 80.0F);
}

TEST_F(FileFailures, AReadOnlyProgressFileIsKeptAndTheReasonReachesThePlayer)
{
    const RallyPtr rally = rallyFrom(twoStages, "Trip.srp");
    drive(*rally, 50.0F);
    ASSERT_TRUE(rally->saveProgress());
    const std::string old = pluginFile("Trip.prs");
    drive(*rally, 40.0F);
    const auto stagesBefore = rally->stages();

    const ReadOnly locked(pluginPath("Trip.prs"));
    const auto actions = zudo::rally::rallyActions();
    zudo::rally::RallyAction& save = *actions[1];
    EXPECT_FALSE(save.run(*rally, nullptr));
    EXPECT_EQ(save.failureText(), "Could not write Trip.prs" + refused);
    EXPECT_EQ(rally->lastFileFailure(), save.failureText());
    EXPECT_EQ(pluginFile("Trip.prs"), old);
    EXPECT_EQ(filesIn(host.path() / "Plugins" / "Zuzuzevo"), 3U); // the definition, .keep and the progress: no leftover
    EXPECT_EQ(rally->stages(), stagesBefore);
    EXPECT_EQ(rally->stage(0)->finishTime(), 40.0F);

    // Reading it still works, and a success clears the text.
    zudo::rally::RallyAction& load = *actions[0];
    EXPECT_TRUE(load.run(*rally, nullptr));
    EXPECT_EQ(load.failureText(), "");
    EXPECT_EQ(rally->stage(0)->finishTime(), 50.0F);
}

TEST_F(FileFailures, ARefusedRecordsFileKeepsTheAttemptANewRecord)
{
    const RallyPtr rally = rallyFrom(twoStages, "Trip.srp");
    drive(*rally, 50.0F);
    ASSERT_TRUE(rally->saveRecords());
    const std::string old = pluginFile("Trip.tm2");
    drive(*rally, 45.0F);
    {
        const ReadOnly locked(pluginPath("Trip.tm2"));
        EXPECT_FALSE(rally->saveRecords());
        EXPECT_EQ(rally->lastFileFailure(), "Could not write Trip.tm2" + refused);
        EXPECT_EQ(pluginFile("Trip.tm2"), old);
        EXPECT_EQ(rally->recordTotal(), 100.0F); // the records stay those of the file
        EXPECT_EQ(rally->stage(0)->finishTime(), 45.0F);
    }
    // Still a new record: saved once the file may be written.
    EXPECT_TRUE(rally->saveRecords());
    EXPECT_EQ(rally->lastFileFailure(), "");
    EXPECT_EQ(rally->recordTotal(), 90.0F);
    // Not a new record is no failure.
    EXPECT_FALSE(rally->saveRecords());
    EXPECT_EQ(rally->lastFileFailure(), "");
}

TEST_F(FileFailures, AFileHeldOpenOrAMissingFolderLosesNothing)
{
    const RallyPtr rally = rallyFrom(twoStages, "Trip.srp");
    drive(*rally, 50.0F);
    ASSERT_TRUE(rally->saveProgress());
    const std::string old = pluginFile("Trip.prs");
    drive(*rally, 40.0F);
    {
        // Windows refuses to replace a file that is open without shared
        // deletion (in this process or another: the check is per handle);
        // POSIX replaces it, and the reader keeps the old contents.
        zudo::platform::ReadHandle reader;
        ASSERT_TRUE(reader.open(pluginPath("Trip.prs").string()));
        if (rally->saveProgress()) {
            EXPECT_EQ(rally->lastFileFailure(), "");
            EXPECT_NE(pluginFile("Trip.prs"), old);
        } else {
            EXPECT_EQ(rally->lastFileFailure(), "Could not write Trip.prs" + refused);
            EXPECT_EQ(pluginFile("Trip.prs"), old);
        }
        EXPECT_EQ(rally->stage(0)->finishTime(), 40.0F);
    }

    std::filesystem::remove_all(host.path() / "Plugins" / "Zuzuzevo");
    EXPECT_FALSE(rally->saveProgress());
    EXPECT_EQ(rally->lastFileFailure(), "Could not write Trip.prs: its folder does not exist");
    EXPECT_EQ(rally->stage(0)->finishTime(), 40.0F);

    EXPECT_FALSE(rally->loadProgress());
    EXPECT_EQ(rally->lastFileFailure(), "No progress of Trip is saved");
}
