#include "app/Controllers.h"
#include "platform/posix/Files.h"
#include "settings/SettingsKeys.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::test {
namespace {

constexpr time_t kNow = 1700000000; // the fake clock's start
constexpr time_t kDay = 86400;
constexpr double kCapacity = 1000000000.0;
constexpr double kShort = 1000000.0;     // far below the minimum of 10 %
constexpr double kAmple = 900000000.0;

// The automatic pass over a real home trash and real volume trashes (folders listed by the
// fake volume source), with the real shredder, on space figures the test sets.
class PolicyTest : public ::testing::Test {
protected:
    PolicyTest()
    {
        tp.platform.log = &log;
        tp.keys.held = true; // to see the trace lines
        makeFolder(tp.trash());
        makeFolder(tp.home / "Desktop");
        tp.space.set(kCapacity, kAmple);
        Controllers::registerDefaults(tp.defaults);
        controllers = std::make_unique<Controllers>(tp.platform);
    }

    ~PolicyTest() override
    {
        tp.workers.requestQuit();
        tp.workers.waitForAll();
    }

    void wake()
    {
        controllers->awakeFromNib();
        tp.workers.waitForAll();
    }
    void runPass()
    {
        shredder().autoShred();
        tp.workers.waitForAll();
    }

    Shredder& shredder() { return controllers->shredder; }
    Internal& internal() { return controllers->internal; }
    External& external() { return controllers->external; }

    void homeItem(const std::string& name, time_t daysAgo, size_t size = 100)
    {
        writeFile(tp.trash() + "/" + name, size);
        setModificationTime(tp.trash() + "/" + name, kNow - daysAgo * kDay);
    }
    std::string volume(const std::string& name)
    {
        const std::string path = disks / name;
        makeFolder(path + "/.Trashes");
        tp.volumes.mount(path);
        return path;
    }
    void volumeItem(const std::string& volumePath, const std::string& item, time_t daysAgo)
    {
        const std::string path = volumePath + "/.Trashes/" + item;
        makeFolder(path.substr(0, path.rfind('/')));
        writeFile(path, 100);
        setModificationTime(path, kNow - daysAgo * kDay);
    }

    // The root items handed to the shredder, in order.
    std::vector<std::string> shredded(const std::string& under) const
    {
        std::vector<std::string> items;
        for (const auto& line : tp.log.lines())
            if (line.rfind("shredFile:" + under + "/", 0) == 0)
                items.push_back(line.substr(std::string("shredFile:").size() + under.size() + 1));
        return items;
    }
    bool dateRecorded() { return tp.defaults.stored().count(keys::LastAutoExecuteDate) != 0; }

