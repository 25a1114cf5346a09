#include "app/Controllers.h"
#include "platform/Log.h"
#include "platform/posix/Files.h"
#include "settings/SettingsKeys.h"
#include "settings/VolumeOverrides.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw::test {
namespace {

constexpr time_t kNow = 1700000000; // the fake clock's start
constexpr time_t kDay = 86400;
constexpr double kCapacity = 1000000000.0;
constexpr double kShort = 1000000.0;     // far below the minimum of 10 %
constexpr double kAmple = 900000000.0;

// The deletions told, as a listener hears them.
class HeardEvents final : public DeletionListener {
public:
    void itemDeleted(const DeletionEvent& event) override
    {
        std::lock_guard lock(mutex_);
        events_.push_back(event);
    }
    std::vector<DeletionEvent> events() const
    {
        std::lock_guard lock(mutex_);
        return events_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<DeletionEvent> events_;
};

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
    int linesWith(const std::string& fragment) const
    {
        int count = 0;
        for (const auto& line : tp.log.lines())
            count += line.find(fragment) != std::string::npos ? 1 : 0;
        return count;
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

TEST_F(PolicyTest, TheStepHasTheHelperRemoveWhatTheUserCannotAndCountsIt)
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
    // The helper's report: what it removed is taken off the trash's figures with the rest.
    tp.launcher.setReport({0, 1, 2});
    std::atomic<double> counter{100.0};
    // An ordinary user cannot empty root's folder: the helper is asked to remove what is in
    // the way, as the shredder would (overwriting), and nothing waits for it afterwards.
    EXPECT_EXIT(
        {
            becomeNobody();
            Checks check;
            const double before = tp.clock.slept();
            shredder().shredOlderWithPath(data + "/.Trashes", {"501/locked"}, &counter);
            check.equal(tp.launcher.requests().size(), 1u, "repairs asked for");
            check.equal(static_cast<char>(tp.launcher.requests().front().first), 'r', "kind");
            check.equal(tp.clock.slept() - before, 0.0, "pause");
            check.equal(counter.load(), 98.0, "counted");
            check.finish();
        },
        ::testing::ExitedWithCode(0), "");
    // Root may delete it as it is: no repair, whoever owns it.
    EXPECT_EQ(shredder().shredOlderWithPath(data + "/.Trashes", {"501/locked"}, &counter), kShredDone);
    EXPECT_TRUE(tp.launcher.requests().empty());
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
    wake();
    // Measured, then a counter of 0 (what deletions can leave) with no change seen since.
    internal().setTrashSize(0.0);
    tp.space.set(kCapacity, kShort);
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

    // An item that changed is tried again; failing again is no news.
    ASSERT_FALSE(left.empty());
    ASSERT_EQ(chmod((tp.trash() + "/" + left[0]).c_str(), 0600), 0);
    runPass();
    EXPECT_EQ(tp.alerts.shown().size(), 3u);
    EXPECT_EQ(tp.log.count("Brindlewick: Some error occured at #3."), 2);
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

TEST_F(PolicyTest, TheAgeRuleTakesWhatIsOlderThanItsLimitWhereItAppliesAndTellsEachDeletion)
{
    homeItem("older", 50);
    homeItem("old", 40);
    homeItem("young", 10);
    const std::string data = volume("Data");
    volumeItem(data, "501/kept", 40);
    const std::string other = volume("Other");
    volumeItem(other, "501/gone", 40);
    HeardEvents heard;
    shredder().addDeletionListener(heard);
    tp.defaults.setFloat(keys::MaximumItemAgeDays.name, 30.0f);
    // Data has no age limit of its own; the others follow the default.
    VolumeOverrides noLimit;
    noLimit.maximumAgeDays = 0.0f;
    controllers->preferences.setOverrides(controllers->preferences.volumeKeyAt(data), noLimit);
    wake();
    runPass(); // every volume has ample room

    EXPECT_FALSE(exists(tp.trash() + "/older"));
    EXPECT_FALSE(exists(tp.trash() + "/old"));
    EXPECT_TRUE(exists(tp.trash() + "/young"));
    EXPECT_TRUE(exists(data + "/.Trashes/501/kept"));
    EXPECT_FALSE(exists(other + "/.Trashes/501/gone"));
    EXPECT_TRUE(dateRecorded());

    // One cycle takes one item of each trash that needs it: the home trash's, then Other's.
    const auto events = heard.events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].path, tp.trash() + "/older");
    EXPECT_EQ(events[1].path, other + "/.Trashes/501/gone");
    EXPECT_EQ(events[2].path, tp.trash() + "/old");
    EXPECT_EQ(events[0].trash, internal().volumeName());
    EXPECT_EQ(events[0].volumePath, "");
    EXPECT_EQ(events[1].trash, "Other");
    EXPECT_EQ(events[1].volumePath, other);
    for (const auto& event : events) {
        EXPECT_EQ(event.reason, DeletionReason::Age);
        EXPECT_TRUE(event.deleted);
        EXPECT_EQ(event.failure, "");
        EXPECT_EQ(event.bytes, 100.0);
        EXPECT_EQ(event.originalLocation, event.path); // a classic trash keeps no description
    }
    EXPECT_EQ(events[0].trashedOn, std::chrono::system_clock::from_time_t(kNow - 50 * kDay));

