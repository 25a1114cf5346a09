#include "app/Controllers.h"
#include "manager/Manager.h"
#include "settings/SettingsKeys.h"
#include "tests/support/FakeMainLoop.h"
#include "tests/support/FakeStatusItem.h"
#include "tests/support/ShredderFlags.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace bw {

namespace {

using test::FakeMainLoop;
using test::FakeStatusItem;
using test::TestPlatform;

constexpr double kCapacity = 1000000000000.0;

class ManagerTest : public ::testing::Test {
protected:
    ManagerTest()
    {
        tp.platform.mainLoop = &loop;
        tp.platform.statusItem = &item;
        Controllers::registerDefaults(tp.defaults);
    }

    // The passes that the ticks started use the controllers: they end first.
    ~ManagerTest() override
    {
        tp.workers.requestQuit();
        tp.workers.waitForAll();
    }

    // Wakes only what the monitor needs, without the measuring worker of the home trash.
    void wakeMonitor()
    {
        c.preferences.awakeFromNib();
        c.manager.awakeFromNib();
    }

    void launch()
    {
        c.awakeFromNib();
        tp.workers.waitForAll();
        loop.runPosted();
        c.manager.applicationDidFinishLaunching();
    }

    // The times at which a monitor tick re-armed the timer with `interval`.
    std::vector<double> ticks(double interval = 300.0) const
    {
        std::vector<double> at;
        for (const auto& s : loop.started)
            if (s.delay == interval)
                at.push_back(s.at);
        return at;
    }

    // Home trash of t bytes with room r: free space is set so that free + t - minimum = r.
    void setTrash(double t, double r)
    {
        tp.space.set(kCapacity, 0.0);
        const double minimum = c.internal.miniSize();
        c.internal.setTrashSize(t);
        tp.space.set(kCapacity, r - t + minimum);
        ASSERT_EQ(c.internal.fullTrashSize(), r);
    }

    void raise(std::atomic<bool> Shredder::*flag, bool on) { (c.shredder.*flag).store(on); }

