// The automatic delete pass end to end on real, small file systems: the test mounts its own
// tmpfs volumes (one holds HOME), fills them until free space is short, and runs passes
// through the real controllers with statvfs figures.
#include "app/Controllers.h"
#include "platform/posix/MountinfoVolumeSource.h"
#include "platform/posix/StatvfsSpaceSource.h"
#include "settings/SettingsKeys.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace bw::test {
namespace {

constexpr time_t kNow = 1700000000; // the fake clock's start
constexpr time_t kDay = 86400;
constexpr size_t kVolumeSize = 4 * 1024 * 1024;
constexpr size_t kItemSize = 200 * 1024;
constexpr size_t kLeftFree = 100 * 1024; // below the 10 % minimum; two items' worth above it

double freeBytes(const std::string& path)
{
    struct statvfs vfs {};
    statvfs(path.c_str(), &vfs);
    return static_cast<double>(vfs.f_bavail) * static_cast<double>(vfs.f_frsize);
}

class AutoDeleteOnTmpfsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/mnt/brindlewick-e2e-XXXXXX";
        if (!mkdtemp(pattern))
            GTEST_SKIP() << "no folder for mount points under /mnt";
        root_ = pattern;
        home = root_ + "/home";
        data = root_ + "/Data";
        if (!mountTmpfs(home) || !mountTmpfs(data))
            GTEST_SKIP() << "mounting a tmpfs is not permitted here";
        makeFolder(home + "/.Trash");
        makeFolder(home + "/Desktop");
        makeFolder(data + "/.Trashes/" + std::to_string(getuid()));

        tp.platform.homeDirectory = home;
        tp.platform.space = &space;
        tp.platform.log = &log;
        tp.keys.held = true;
        tp.volumes.set({data});
        Controllers::registerDefaults(tp.defaults);
        controllers = std::make_unique<Controllers>(tp.platform);
    }

    void TearDown() override
    {
        tp.workers.requestQuit();
        tp.workers.waitForAll();
        controllers.reset();
        for (auto it = mounts_.rbegin(); it != mounts_.rend(); ++it)
            umount2(it->c_str(), MNT_DETACH);
        if (!root_.empty())
            std::system(("rm -rf '" + root_ + "'").c_str());
    }

    bool mountTmpfs(const std::string& path, size_t size = kVolumeSize)
    {
        makeFolder(path);
        const std::string options = "size=" + std::to_string(size);
        if (mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) != 0)
            return false;
        mounts_.push_back(path);
        return true;
    }
    void unmount(const std::string& path)
    {
        umount2(path.c_str(), MNT_DETACH);
        mounts_.erase(std::find(mounts_.begin(), mounts_.end(), path));
    }

    void item(const std::string& path, time_t daysAgo)
    {
        writeFile(path, kItemSize);
        setModificationTime(path, kNow - daysAgo * kDay);
    }
    // Fills the volume until only kLeftFree bytes are free.
    void fill(const std::string& volume)
    {
        const double surplus = freeBytes(volume) - static_cast<double>(kLeftFree);
        writeFile(volume + "/filler", static_cast<size_t>(surplus));
        ASSERT_LT(freeBytes(volume), 0.1 * kVolumeSize);
    }
    static double minimum(const std::string& volume)
    {
        struct statvfs vfs {};
        statvfs(volume.c_str(), &vfs);
        return std::trunc(static_cast<double>(0.1f) * static_cast<double>(vfs.f_blocks) * static_cast<double>(vfs.f_frsize));
    }

    void wake()
    {
        controllers->awakeFromNib();
        tp.workers.waitForAll();
    }
    void runPass()
    {
        controllers->shredder.autoShred();
        tp.workers.waitForAll();
    }
    // Root items handed to the shredder, across every trash, in order.
    std::vector<std::string> shredded() const
    {
        std::vector<std::string> items;
        for (const auto& line : tp.log.lines())
            if (line.rfind("shredFile:", 0) == 0)
                items.push_back(line.substr(std::string("shredFile:").size()));
        return items;
    }
    std::string homeTrash(const std::string& name) const { return home + "/.Trash/" + name; }
    std::string volumeTrash(const std::string& relative) const { return data + "/.Trashes/" + relative; }
    std::string own() const { return std::to_string(getuid()); }

    TestPlatform tp;
    HookedLog log{tp.log};
    posix::StatvfsSpaceSource space;
    std::string home, data;
    std::unique_ptr<Controllers> controllers;

private:
    std::string root_;
    std::vector<std::string> mounts_;
};

TEST_F(AutoDeleteOnTmpfsTest, OldestItemsGoFirstUntilFreeSpaceIsBackAtTheMinimum)
{
    item(homeTrash("mid"), 3);
    item(homeTrash("young"), 1);
    item(homeTrash("old"), 5);
    item(volumeTrash(own() + "/a"), 3);
    item(volumeTrash(own() + "/c"), 1);
    makeFolder(volumeTrash("54321"));
    item(volumeTrash("54321/b"), 6); // another user's, and the oldest of the volume
    fill(home);
    fill(data);
    wake();

    runPass();
    EXPECT_EQ(shredded(), (std::vector<std::string>{homeTrash("old"), volumeTrash("54321/b"), homeTrash("mid"),
                                                     volumeTrash(own() + "/a")}));
    EXPECT_TRUE(exists(homeTrash("young")));
    EXPECT_TRUE(exists(volumeTrash(own() + "/c")));
    EXPECT_GE(freeBytes(home), minimum(home));
    EXPECT_GE(freeBytes(data), minimum(data));
    EXPECT_EQ(tp.log.count("free break"), 1);
    EXPECT_TRUE(tp.defaults.stored().count(keys::LastAutoExecuteDate));
    // The counters match what is left, as a fresh measurement would find it.
    EXPECT_EQ(controllers->internal.trashSize(), static_cast<double>(kItemSize));
    EXPECT_EQ(controllers->external.trashSizeWithPath(data), static_cast<double>(kItemSize));
}

