#include "platform/posix/Files.h"
#include "platform/posix/TreeWalk.h"
#include "tests/support/TestPlatform.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace bw;
using namespace bw::posix;
using namespace bw::test;

namespace {

std::vector<std::string> visitOrder(const std::string& folder, const std::string& name)
{
    std::vector<std::string> order;
    WalkCallbacks callbacks;
    callbacks.visit = [&](const WalkEntry& e) {
        order.push_back(e.path());
        return WalkAction::Continue;
    };
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    walkTree(fd, folder, name, callbacks);
    close(fd);
    return order;
}

} // namespace

TEST(TreeWalk, VisitsEveryEntryOnceFolderAfterItsContent)
{
    TempDir dir;
    makeFolder(dir / "item/sub");
    writeFile(dir / "item/a", 1);
    writeFile(dir / "item/sub/b", 1);
    const auto order = visitOrder(dir.path(), "item");
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order.back(), dir / "item");
    const auto pos = [&](const std::string& p) { return std::find(order.begin(), order.end(), p) - order.begin(); };
    EXPECT_LT(pos(dir / "item/sub/b"), pos(dir / "item/sub"));
}

TEST(TreeWalk, NeverFollowsALink)
{
    TempDir dir;
    makeFolder(dir / "outside");
    writeFile(dir / "outside/secret", 1 << 16);
    makeFolder(dir / "item");
    ASSERT_EQ(symlink((dir / "outside").c_str(), (dir / "item/link").c_str()), 0);
    const auto order = visitOrder(dir.path(), "item");
    EXPECT_EQ(order, (std::vector<std::string>{dir / "item/link", dir / "item"}));
    EXPECT_LT(measuredSize(dir / "item"), 1 << 16);
}

TEST(TreeWalk, ATreeTenThousandFoldersDeepIsWalkedWithFewDescriptors)
{
    TempDir dir;
    // Built through descriptors: the path would be longer than PATH_MAX.
    int fd = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    const int top = dup(fd);
    for (int i = 0; i < 10000; ++i) {
        ASSERT_EQ(mkdirat(fd, "d", 0700), 0);
        const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = next;
    }
    const int file = openat(fd, "leaf", O_WRONLY | O_CREAT, 0600);
    ASSERT_EQ(write(file, "12345", 5), 5);
    close(file);
    close(fd);

    int folders = 0, files = 0;
    WalkCallbacks callbacks;
    callbacks.visit = [&](const WalkEntry& e) {
        (e.isDirectory() ? folders : files)++;
        return WalkAction::Continue;
    };
    EXPECT_EQ(walkTree(top, dir.path(), "d", callbacks), WalkResult::Completed);
    EXPECT_EQ(folders, 10000);
    EXPECT_EQ(files, 1);
    close(top);
    // Removal of such a tree needs the same care; the shell's tools manage it.
    EXPECT_EQ(std::system(("rm -rf " + dir.path() + "/d").c_str()), 0);
}

TEST(TreeWalk, DoesNotDescendIntoAnotherFileSystem)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting needs root";
    TempDir dir;
    makeFolder(dir / "item/mnt");
    writeFile(dir / "item/file", 10);
    if (mount("tmpfs", (dir / "item/mnt").c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    writeFile(dir / "item/mnt/inner", 100);
    const auto order = visitOrder(dir.path(), "item");
    umount((dir / "item/mnt").c_str());
    EXPECT_EQ(std::count(order.begin(), order.end(), dir / "item/mnt/inner"), 0);
    EXPECT_EQ(std::count(order.begin(), order.end(), dir / "item/mnt"), 1);
}