    // Once the limit is met nothing more goes, pass after pass.
    runPass();
    EXPECT_EQ(heard.events().size(), 3u);
    EXPECT_TRUE(exists(tp.trash() + "/young"));
}

TEST_F(PolicyTest, TheSizeCapAndAMinimumAsASizeTakeTheOldestUntilTheyAreMet)
{
    for (int day = 1; day <= 5; ++day)
        homeItem("h" + std::to_string(day), day, 1000);
    const std::string data = volume("Data");
    for (int day = 1; day <= 5; ++day)
        volumeItem(data, "501/v" + std::to_string(day), day);
    tp.space.setFor(data, kCapacity, kAmple); // 90 % free: the ratio would never trigger
    HeardEvents heard;
    shredder().addDeletionListener(heard);
    // The home trash may hold 2500 bytes of its volume's capacity.
    tp.defaults.setFloat(keys::MaximumTrashRatio.name, static_cast<float>(2500.0 / kCapacity));
    // Data keeps 100 bytes more free than it has: one item's worth.
    VolumeOverrides sized;
    sized.minimumSize = kAmple + 100.0;
    sized.maximumTrashRatio = 0.0f;
    controllers->preferences.setOverrides(controllers->preferences.volumeKeyAt(data), sized);
    wake();
    // The fake volume's free space rises as the pass deletes; the trace tells each deletion.
    setTracing(true);
    log.hook = [&](const std::string& line) {
        if (line.rfind("Shredded " + data, 0) == 0)
            tp.space.setFor(data, kCapacity, kAmple + 100.0);
    };
    runPass();
    setTracing(false);

    // Oldest first until the trash is at its share: 5000 - 3 x 1000 <= 2500 after three.
    for (const char* gone : {"h5", "h4", "h3"})
        EXPECT_FALSE(exists(tp.trash() + "/" + gone)) << gone;
    EXPECT_TRUE(exists(tp.trash() + "/h2"));
    EXPECT_TRUE(exists(tp.trash() + "/h1"));
    EXPECT_FALSE(exists(data + "/.Trashes/501/v5"));
    EXPECT_TRUE(exists(data + "/.Trashes/501/v4"));
    int capped = 0;
    int freeSpace = 0;
    for (const auto& event : heard.events()) {
        capped += event.reason == DeletionReason::SizeCap ? 1 : 0;
        freeSpace += event.reason == DeletionReason::FreeSpace && event.volumePath == data ? 1 : 0;
    }
    EXPECT_EQ(capped, 3);
    EXPECT_EQ(freeSpace, 1);
}

TEST_F(PolicyTest, AFirstPassBeforeAnyMeasurementBeganSeesTheShortTrashes)
{
    homeItem("old", 5);
    const std::string data = volume("Data");
    volumeItem(data, "501/v", 5);
    tp.space.set(kCapacity, kShort);
    tp.space.setFor(data, kCapacity, kShort);
    // As at start when the measuring threads have not begun yet: the baselines are taken,
    // the counters are still 0.
    internal().checkTrashCountChange();
    internal().checkFreeSizeChange();
    external().checkTrashCountChangeAtPath(data);
    external().checkFreeSizeChangeAtPath(data);
    runPass();
    EXPECT_FALSE(exists(tp.trash() + "/old"));
    EXPECT_FALSE(exists(data + "/.Trashes/501/v"));
}

TEST_F(PolicyTest, AFailedItemComesBackAfterTenMinutesOrWhenAnythingInsideItChanges)
{
    makeFolder(tp.trash() + "/old/inner/deep");
    writeFile(tp.trash() + "/old/inner/deep/file", 100);
    setModificationTime(tp.trash() + "/old", kNow - 5 * kDay);
    wake();
    // Test mode moves items into a dump folder on the Desktop, a file here: the item is
    // renamed to its time-stamp name, then fails to move, every time.
    ASSERT_EQ(rmdir((tp.home / "Desktop").c_str()), 0);
    writeFile(tp.home / "Desktop", 1);
    controllers->preferences.setTestModeSwitch(true);
    tp.space.set(kCapacity, kShort);
    const auto attempts = [&] { return linesWith("shredFile:" + tp.trash() + "/"); };

    runPass();
    const int firstAttempt = attempts();
    ASSERT_GT(firstAttempt, 0);
    EXPECT_EQ(tp.alerts.shown().size(), 1u);
    runPass(); // unchanged: passed over
    EXPECT_EQ(attempts(), firstAttempt);

    // A change deep inside, where the item's own status-change time does not move.
    const auto left = internal().rootArray();
    ASSERT_EQ(left.size(), 1u);
    writeFile(tp.trash() + "/" + left[0] + "/inner/deep/new", 10);
    runPass();
    EXPECT_GT(attempts(), firstAttempt);
    const int secondAttempt = attempts();
    runPass();
    EXPECT_EQ(attempts(), secondAttempt);

    // Ten minutes on, it is tried again unchanged; failing again is no news within the hour.
    tp.clock.advance(Seconds(11 * 60));
    runPass();
    EXPECT_GT(attempts(), secondAttempt);
    EXPECT_EQ(tp.alerts.shown().size(), 1u);
    EXPECT_EQ(tp.log.count("Brindlewick: Some error occured at #3."), 1);
    EXPECT_EQ(linesWith("still cannot be deleted"), 0);
    // After an hour, one line tells that it still fails.
    tp.clock.advance(Seconds(60 * 60));
    runPass();
    EXPECT_EQ(linesWith("still cannot be deleted"), 1);
    EXPECT_EQ(tp.alerts.shown().size(), 1u);
}

TEST_F(PolicyTest, AnItemThatFailedForWantOfDescriptorsIsTriedAgainAtTheNextPass)
{
    makeFolder(tp.trash() + "/old/sub/subsub");
    writeFile(tp.trash() + "/old/sub/subsub/file", 100);
    setModificationTime(tp.trash() + "/old", kNow - 5 * kDay);
    wake();
    tp.space.set(kCapacity, kShort);
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    // One descriptor left: the trash can be listed, the item's folders cannot be opened.
    const int lowest = dup(0);
    ASSERT_GE(lowest, 0);
    close(lowest);
    struct rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(lowest) + 1;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    runPass();
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
    ASSERT_TRUE(exists(tp.trash() + "/old"));
    EXPECT_EQ(linesWith("for want of resources"), 1);
    EXPECT_TRUE(tp.alerts.shown().empty()); // nobody is asked about it

    runPass();
    EXPECT_FALSE(exists(tp.trash() + "/old"));
}

} // namespace
} // namespace bw::test
