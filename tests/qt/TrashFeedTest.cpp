#include "platform/qt/TrashFeed.h"
#include "tests/qt/QtTestApp.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/mount.h>
#include <sys/stat.h>

namespace bw::test {
namespace {

class TrashFeedTest : public ::testing::Test {
protected:
    TrashFeedTest() { qtApp(); }

    // Mounts made by other programs meanwhile are no business of the tests that count
    // trash changes, so those do not watch the mount table.
    void startFeed(std::vector<std::string> volumes = {}, std::string mountTable = {})
    {
        feed = std::make_unique<qt::TrashFeed>(
            [this, volumes] { return watchOf(currentTrashOwner(home.path()), volumes); }, log,
            [this] { ++notifications; }, kWindow, mountTable);
        ASSERT_TRUE(feed->start());
    }

    // Every usable trash folder of both layouts at the home and on the volumes.
    static TrashWatch watchOf(const TrashOwner& owner, const std::vector<std::string>& volumes)
    {
        TrashWatch watch;
        const auto add = [&watch](const TrashLayout* layout, const std::vector<ItemFolder>& folders) {
            for (const auto& folder : folders)
                if (folder.refusal.empty())
                    layout->addWatches(folder, watch);
        };
        for (const TrashLayout* layout : trashLayouts()) {
            layout->addHomeParents(owner, watch);
            add(layout, layout->homeFolders(owner));
            for (const auto& volume : volumes) {
                layout->addVolumeParents(volume, owner, watch);
                add(layout, layout->volumeFolders(volume, owner));
            }
        }
        return watch;
    }

    void moveIntoTrash(const std::string& name, const std::string& trash)
    {
        writeFile(home / name, 10);
        ASSERT_EQ(std::rename((home / name).c_str(), (trash + "/" + name).c_str()), 0);
    }

    static constexpr int kWindow = 300;
    TempDir home;
    CapturingLog log;
    std::unique_ptr<qt::TrashFeed> feed;
    int notifications = 0;
};

TEST_F(TrashFeedTest, ABurstOfMovesIntoTheHomeTrashGivesOneNotification)
{
    makeFolder(home / ".Trash");
    startFeed();
    runEvents(kWindow * 2);
    EXPECT_EQ(notifications, 0);

    moveIntoTrash("a", home / ".Trash");
    runEvents(kWindow * 3);
    EXPECT_EQ(notifications, 1);

    for (const char* name : {"b", "c", "d"})
        moveIntoTrash(name, home / ".Trash");
    ASSERT_EQ(std::remove((home / ".Trash/a").c_str()), 0);
    runEvents(kWindow * 3);
    EXPECT_EQ(notifications, 2);

    // What happens beside the trash is no change of it.
    writeFile(home / "notes.txt", 5);
    makeFolder(home / "Documents");
    runEvents(kWindow * 3);
    EXPECT_EQ(notifications, 2);
}

TEST_F(TrashFeedTest, ATrashThatAppearsLaterIsWatchedFromThen)
{
    startFeed();
    makeFolder(home / ".Trash");
    runEvents(kWindow * 3);
    EXPECT_EQ(notifications, 1);
    moveIntoTrash("a", home / ".Trash");
    runEvents(kWindow * 3);
    EXPECT_EQ(notifications, 2);
}

TEST_F(TrashFeedTest, ALinkNamedTrashIsNotWatched)
{
    makeFolder(home / "elsewhere");
    ASSERT_EQ(symlink((home / "elsewhere").c_str(), (home / ".Trash").c_str()), 0);
    startFeed();
    moveIntoTrash("a", home / "elsewhere");
    runEvents(kWindow * 3);
    EXPECT_EQ(notifications, 0);
}

TEST_F(TrashFeedTest, VolumeTrashesAndTheirPerUserFoldersAreWatched)
{
    // Per-user folders of no account of this machine, as on a disk from elsewhere.
    const std::string trashes = home / "volume/.Trashes";
    makeFolder(trashes + "/54321");
    startFeed({home / "volume"});
    moveIntoTrash("a", trashes + "/54321");
    runEvents(kWindow * 3);
    EXPECT_EQ(notifications, 1);

    // A per-user folder made after the start is watched too.
    makeFolder(trashes + "/54322");
    runEvents(kWindow * 3);
    EXPECT_EQ(notifications, 2);
    moveIntoTrash("b", trashes + "/54322");
    runEvents(kWindow * 3);
    EXPECT_EQ(notifications, 3);
}

TEST_F(TrashFeedTest, AMountAndAnUnmountAreEachAnnounced)
{
    const std::string point = home / "mnt";
    makeFolder(point);
    startFeed({}, "/proc/self/mountinfo");
    runEvents(kWindow * 2);
    const int before = notifications; // other programs may mount meanwhile
    if (mount("tmpfs", point.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "mounting needs root";
    runEvents(kWindow * 3);
    const int afterMount = notifications;
    EXPECT_GT(afterMount, before);
    ASSERT_EQ(umount(point.c_str()), 0);
    runEvents(kWindow * 3);
    EXPECT_GT(notifications, afterMount);
}

} // namespace
} // namespace bw::test