    TestPlatform tp;
    HookedLog log{tp.log};
    TempDir disks;
    std::unique_ptr<Controllers> controllers;
};

TEST_F(PolicyTest, NothingHappensWhileEveryVolumeHasRoom)
{
    homeItem("a", 3);
    const std::string data = volume("Data");
    volumeItem(data, "501/b", 3);
    wake();
    runPass();
    EXPECT_TRUE(exists(tp.trash() + "/a"));
    EXPECT_TRUE(exists(data + "/.Trashes/501/b"));
    EXPECT_EQ(tp.log.count("***autoShredThread loop***"), 1);
    EXPECT_EQ(tp.log.count("free break"), 1);
    EXPECT_FALSE(dateRecorded());
    EXPECT_FALSE(shredder().lastAutoExecDate());
    EXPECT_FALSE(shredder().isShredding());
}

TEST_F(PolicyTest, AMinimumOfZeroDeletesNothingEvenOnAFullVolume)
{
    homeItem("a", 3);
    const std::string data = volume("Data");
    volumeItem(data, "501/b", 3);
    wake();
    controllers->preferences.applyAndStore(0.0f, 300.0f, false, true, false);
    tp.space.set(kCapacity, 0.0);
    tp.space.setFor(data, kCapacity, 0.0);
    runPass();
    EXPECT_TRUE(exists(tp.trash() + "/a"));
    EXPECT_TRUE(exists(data + "/.Trashes/501/b"));
    EXPECT_EQ(tp.log.count("free break"), 1);
    EXPECT_FALSE(dateRecorded());
}

TEST_F(PolicyTest, ShortOfSpaceDeletesOldestFirstOnePerTrashPerCycle)
{
    homeItem("three-days", 3);
    homeItem("one-day", 1);
    homeItem("five-days", 5);
    homeItem("five-days-too", 5);
    // A folder counts by its own date, not by the recent files it holds.
    makeFolder(tp.trash() + "/old-folder");
    writeFile(tp.trash() + "/old-folder/fresh", 10);
    setModificationTime(tp.trash() + "/old-folder", kNow - 9 * kDay);
    const std::string data = volume("Data");
    volumeItem(data, "501/mine", 2);
    volumeItem(data, "502/theirs", 4); // the oldest of both users goes first
    wake();
    tp.space.set(kCapacity, kShort);
    tp.space.setFor(data, kCapacity, kShort);
    const int writesBefore = tp.defaults.synchronizeCount;

    runPass();
    // Eight deletions within a minute: the settings file is written at the first and at the end.
    EXPECT_EQ(tp.defaults.synchronizeCount - writesBefore, 2);
    const auto home = shredded(tp.trash());
    ASSERT_EQ(home.size(), 6u); // the folder's file, then each root item
    EXPECT_EQ(home[0], "old-folder/fresh");
    EXPECT_EQ(home[1], "old-folder");
    EXPECT_TRUE(home[2] == "five-days" || home[2] == "five-days-too");
    EXPECT_EQ(std::vector<std::string>(home.begin() + 4, home.end()), (std::vector<std::string>{"three-days", "one-day"}));
    EXPECT_EQ(shredded(data + "/.Trashes"), (std::vector<std::string>{"502/theirs", "501/mine"}));
    // The home trash outlasts the volume's by three items: the pass goes on to the end
    // even after the volume trash ran out in the middle of a cycle.
    EXPECT_TRUE(internal().rootArray().empty());
    EXPECT_EQ(internal().trashSize(), 0.0);
    EXPECT_EQ(external().trashSizeWithPath(data), 0.0);
    ASSERT_TRUE(shredder().lastAutoExecDate());
    EXPECT_GE(*shredder().lastAutoExecDate(), std::chrono::system_clock::from_time_t(kNow));
    ASSERT_TRUE(dateRecorded());
    EXPECT_EQ(std::get<TimePoint>(tp.defaults.stored().at(keys::LastAutoExecuteDate)), *shredder().lastAutoExecDate());
    EXPECT_FALSE(shredder().iconFlashing());
}

TEST_F(PolicyTest, TheStepPausesOnlyForAStartedRepair)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to prepare items of another owner";
    // A real volume root: the repair touches only trash folders at one.
    ScratchVolume scratch(disks / "Data");
    ASSERT_TRUE(scratch.mounted());
    const std::string data = volume("Data");
    volumeItem(data, "501/locked/inner", 2);
    chmod(disks.path().c_str(), 0755);
    ASSERT_EQ(chown((data + "/.Trashes/501").c_str(), kNobody, kNobody), 0);
    std::atomic<double> counter{0.0};
    // An ordinary user cannot empty root's folder: the repair is asked for, and the step
    // gives it its pause.
    EXPECT_EXIT(
        {
            becomeNobody();
            Checks check;
            const double before = tp.clock.slept();
            shredder().shredOlderWithPath(data + "/.Trashes", {"501/locked"}, &counter);
            check.equal(tp.launcher.requests().size(), 1u, "repairs asked for");
            check.equal(tp.clock.slept() - before, 0.2, "pause");
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
    // Root may delete it as it is: no repair, no pause, whoever owns it.
    const double before = tp.clock.slept();
    EXPECT_EQ(shredder().shredOlderWithPath(data + "/.Trashes", {"501/locked"}, &counter), kShredDone);
    EXPECT_TRUE(tp.launcher.requests().empty());
    EXPECT_EQ(tp.clock.slept(), before);
    EXPECT_FALSE(exists(data + "/.Trashes/501/locked"));
}

TEST_F(PolicyTest, ChangesMadeDuringAPassReorderWhatIsLeft)
{
    for (const auto& [name, days] : {std::pair{"a", 5}, {"b", 4}, {"c", 3}, {"d", 2}})
        homeItem(name, days);
    wake();
    internal().setShredMode(true);
    shredder().setShredMode(1);
    int cycles = 0;
    log.hook = [&](const std::string& line) {
        if (line != "***autoShredThread loop***")
            return;
        ++cycles;
        if (cycles == 2)
            homeItem("older", 9, 0); // trashed meanwhile, yet older than all that is left; not
                                     // measured, so it takes nothing off the counter
        if (cycles == 3)
            setModificationTime(tp.trash() + "/b", kNow - kDay); // b is now the youngest
    };

    runPass();
    EXPECT_EQ(shredded(tp.trash()), (std::vector<std::string>{"a", "older", "c", "d", "b"}));
    EXPECT_TRUE(internal().rootArray().empty());
}

// Between its steps on a volume the pass holds nothing open there: the user may eject it.
TEST_F(PolicyTest, NoVolumeIsKeptBusyBetweenSteps)
{
    for (const auto& [name, days] : {std::pair{"a", 5}, {"b", 4}, {"c", 3}})
        homeItem(name, days);
    const std::string data = volume("Data");
    volumeItem(data, "501/x", 5);
    volumeItem(data, "501/y", 4);
    wake();
    tp.space.set(kCapacity, kShort);
    tp.space.setFor(data, kCapacity, kShort);
    std::vector<std::string> heldOnVolume;
    log.hook = [&](const std::string& line) {
        if (line.rfind("shredFile:" + tp.trash(), 0) != 0)
            return; // a step on the home trash: the volume's is between two of its own
        for (const auto& fd : posix::listDirectory("/proc/self/fd")) {
            char target[4096] = {};
            if (readlink(("/proc/self/fd/" + fd).c_str(), target, sizeof target - 1) > 0 &&
                std::string(target).rfind(data, 0) == 0)
                heldOnVolume.push_back(target);
        }
    };

    runPass();
    EXPECT_EQ(shredded(data + "/.Trashes"), (std::vector<std::string>{"501/x", "501/y"}));
    EXPECT_EQ(shredded(tp.trash()).size(), 3u);
    EXPECT_EQ(heldOnVolume, std::vector<std::string>{});
}

TEST_F(PolicyTest, ATrashWithAZeroCounterIsSkipped)
{
    homeItem("kept", 3);
    tp.space.set(kCapacity, kShort);
    // Baselines taken without a measurement: the counter stays 0 and no change is seen.
    internal().checkTrashCountChange();
    internal().checkFreeSizeChange();
    runPass();
    EXPECT_TRUE(exists(tp.trash() + "/kept"));
    EXPECT_FALSE(dateRecorded());
}

TEST_F(PolicyTest, ForcedModeEmptiesOnlyTheMarkedTrashes)
{
    homeItem("h1", 2);
    homeItem("h2", 1);
    const std::string marked = volume("Marked"), unmarked = volume("Unmarked");
    volumeItem(marked, "501/m1", 1);
    volumeItem(unmarked, "501/u1", 9);
    wake();
    internal().setShredMode(true);
    external().setShredMode(true, marked);
    shredder().setShredMode(1);

    runPass();
    EXPECT_TRUE(internal().rootArray().empty());
    EXPECT_TRUE(external().rootArrayWithPath(marked).empty());
    EXPECT_TRUE(exists(unmarked + "/.Trashes/501/u1"));
    EXPECT_EQ(tp.log.count("empty break"), 1);
    EXPECT_FALSE(dateRecorded());
    EXPECT_EQ(shredder().shredMode(), 0);
    EXPECT_FALSE(internal().shredMode());
    EXPECT_FALSE(external().shredModeAtPath(marked));
}

TEST_F(PolicyTest, AnEmptiedFreedesktopTrashKeepsNoDescriptionOfAGoneItem)
{
    const std::string trash = tp.home / ".local/share/Trash";
    makeFolder(trash + "/files");
    makeFolder(trash + "/info");
    writeFile(trash + "/files/a", 10);
    writeFile(trash + "/info/a.trashinfo", 10);
    writeFile(trash + "/info/ghost.trashinfo", 10);
    setModificationTime(trash + "/info/ghost.trashinfo", time(nullptr) - 3600);
    wake();
    internal().setShredMode(true);
    shredder().setShredMode(1);
    runPass();
    EXPECT_FALSE(exists(trash + "/files/a"));
    EXPECT_FALSE(exists(trash + "/info/a.trashinfo"));
    EXPECT_FALSE(exists(trash + "/info/ghost.trashinfo"));
}

TEST_F(PolicyTest, AStopRequestLeavesTheRestAndRebuildsTheTrashWorkedOn)
{
    for (int i = 1; i <= 4; ++i)
        homeItem("h" + std::to_string(i), i, 1000);
    const std::string data = volume("Data");
    volumeItem(data, "501/v1", 1);
    volumeItem(data, "501/v2", 2);
    wake();
    internal().setShredMode(true);
    external().setShredMode(true, data);
    shredder().setShredMode(1);
    int cycles = 0;
    log.hook = [&](const std::string& line) {
        if (line == "***autoShredThread loop***" && ++cycles == 2) {
            shredder().setShredBreak(true);
            internal().setTrashStatus(kCanceling);
            external().setTrashStatus(kCanceling, data);
        }
    };
    internal().setTrashSize(999999.0); // off, to show the rebuild

    runPass();
    EXPECT_EQ(shredded(tp.trash()), (std::vector<std::string>{"h4"}));
    EXPECT_EQ(shredded(data + "/.Trashes"), (std::vector<std::string>{"501/v2"}));
    EXPECT_EQ(tp.log.count("Forced break at all internal"), 1);
    EXPECT_EQ(internal().trashSize(), 3000.0);
    EXPECT_EQ(internal().trashFiles().size(), 3u);
    EXPECT_EQ(internal().trashStatus(), kStandingBy);
    EXPECT_EQ(external().trashStatusWithDrive(0), kStandingBy);
    EXPECT_FALSE(shredder().shredBreak());
    EXPECT_EQ(shredder().shredMode(), 0);
    EXPECT_FALSE(external().shredModeAtPath(data));
}

TEST_F(PolicyTest, AFailedItemIsToldOnceAndPassedOverUntilItChanges)
{
    homeItem("old", 5);
    homeItem("new", 1);
    const std::string data = volume("Data");
    volumeItem(data, "501/v", 1);
    wake();
    // Test mode moves items to a dump folder on the Desktop, which is a file here: every
    // item is renamed to its time-stamp name, then fails to move.
    ASSERT_EQ(rmdir((tp.home / "Desktop").c_str()), 0);
    writeFile(tp.home / "Desktop", 1);
    controllers->preferences.setTestModeSwitch(true);
    tp.space.set(kCapacity, kShort);
    tp.space.setFor(data, kCapacity, kShort);

    // A failure does not end the pass: the next oldest is tried, each item once.
    runPass();
    EXPECT_EQ(shredded(tp.trash()), (std::vector<std::string>{"old", "new"}));
    EXPECT_EQ(shredded(data + "/.Trashes"), (std::vector<std::string>{"501/v"}));
    EXPECT_EQ(tp.alerts.shown().size(), 3u);
    EXPECT_EQ(tp.log.count("Brindlewick: Some error occured at #3."), 2);
    EXPECT_EQ(tp.log.count("Brindlewick: Some error occured at #4."), 1);
    EXPECT_FALSE(dateRecorded()); // nothing was deleted
    EXPECT_FALSE(shredder().isShredding());
    const auto left = internal().rootArray();
    EXPECT_EQ(left.size(), 2u);

    // Later passes pass them over in silence, under their new names too.
    runPass();
    runPass();
    EXPECT_EQ(tp.alerts.shown().size(), 3u);
    EXPECT_EQ(shredded(tp.trash()).size() + shredded(data + "/.Trashes").size(), 3u);
    EXPECT_EQ(tp.log.count("Brindlewick: Some error occured at #3."), 2);
    EXPECT_FALSE(dateRecorded());

    // An item that changed is tried again.
    ASSERT_FALSE(left.empty());
    ASSERT_EQ(chmod((tp.trash() + "/" + left[0]).c_str(), 0600), 0);
    runPass();
    EXPECT_EQ(tp.alerts.shown().size(), 4u);
    EXPECT_EQ(tp.log.count("Brindlewick: Some error occured at #3."), 3);
    EXPECT_EQ(shredded(tp.trash()).size(), 3u);
}

TEST_F(PolicyTest, ASecondStartDuringTheFirstMeasurementStartsNothing)
{
    const std::string data = volume("Data");
    volumeItem(data, "501/v", 1);
    wake();
    homeItem("h", 1); // a changed count: the pass measures first
    external().setTrashSizeing(true, data);
    writeFile(data + "/.Trashes/501/w", 1);
    shredder().autoShred();
    while (tp.clock.slept() < 1.0) // the pass waits for the volume's measurement
        std::this_thread::yield();
    shredder().autoShred();
    EXPECT_EQ(tp.workers.running(), 1);
    EXPECT_FALSE(shredder().isShredding());
    external().setTrashSizeing(false, data);
    tp.workers.waitForAll();
    EXPECT_EQ(tp.log.count("***autoShredThread loop***"), 1);

    runPass(); // the guard was released at the end of the pass
    EXPECT_EQ(tp.log.count("***autoShredThread loop***"), 2);
}

TEST_F(PolicyTest, APassWaitsForAMeasurementThatIsStillRunning)
{
    const std::string data = volume("Data");
    volumeItem(data, "501/v", 1);
    tp.space.setFor(data, kCapacity, kShort);
    // As at start: the baselines are taken while the first measurement runs.
    external().checkTrashCountChangeAtPath(data);
    external().checkFreeSizeChangeAtPath(data);
    external().setTrashSizeing(true, data);
    shredder().autoShred();
    while (tp.clock.slept() < 1.0 && tp.workers.running() > 0)
        std::this_thread::yield();
    external().setTrashSize(100.0, data); // the measurement ends
    external().setTrashSizeing(false, data);
    tp.workers.waitForAll();
    EXPECT_FALSE(exists(data + "/.Trashes/501/v"));
}

TEST_F(PolicyTest, ASwitchToForcedModeTakesEffectAtTheNextCycle)
{
    homeItem("h", 1);
    wake();
    log.hook = [&](const std::string& line) {
        if (line == "***autoShredThread loop***" && shredder().shredMode() == 0) {
            internal().setShredMode(true);
            shredder().setShredMode(1);
        }
    };
    runPass();
    EXPECT_FALSE(exists(tp.trash() + "/h"));
    EXPECT_EQ(tp.log.count("empty break"), 1);
    EXPECT_EQ(tp.log.count("free break"), 0);
}

TEST_F(PolicyTest, NothingIsDeletedThroughALinkedUsersFolder)
{
    const std::string data = volume("Data");
    const std::string outside = disks / "outside";
    makeFolder(outside);
    writeFile(outside + "/precious", 100);
    ASSERT_EQ(symlink(outside.c_str(), (data + "/.Trashes/502").c_str()), 0);
    std::atomic<double> counter{100.0};
    EXPECT_EQ(shredder().shredOlderWithPath(data + "/.Trashes", {"502/precious"}, &counter), kShredDone);
    EXPECT_TRUE(exists(outside + "/precious"));

    const std::string linkedTrash = disks / "linked";
    ASSERT_EQ(symlink(outside.c_str(), linkedTrash.c_str()), 0);
    EXPECT_EQ(shredder().shredOlderWithPath(linkedTrash, {"precious"}, &counter), kShredDone);
    EXPECT_TRUE(exists(outside + "/precious"));
    EXPECT_EQ(counter.load(), 100.0);
    EXPECT_EQ(shredder().shredOlderWithPath(data + "/.Trashes", {}, &counter), kShredNothingLeft);
}

} // namespace
} // namespace bw::test