TEST_F(AutoDeleteOnTmpfsTest, ForcedModeEmptiesOnlyTheMarkedTrashes)
{
    item(homeTrash("h1"), 2);
    item(homeTrash("h2"), 1);
    item(volumeTrash(own() + "/v"), 1);
    wake();
    controllers->internal.setShredMode(true);
    controllers->shredder.setShredMode(1);

    runPass();
    EXPECT_TRUE(controllers->internal.rootArray().empty());
    EXPECT_TRUE(exists(volumeTrash(own() + "/v")));
    EXPECT_EQ(tp.log.count("empty break"), 1);
    EXPECT_FALSE(tp.defaults.stored().count(keys::LastAutoExecuteDate));
}

TEST_F(AutoDeleteOnTmpfsTest, AStopRequestLeavesTheRestAndRebuildsTheTables)
{
    for (int i = 1; i <= 3; ++i)
        item(homeTrash("h" + std::to_string(i)), i);
    wake();
    controllers->internal.setShredMode(true);
    controllers->shredder.setShredMode(1);
    int cycles = 0;
    log.hook = [&](const std::string& line) {
        if (line == "***autoShredThread loop***" && ++cycles == 2)
            controllers->shredder.setShredBreak(true);
    };

    runPass();
    EXPECT_EQ(shredded(), (std::vector<std::string>{homeTrash("h3")}));
    EXPECT_EQ(controllers->internal.trashFiles().size(), 2u);
    EXPECT_EQ(controllers->internal.trashSize(), 2.0 * kItemSize);
    EXPECT_EQ(controllers->shredder.shredMode(), 0);
    EXPECT_FALSE(controllers->shredder.shredBreak());
}

TEST_F(AutoDeleteOnTmpfsTest, AnItemThatCannotGoIsToldOnceAndTheYoungerItemsGo)
{
    // A file system mounted inside a trashed folder cannot be removed with it.
    makeFolder(homeTrash("stuck/inner"));
    setModificationTime(homeTrash("stuck"), kNow - 9 * kDay);
    ASSERT_TRUE(mountTmpfs(homeTrash("stuck/inner"), 64 * 1024));
    item(homeTrash("next"), 1);
    fill(home);
    wake();

    runPass();
    EXPECT_EQ(tp.alerts.shown().size(), 1u);
    EXPECT_EQ(tp.log.count("Brindlewick: Some error occured at #3."), 1);
    EXPECT_FALSE(exists(homeTrash("next")));
    EXPECT_TRUE(exists(homeTrash("stuck")));
    EXPECT_FALSE(controllers->shredder.isShredding());

    // Space is still short, but the stuck item is not tried again while it stays as it is.
    item(homeTrash("later"), 2);
    runPass();
    EXPECT_FALSE(exists(homeTrash("later")));
    EXPECT_EQ(tp.alerts.shown().size(), 1u);
    EXPECT_EQ(tp.log.count("Brindlewick: Some error occured at #3."), 1);
    EXPECT_LT(freeBytes(home), minimum(home));
}

TEST_F(AutoDeleteOnTmpfsTest, AnEmptyingThatDeletedNothingNamesWhatItCouldNotDelete)
{
    makeFolder(homeTrash("stuck/inner"));
    ASSERT_TRUE(mountTmpfs(homeTrash("stuck/inner"), 64 * 1024));
    wake();
    controllers->manager.startForcedTrash();
    tp.workers.waitForAll();
    tp.mainLoop.runPosted();
    EXPECT_TRUE(exists(homeTrash("stuck")));
    ASSERT_EQ(tp.notifier.shown.size(), 1u);
    EXPECT_EQ(tp.notifier.shown[0].first, "Could not delete 1 item");
    EXPECT_EQ(tp.notifier.shown[0].second, "stuck");
}

TEST_F(AutoDeleteOnTmpfsTest, AVolumeMountedAndUnmountedWhileRunningIsPickedUpAndDropped)
{
    posix::MountinfoVolumeSource mounted(currentTrashOwner(home));
    tp.platform.volumes = &mounted;
    // The real mount table may list volumes of others; the pass that the notification
    // starts must not delete anything there.
    tp.defaults.persisted[keys::MinimumFreeSpaceRatio.name] = 0.0f;
    wake();
    const std::string late = data + "-late";
    ASSERT_TRUE(mountTmpfs(late));
    makeFolder(late + "/.Trashes/" + own());
    item(late + "/.Trashes/" + own() + "/x", 1);

    controllers->manager.trashChanged(kDirectoryNotification);
    tp.mainLoop.advance(Seconds(1.0));
    tp.workers.waitForAll();
    EXPECT_TRUE(controllers->external.isContainPath(late));
    EXPECT_TRUE(controllers->external.trashFilesAtPath(late));
    EXPECT_EQ(controllers->external.trashSizeWithPath(late), static_cast<double>(kItemSize));
    EXPECT_FALSE(controllers->external.isContainPath(home)); // the startup volume

    unmount(late);
    controllers->manager.trashChanged(kDirectoryNotification);
    tp.mainLoop.advance(Seconds(1.0));
    tp.workers.waitForAll();
    EXPECT_FALSE(controllers->external.isContainPath(late));
    EXPECT_FALSE(controllers->external.trashFilesAtPath(late));
}

} // namespace
} // namespace bw::test