    TestPlatform tp;
    FakeMainLoop loop;
    FakeStatusItem item;
    Controllers c{tp.platform};
};

TEST_F(ManagerTest, FirstTickAtLaunchThenOneFullIntervalAfterTheLatestTick)
{
    launch();
    EXPECT_TRUE(item.shown());
    EXPECT_EQ(ticks(), std::vector<double>{0.0});
    EXPECT_EQ(loop.pendingTimers(), 1);
    EXPECT_EQ(loop.nextDueIn(), 300.0);

    // A directory change 10 s after the tick: the tick comes after the one-second wait, and the
    // timer of the first tick never fires.
    loop.advance(Seconds(10));
    c.manager.trashChanged(kDirectoryNotification);
    loop.advance(Seconds(0.999));
    EXPECT_EQ(ticks().size(), 1u);
    loop.advance(Seconds(0.001));
    EXPECT_EQ(ticks(), (std::vector<double>{0.0, 11.0}));
    EXPECT_EQ(loop.pendingTimers(), 1);
    EXPECT_EQ(loop.nextDueIn(), 300.0);
    loop.advance(Seconds(300));
    EXPECT_EQ(ticks(), (std::vector<double>{0.0, 11.0, 311.0}));

    // The indexing notification counts too; a burst during the wait ends in one tick.
    c.manager.trashChanged(kIndexingNotification);
    loop.advance(Seconds(0.5));
    c.manager.trashChanged(kDirectoryNotification);
    loop.advance(Seconds(2));
    EXPECT_EQ(ticks(), (std::vector<double>{0.0, 11.0, 311.0, 312.0}));

    // Any other name changes nothing.
    c.manager.trashChanged("com.apple.carbon.core.DirectoryNotificationX");
    c.manager.trashChanged("");
    c.manager.trashChanged("org.freedesktop.FileManager1");
    EXPECT_EQ(loop.pendingTimers(), 1);
    loop.advance(Seconds(5));
    EXPECT_EQ(ticks().size(), 4u);

    // Reopening runs a tick and asks for no window; so does the menu's check-now.
    EXPECT_FALSE(c.manager.applicationShouldHandleReopen());
    EXPECT_EQ(ticks().back(), 318.5);
    loop.advance(Seconds(3));
    c.manager.actSizeMonitor();
    EXPECT_EQ(ticks().back(), 321.5);
    EXPECT_EQ(loop.pendingTimers(), 1);
}

TEST_F(ManagerTest, ANotificationSetsUpEveryMountedVolumeAndDropsEveryUnmountedOne)
{
    const std::string a = tp.home / "a", b = tp.home / "b", d = tp.home / "d";
    for (const auto& volume : {a, b, d})
        test::makeFolder(volume + "/.Trashes/0");
    launch();
    auto settle = [&] {
        c.manager.trashChanged(kDirectoryNotification);
        loop.advance(Seconds(1));
        tp.workers.waitForAll();
    };

    // Two volumes mounted within one burst of changes.
    tp.volumes.mount(a);
    tp.volumes.mount(b);
    settle();
    EXPECT_TRUE(c.external.trashFilesAtPath(a));
    EXPECT_TRUE(c.external.trashFilesAtPath(b));
    EXPECT_EQ(c.external.installedVolumePath(), std::nullopt);

    // One swapped for another: the count of volumes stays the same.
    tp.volumes.unmount(a);
    tp.volumes.mount(d);
    settle();
    EXPECT_FALSE(c.external.trashFilesAtPath(a));
    EXPECT_TRUE(c.external.trashFilesAtPath(d));
    EXPECT_EQ(c.external.removedVolumePath(), std::nullopt);

    tp.volumes.unmount(b);
    tp.volumes.unmount(d);
    settle();
    EXPECT_FALSE(c.external.trashFilesAtPath(b));
    EXPECT_FALSE(c.external.trashFilesAtPath(d));
}

TEST_F(ManagerTest, ChangedIntervalAppliesFromTheNextTick)
{
    launch();
    c.preferences.applyAndStore(0.1f, 60.0f, false, true, false);
    loop.advance(Seconds(299));
    EXPECT_EQ(ticks(60.0).size(), 0u);
    loop.advance(Seconds(1));
    EXPECT_EQ(ticks(60.0), std::vector<double>{300.0});
    loop.advance(Seconds(60));
    EXPECT_EQ(ticks(60.0), (std::vector<double>{300.0, 360.0}));
}

TEST_F(ManagerTest, IntervalsThatWouldSpinOrOverflowAreClampedAndLoggedOnce)
{
    launch();
    for (float bad : {0.0f, -5.0f, 0.001f, std::numeric_limits<float>::quiet_NaN(), 1e30f}) {
        c.preferences.applyAndStore(0.1f, 300.0f, false, true, false);
        c.manager.sizeMonitor();
        tp.log.clear();
        c.preferences.applyAndStore(0.1f, bad, false, true, false);
        c.manager.sizeMonitor();
        const double used = bad == 1e30f ? Manager::kLongestInterval : Manager::kShortestInterval;
        EXPECT_EQ(loop.started.back().delay, used) << bad;
        loop.advance(Seconds(std::min(used * 10, 1e6)));
        EXPECT_EQ(loop.nextDueIn(), used) << bad;
        EXPECT_EQ(loop.pendingTimers(), 1) << bad;
        EXPECT_EQ(tp.log.lines().size(), 1u) << bad;
    }
}

TEST_F(ManagerTest, TicksDuringADeletionOnlyRearmTheTimer)
{
    launch();
    tp.workers.waitForAll();
    // A pass that runs ends by going back to free-space mode, so forced mode set here
    // survives exactly when no pass started.
    for (auto flag : {test::shreddingFlag(), test::partialShreddingFlag()}) {
        raise(flag, true);
        c.shredder.setShredMode(1);
        loop.advance(Seconds(10));
        c.manager.sizeMonitor();
        tp.workers.waitForAll();
        EXPECT_EQ(c.shredder.shredMode(), 1);
        EXPECT_TRUE(c.shredder.*flag);
        EXPECT_EQ(loop.pendingTimers(), 1);
        EXPECT_EQ(loop.nextDueIn(), 300.0);
        raise(flag, false);
    }
    // With no deletion running, the timer's tick starts a pass.
    loop.advance(Seconds(300));
    tp.workers.waitForAll();
    EXPECT_EQ(c.shredder.shredMode(), 0);
    EXPECT_EQ(ticks(), (std::vector<double>{0.0, 10.0, 20.0, 320.0}));
}

TEST_F(ManagerTest, QuitSavesThePanelFramesAndStopsTheTimer)
{
    tp.prefsPanel.frame = "10 20 400 300";
    tp.infoPanel.frame.clear(); // never shown
    launch();
    c.manager.actQuit();
    EXPECT_EQ(loop.quitCount, 1);
    c.manager.applicationWillTerminate();
    EXPECT_EQ(loop.pendingTimers(), 0);
    const auto stored = tp.defaults.stored();
    EXPECT_EQ(std::get<std::string>(stored.at(keys::PreferencesPanel)), "10 20 400 300");
    EXPECT_EQ(stored.count(keys::TrashInformationPanel), 0u);

    tp.infoPanel.frame = "5 5 640 200";
    c.manager.applicationWillTerminate();
    EXPECT_EQ(std::get<std::string>(tp.defaults.stored().at(keys::TrashInformationPanel)), "5 5 640 200");
}

TEST_F(ManagerTest, TheToolTipGivesTheHomeTrashFreeSpaceAndMinimum)
{
    wakeMonitor();
    tp.space.set(kCapacity, 3e11);
    c.internal.setTrashSize(4.5e6);
    c.manager.setMenuIcon();
    EXPECT_EQ(item.figures(), (ToolTipFigures{4.5e6, 3e11, c.internal.miniSize()}));
    // The measuring icon, shown from a worker, tells the figures of its moment too.
    tp.space.set(kCapacity, 2e11);
    std::thread([&] { c.manager.setMenuIconMeasuring(); }).join();
    loop.runPosted();
    EXPECT_EQ(item.figures().free, 2e11);
}

TEST_F(ManagerTest, LevelsPicturesAndToolTips)
{
    wakeMonitor();
    struct Case {
        double t, r;
        const char* picture;
        const char* toolTip;
    };
    const Case cases[] = {
        {0.0, 5e9, "EmptyTrash.png", "Trash is empty condition"},
        {1.0, 5e9, "UsedTrash.png", "Watching trash condition"},
        {1e9, 2e9, "HalfTrash.png", "Watching trash condition"},       // exactly half
        {1e9 - 1, 2e9 - 1, "UsedTrash.png", "Watching trash condition"}, // one byte less
        {9e9, 1e10, "FullTrash.png", "Watching trash condition"},       // exactly 90 %
        {9e9 - 1, 1e10 - 1, "HalfTrash.png", "Watching trash condition"},
        {2e9, -3e9, "FullTrash.png", "Watching trash condition"}, // free + trash below the minimum
        {0.0, -3e9, "EmptyTrash.png", "Trash is empty condition"},
    };
    for (const auto& k : cases) {
        setTrash(k.t, k.r);
        c.manager.setMenuIcon();
        EXPECT_EQ(item.image(), k.picture) << k.t << " of " << k.r;
        EXPECT_EQ(item.toolTip(), k.toolTip) << k.t << " of " << k.r;
        c.manager.setMenuIconMeasuring();
        const std::string normal = k.picture;
        EXPECT_EQ(item.image(), normal.substr(0, normal.size() - 4) + "Measure.png");
        EXPECT_EQ(item.toolTip(), "Measuring trash condition");
    }

    // Other volumes' trashes never change the icon.
    setTrash(0.0, 5e9);
    c.external.setTrashSize(4e9, tp.home.path());
    c.manager.setMenuIcon();
    EXPECT_EQ(item.image(), "EmptyTrash.png");
    EXPECT_EQ(item.toolTip(), "Trash is empty condition");
}

TEST_F(ManagerTest, DeletionToolTipAndMeasuringDuringADeletion)
{
    wakeMonitor();
    for (auto flag : {test::shreddingFlag(), test::partialShreddingFlag()}) {
        for (double t : {0.0, 1e9}) {
            setTrash(t, 2e9);
            raise(flag, true);
            c.manager.setMenuIcon();
            EXPECT_EQ(item.image(), t == 0.0 ? "EmptyTrash.png" : "HalfTrash.png");
            EXPECT_EQ(item.toolTip(), "Shredding trash files");
            c.manager.setMenuIconMeasuring();
            EXPECT_EQ(item.toolTip(), "Measuring trash condition");
            raise(flag, false);
            c.manager.setMenuIcon();
            EXPECT_EQ(item.toolTip(), t == 0.0 ? "Trash is empty condition" : "Watching trash condition");
        }
    }
}

TEST_F(ManagerTest, IconCallsBeforeTheItemExistsChangeNothing)
{
    c.preferences.awakeFromNib();
    setTrash(1e9, 2e9);
    c.manager.setMenuIconMeasuring();
    c.manager.setMenuIcon();
    c.manager.setIconToolTip("Watching trash condition");
    EXPECT_EQ(c.manager.statusItem(), nullptr);
    EXPECT_EQ(item.updates(), 0);
    EXPECT_EQ(loop.postedCount(), 0);
    c.manager.awakeFromNib();
    EXPECT_EQ(c.manager.statusItem(), &item);
    EXPECT_EQ(item.updates(), 0); // no picture until the first icon update
}

TEST_F(ManagerTest, WorkerCallsAreAppliedOnTheMainThreadInCallOrder)
{
    wakeMonitor();
    setTrash(1e9, 2e9);
    std::thread([&] { c.manager.setMenuIconMeasuring(); }).join();
    EXPECT_EQ(item.updates(), 0);
    // A main-thread call after it must not be overtaken by the worker's queued update.
    c.manager.setMenuIcon();
    EXPECT_EQ(item.updates(), 0);
    loop.runPosted();
    EXPECT_EQ(item.image(), "HalfTrash.png");
    EXPECT_EQ(item.toolTip(), "Watching trash condition");
    // Nothing queued any more: the main thread draws at once.
    setTrash(0.0, 2e9);
    c.manager.setMenuIcon();
    EXPECT_EQ(item.image(), "EmptyTrash.png");
}

TEST_F(ManagerTest, LaunchShowsTheIconOfTheMeasuredTrash)
{
    test::makeFolder(tp.trash());
    test::writeFile(tp.trash() + "/a", 3000);
    launch();
    EXPECT_EQ(c.internal.trashSize(), 3000.0);
    EXPECT_EQ(item.image(), "UsedTrash.png");
    EXPECT_EQ(item.toolTip(), "Watching trash condition");
}

} // namespace
} // namespace bw
