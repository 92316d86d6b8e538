// A writer killed at any moment: a child process saves records, progress,
// car damage and validation records in a loop, each round a new version of
// all four, and is killed with SIGKILL at a random moment. Every file must
// then be whole: as it was before the child started, or one of the versions
// the child wrote, never older than before and never torn or empty.
//
// POSIX only: the test forks this process, so that the child holds the same
// replacement host and rally state, and kills it with SIGKILL, which cannot
// be caught. Windows can neither fork nor does the Windows build have the
// replacement host the damage files need.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include "DamageFixture.hpp"
#include "tracks/ValidationRecords.hpp"

using zudo::rally::Rally;
using zudo::rally::RallyPtr;
using zudo::tracks::ValidationRecords;

namespace {

const char* const threeStages = "stage 20 A\nstage 21 B\nstage 22 C\n";
const std::int32_t validatedStages[] = {5, 10, 41};
constexpr int kills = 200;
constexpr float slowest = 10000.0F;

// Version v of every file: finish times slowest - v (so that each is a new
// record), damage bytes v mod 256, validation values v.
[[noreturn]] void writeForever(const std::string& validationPath, int firstVersion, int readyPipe)
{
    alarm(20); // never outlive a parent that failed to kill
    const auto rally = std::make_shared<Rally>("Trip", "Plugins/Zuzuzevo/Trip.srp");
    ValidationRecords validation(validationPath);
    const char ready = 1;
    if (write(readyPipe, &ready, 1) != 1) {
        _exit(2);
    }
    for (int version = firstVersion;; ++version) {
        for (const auto& stage : rally->stages()) {
            stage->takeResult(1.0F, 2.0F, slowest - static_cast<float>(version), "Ann");
        }
        zudo::test::damage(rally->rallyDamage(), static_cast<std::uint8_t>(version));
        const bool saved = rally->saveProgress() && rally->saveRecords();
        for (const std::int32_t stage : validatedStages) {
            validation.set(stage, "M/dry/new", version);
        }
        if (!saved || !validation.flush()) {
            _exit(3);
        }
    }
}

// The version all finish times agree on; 0 when they disagree or are missing.
int versionOfTimes(const std::vector<float>& finishes)
{
    if (finishes.empty() || std::adjacent_find(finishes.begin(), finishes.end(), std::not_equal_to<>()) !=
                                finishes.end()) {
        return 0;
    }
    return static_cast<int>(slowest - finishes.front());
}

// The newest version of each file seen so far; 0 before it exists.
struct Versions {
    int progress = 0;
    int records = 0;
    int validation = 0;
    bool damage = false;
};

} // namespace

class KilledWriter : public zudo::test::RallyDamageTest {
protected:
    void checkProgress(Versions& seen)
    {
        if (!std::filesystem::exists(pluginPath("Trip.prs"))) {
            EXPECT_EQ(seen.progress, 0) << "the progress file vanished";
            return;
        }
        const RallyPtr rally = std::make_shared<Rally>("Trip", "Plugins/Zuzuzevo/Trip.srp");
        ASSERT_TRUE(rally->loadProgress()) << rally->lastFileFailure() << "\n" << pluginFile("Trip.prs");
        std::vector<float> finishes;
        for (const auto& stage : rally->stages()) {
            finishes.push_back(stage->finishTime());
        }
        const int version = versionOfTimes(finishes);
        EXPECT_GE(version, std::max(seen.progress, 1)) << "progress torn or older";
        seen.progress = version;
    }

