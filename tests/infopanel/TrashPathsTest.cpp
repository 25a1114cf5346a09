#include "app/Controllers.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <thread>
#include <unistd.h>

using namespace bw;
using namespace bw::test;

namespace {

// The file line of the panel, on the paths of a Mac or of a Linux desktop.
struct ShredFileLine {
    ShredFileLine(const std::string& homeDirectory, std::vector<std::string> volumes)
        : c(withHome(tp, homeDirectory))
    {
        tp.volumes.set(std::move(volumes));
        c.volume.awakeFromNib();
    }

    // The text after the deleting worker reported `path` with volume `index` chosen.
    std::string shownFor(int index, const std::string& path)
    {
        tp.infoPanel.selected = index;
        c.volume.dispShredFileWithPath(path);
        tp.mainLoop.runPosted();
        return tp.infoPanel.shredFile;
    }

    // The home trash folder is taken from the home folder when the controllers are made.
    static const Platform& withHome(TestPlatform& tp, const std::string& homeDirectory)
    {
        tp.platform.homeDirectory = homeDirectory;
        return tp.platform;
    }

    TestPlatform tp;
    Controllers c;
};

TEST(ShredFileLine, ShowsThePathBelowTheChosenVolumesTrashAndIgnoresOtherFiles)
{
    ShredFileLine mac("/Users/user1", {"/Volumes/Data"});
    mac.tp.infoPanel.titles = {"Macintosh HD", "Data"};
    EXPECT_EQ(mac.shownFor(0, "/Users/user1/.Trash/photos/img1.jpg"), "photos/img1.jpg");
    EXPECT_EQ(mac.shownFor(1, "/Volumes/Data/.Trashes/501/old.iso"), "old.iso");
    // The startup volume chosen, a volume's file (and the other way round): unchanged.
    EXPECT_EQ(mac.shownFor(0, "/Volumes/Data/.Trashes/501/new.iso"), "old.iso");
    EXPECT_EQ(mac.shownFor(1, "/Users/user1/.Trash/photos/img2.jpg"), "old.iso");
    EXPECT_EQ(mac.shownFor(-1, "/Users/user1/.Trash/photos/img2.jpg"), "old.iso");
    // Only the trash folders themselves count, not names that begin like them.
    EXPECT_EQ(mac.shownFor(0, "/Users/user1/.Trash2/a"), "old.iso");
    EXPECT_EQ(mac.shownFor(1, "/Volumes/Data/.TrashesOld/501/a"), "old.iso");
    EXPECT_EQ(mac.shownFor(1, "/Volumes/Data2/.Trashes/501/a"), "old.iso");

    ShredFileLine linux("/home/ann", {"/media/ann/Stick", "/mnt/backup"});
    linux.tp.infoPanel.titles = {"home", "Stick", "backup"};
    EXPECT_EQ(linux.shownFor(0, "/home/ann/.Trash/a/b c/d.txt"), "a/b c/d.txt");
    EXPECT_EQ(linux.shownFor(2, "/mnt/backup/.Trashes/54321/dir/x"), "dir/x");
    EXPECT_EQ(linux.shownFor(1, "/mnt/backup/.Trashes/54321/dir/y"), "dir/x");
    EXPECT_EQ(linux.shownFor(1, "/media/ann/Stick/.Trashes/54322/z"), "z");
}

TEST(ShredFileLine, ReportsFromAWorkerReachThePanelOnTheMainThreadInOrderWithClears)
{
    ShredFileLine line("/home/ann", {});
    line.tp.infoPanel.titles = {"home"};
    line.tp.infoPanel.selected = 0;
    std::thread worker([&] {
        line.c.volume.dispShredFileWithPath("/home/ann/.Trash/one");
        line.c.volume.dispShredFileWithPath("/home/ann/.Trash/two");
    });
    worker.join();
    EXPECT_EQ(line.tp.infoPanel.shredFile, ""); // nothing touched the panel off the main thread
    line.c.volume.clearShredFile();             // the pass ends: the clear comes last
    line.tp.mainLoop.runPosted();
    EXPECT_EQ(line.tp.infoPanel.shredFile, "");

    line.c.volume.dispShredFileWithPath("/home/ann/.Trash/three");
    line.tp.mainLoop.runPosted();
    EXPECT_EQ(line.tp.infoPanel.shredFile, "three");
    // Choosing another volume in the menu clears the line.
    line.tp.infoPanel.chooseDisk(0);
    line.tp.mainLoop.runPosted();
    EXPECT_EQ(line.tp.infoPanel.shredFile, "");
}

// Two volumes with their trashes under a temporary folder, and the home trash.
class FullPathTest : public ::testing::Test {
protected:
    FullPathTest()
    {
        tp.volumes.set({first, second});
        makeFolder(tp.trash());
        for (const auto& folder : {first + "/.Trashes/54321", first + "/.Trashes/54322", second + "/.Trashes/54321"})
            makeFolder(folder);
    }

    std::optional<DeletionItem> resolve(const std::string& name) { return c.volume.fullPathOfTrashFile(name); }

    TestPlatform tp;
    TempDir volumes;
    std::string first = volumes / "first";
    std::string second = volumes / "second";
    Controllers c{tp.platform};
};

TEST_F(FullPathTest, TheHomeTrashWinsThenEarlierVolumesAndAnyUsersFolderCounts)
{
    writeFile(tp.trash() + "/shared.txt", 10);
    writeFile(first + "/.Trashes/54321/shared.txt", 10);
    writeFile(first + "/.Trashes/54322/other-user.txt", 10);
    writeFile(first + "/.Trashes/54321/both.txt", 10);
    writeFile(second + "/.Trashes/54321/both.txt", 10);
    writeFile(second + "/.Trashes/54321/only-second", 10);

    auto item = resolve("shared.txt");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->path, tp.trash() + "/shared.txt");
    EXPECT_EQ(item->counter, c.internal.trashSizePointer());

    item = resolve("other-user.txt");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->path, first + "/.Trashes/54322/other-user.txt");
    EXPECT_EQ(item->counter, c.external.trashSizePtrAtPath(first));

    item = resolve("both.txt");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->path, first + "/.Trashes/54321/both.txt");

    item = resolve("only-second");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->counter, c.external.trashSizePtrAtPath(second));
    EXPECT_NE(item->counter, c.external.trashSizePtrAtPath(first));

    EXPECT_FALSE(resolve("nowhere.txt"));
}

TEST_F(FullPathTest, NamesThatLeaveTheTrashDanglingLinksAndLinkedTrashesAreNotFound)
{
    writeFile(tp.home / "outside.txt", 10);
    writeFile(volumes / "secret", 10);
    for (const char* name : {"", ".", "..", "../outside.txt", "1000/../../secret"})
        EXPECT_FALSE(resolve(name)) << name;

    ASSERT_EQ(symlink("/nonexistent/target", (tp.trash() + "/dangling").c_str()), 0);
    EXPECT_FALSE(resolve("dangling"));

    // A per-user folder that is a link to elsewhere is not a trash.
    makeFolder(volumes / "elsewhere");
    writeFile(volumes / "elsewhere/linked.txt", 10);
    ASSERT_EQ(symlink((volumes / "elsewhere").c_str(), (second + "/.Trashes/1002").c_str()), 0);
    EXPECT_FALSE(resolve("linked.txt"));
}

} // namespace