    void checkRecords(Versions& seen)
    {
        if (!std::filesystem::exists(pluginPath("Trip.tm2"))) {
            EXPECT_EQ(seen.records, 0) << "the records file vanished";
            return;
        }
        const RallyPtr rally = std::make_shared<Rally>("Trip", "Plugins/Zuzuzevo/Trip.srp");
        std::vector<zudo::rally::StageTimePtr> times;
        ASSERT_TRUE(rally->readBestTimes(zudo::rally::RecordKey{}, times));
        ASSERT_EQ(times.size(), 3U) << pluginFile("Trip.tm2");
        std::vector<float> finishes;
        for (const auto& time : times) {
            finishes.push_back(time->finishTime());
        }
        const int version = versionOfTimes(finishes);
        EXPECT_GE(version, std::max(seen.records, 1)) << "records torn or older";
        seen.records = version;
    }

    void checkDamage(Versions& seen)
    {
        if (!std::filesystem::exists(pluginPath("Trip.dmg"))) {
            EXPECT_FALSE(seen.damage) << "the damage file vanished";
            return;
        }
        const std::string bytes = pluginFile("Trip.dmg");
        ASSERT_EQ(bytes.size(), Rally::damageRecordSize);
        EXPECT_EQ(std::count(bytes.begin() + 4, bytes.end(), bytes[4]), std::ptrdiff_t(bytes.size() - 4))
            << "the damage file mixes two versions";
        seen.damage = true;
    }

    void checkValidation(Versions& seen)
    {
        if (!std::filesystem::exists(validationPath())) {
            EXPECT_EQ(seen.validation, 0) << "the validation records vanished";
            return;
        }
        ValidationRecords records(validationPath());
        const int version = records.value(validatedStages[0], "M/dry/new");
        for (const std::int32_t stage : validatedStages) {
            EXPECT_EQ(records.value(stage, "M/dry/new"), version) << "validation records torn";
        }
        EXPECT_GE(version, std::max(seen.validation, 1)) << "validation records older";
        seen.validation = version;
    }

    std::filesystem::path pluginPath(const std::string& name) const
    {
        return host.path() / "Plugins" / "Zuzuzevo" / name;
    }
    std::string validationPath() const { return host.file("Maps/TrackValidation.ini"); }

    // Removes the unfinished files of writes that were cut short (the next
    // write would replace them) and returns whether there were any.
    bool removeUnfinishedFiles() const
    {
        bool found = false;
        for (const auto& directory : {host.path() / "Plugins" / "Zuzuzevo", host.path() / "Maps"}) {
            for (const auto& entry : std::filesystem::directory_iterator(directory)) {
                const std::string name = entry.path().filename().string();
                if (name.ends_with(".new") || name.ends_with(".tmp")) {
                    std::filesystem::remove(entry.path());
                    found = true;
                }
            }
        }
        return found;
    }
};

TEST_F(KilledWriter, LeavesEveryFileWholeAsItWasOrAsItWasToBecome)
{
    host.write("Plugins/Zuzuzevo/Trip.srp", threeStages);
    host.write("Maps/.keep", "");
    std::mt19937 random(20261208);
    // Long enough to span several rounds of writing, short enough for seconds.
    std::uniform_int_distribution<int> delayMicroseconds(0, 10000);
    Versions seen;
    int interrupted = 0;
    for (int round = 0; round < kills; ++round) {
        SCOPED_TRACE(round);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const int firstVersion = std::max({seen.progress, seen.records, seen.validation}) + 1;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            writeForever(validationPath(), firstVersion, ready[1]);
        }
        close(ready[1]);
        char started = 0;
        const bool childStarted = read(ready[0], &started, 1) == 1;
        close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(childStarted);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the writer stopped by itself: status " << status;
        interrupted += removeUnfinishedFiles() ? 1 : 0;

        checkProgress(seen);
        checkRecords(seen);
        checkDamage(seen);
        checkValidation(seen);
        if (HasFatalFailure() || HasNonfatalFailure()) {
            return;
        }
    }
    // The kills must land inside writes, or the test proves nothing.
    EXPECT_GT(interrupted, kills / 10);
    RecordProperty("interruptedWrites", interrupted);
    RecordProperty("versionsWritten", std::max({seen.progress, seen.records, seen.validation}));
}
